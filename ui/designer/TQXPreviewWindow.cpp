#include "ui/designer/TQXPreviewWindow.h"

#include "core/Progress.h"
#include "labels/render/PngSheetOutput.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace qx7 {

TQXPreviewWindow::TQXPreviewWindow(const LabelLayout& layout, const std::string& imageFolder,
                                   LabelSource& source, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TQXPreviewWindow"));
    setWindowTitle(tr("Print Preview"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("pagePicture"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pageStatus"));
    m_cutNote = new QLabel(this);
    m_cutNote->setObjectName(QStringLiteral("cutLabels"));
    m_cutNote->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_cutNote->hide();
    m_prev = new QPushButton(tr("&Previous page"), this);
    m_prev->setObjectName(QStringLiteral("previousPage"));
    m_next = new QPushButton(tr("&Next page"), this);
    m_next->setObjectName(QStringLiteral("nextPage"));
    connect(m_prev, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    new QShortcut(QKeySequence(Qt::Key_PageDown), this, [this] { showPage(m_page + 1); });
    new QShortcut(QKeySequence(Qt::Key_PageUp), this, [this] { showPage(m_page - 1); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(tr("P&rint"), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("printButton"));
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_prev);
    bar->addWidget(m_next);
    bar->addWidget(m_status);
    bar->addWidget(m_cutNote, 1);
    bar->addWidget(buttons);
    auto* box = new QVBoxLayout(this);
    box->addLayout(bar);
    box->addWidget(m_scroll, 1);
    resize(760, 900);

    // Drawn by the printer's renderer into pictures at screen resolution.
    if (!m_dir.isValid()) {
        m_error = "no temporary folder for the preview";
    } else {
        LabelLayout run = layout;
        PngSheetOutput output(run, imageFolder, m_dir.path().toStdString(), 96, true);
        NullProgress progress;
        const LabelRunResult r = runLabels(source, run.Page, output, progress);
        if (r.failed)
            m_error = r.error;
        m_files = output.files();
        m_cut = output.cutLabels();
    }
    // Texts cut by their elements would go to the printer that way: say so plainly.
    if (!m_cut.empty()) {
        m_cutNote->setText(tr("%1 label(s) with text cut off (framed in red)").arg(m_cut.size()));
        m_cutNote->setToolTip(cutLabelTexts().join(QLatin1Char('\n')));
        m_cutNote->show();
    }
    print->setEnabled(m_error.empty() && !m_files.empty());
    showPage(1);
}

QStringList TQXPreviewWindow::cutLabelTexts() const
{
    QStringList texts;
    for (const auto& c : m_cut) {
        QStringList names;
        for (const std::string& n : c.elements)
            names << QString::fromStdString(n);
        texts << tr("Page %1, column %2, row %3: %4")
                     .arg(c.sheet)
                     .arg(c.column + 1)
                     .arg(c.row + 1)
                     .arg(names.join(QStringLiteral(", ")));
    }
    return texts;
}

QImage TQXPreviewWindow::pageImage(int page) const
{
    if (page < 1 || page > pageCount())
        return {};
    return QImage(QString::fromStdString(m_files[size_t(page - 1)]));
}

void TQXPreviewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_page > 0)
        showPage(m_page);
}

void TQXPreviewWindow::showPage(int page)
{
    if (m_files.empty()) {
        m_page = 0;
        m_status->setText(m_error.empty() ? tr("No labels to print")
                                          : QString::fromStdString(m_error));
    } else {
        m_page = std::clamp(page, 1, pageCount());
        // The whole sheet width in view; the picture keeps its proportions.
        const QPixmap sheet(QString::fromStdString(m_files[size_t(m_page - 1)]));
        const int width = std::max(200, this->width() - 60);
        m_picture->setPixmap(
            sheet.width() > width ? sheet.scaledToWidth(width, Qt::SmoothTransformation) : sheet);
        m_status->setText(tr("Page %1 of %2").arg(m_page).arg(pageCount()));
    }
    m_prev->setEnabled(m_page > 1);
    m_next->setEnabled(m_page < pageCount());
}

} // namespace qx7
