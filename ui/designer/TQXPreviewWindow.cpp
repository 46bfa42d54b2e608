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
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace qx7 {

TQXPreviewWindow::TQXPreviewWindow(const LabelLayout& layout, const std::string& imageFolder,
                                   LabelSource& source, QWidget* parent)
    : QDialog(parent), m_run(layout), m_imageFolder(imageFolder), m_source(source)
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

    // Where every label goes is quick to know; drawing waits for the page to be shown.
    m_plan = planLabels(m_source.count(), m_run.Page);
    for (size_t i = 0; i < m_plan.size(); ++i)
        if (m_pageSheets.empty() || m_plan[i].sheet != m_pageSheets.back()) {
            m_pageSheets.push_back(m_plan[i].sheet);
            m_pageStart.push_back(i);
        }
    m_pageStart.push_back(m_plan.size());

    // Texts cut by their elements would go to the printer that way: they are looked for
    // a few labels at a time while the window is open, and said plainly.
    m_scan = std::make_unique<CutLabelScan>(m_run, m_imageFolder, m_source, 96);
    m_scanTimer = new QTimer(this);
    m_scanTimer->setInterval(0);
    connect(m_scanTimer, &QTimer::timeout, this, &TQXPreviewWindow::scanForCutLabels);
    m_scanTimer->start();

    showPage(1);
    print->setEnabled(m_error.empty() && pageCount() > 0);
}

TQXPreviewWindow::~TQXPreviewWindow() = default;

void TQXPreviewWindow::scanForCutLabels()
{
    const size_t before = m_scan->cutLabels().size();
    if (m_scan->step(100))
        m_scanTimer->stop();
    if (m_scan->cutLabels().size() != before)
        showCutNote();
}

void TQXPreviewWindow::showCutNote()
{
    const auto& cut = m_scan->cutLabels();
    if (cut.empty())
        return;
    m_cutNote->setText(tr("%1 label(s) with text cut off (framed in red)").arg(cut.size()));
    m_cutNote->setToolTip(cutLabelTexts().join(QLatin1Char('\n')));
    m_cutNote->show();
}

int TQXPreviewWindow::cutLabelCount()
{
    while (!m_scan->step(1000)) {
    }
    m_scanTimer->stop();
    showCutNote();
    return static_cast<int>(m_scan->cutLabels().size());
}

QStringList TQXPreviewWindow::cutLabelTexts()
{
    if (!m_scan->done())
        cutLabelCount();
    QStringList texts;
    for (const auto& c : m_scan->cutLabels()) {
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

QImage TQXPreviewWindow::drawPage(int page)
{
    PngSheetOutput output(m_run, m_imageFolder, std::string(), 96, true);
    const size_t first = m_pageStart[size_t(page - 1)], end = m_pageStart[size_t(page)];
    if (!output.beginSheet(m_plan[first].sheet)) {
        m_error = output.errorText();
        return {};
    }
    for (size_t i = first; i < end; ++i)
        output.drawLabel(m_source.record(m_plan[i].record), m_plan[i]);
    if (!output.endSheet()) {
        m_error = output.errorText();
        return {};
    }
    ++m_pagesDrawn;
    return output.image();
}

QImage TQXPreviewWindow::pageImage(int page)
{
    if (page < 1 || page > pageCount())
        return {};
    if (auto found = m_drawn.find(page); found != m_drawn.end())
        return found->second;
    QImage image = drawPage(page);
    // A page or two either side of the one shown is all a reader turns back to.
    for (auto it = m_drawn.begin(); it != m_drawn.end();)
        it = std::abs(it->first - page) > 2 ? m_drawn.erase(it) : std::next(it);
    if (!image.isNull())
        m_drawn[page] = image;
    return image;
}

void TQXPreviewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_page > 0)
        showPage(m_page);
}

void TQXPreviewWindow::showPage(int page)
{
    const QImage sheet = pageCount() > 0 ? pageImage(std::clamp(page, 1, pageCount())) : QImage();
    if (sheet.isNull()) {
        m_page = 0;
        m_status->setText(m_error.empty() ? tr("No labels to print")
                                          : QString::fromStdString(m_error));
    } else {
        m_page = std::clamp(page, 1, pageCount());
        // The whole sheet width in view; the picture keeps its proportions.
        const int width = std::max(200, this->width() - 60);
        m_picture->setPixmap(QPixmap::fromImage(
            sheet.width() > width ? sheet.scaledToWidth(width, Qt::SmoothTransformation) : sheet));
        m_status->setText(tr("Page %1 of %2").arg(m_page).arg(pageCount()));
    }
    m_prev->setEnabled(m_page > 1);
    m_next->setEnabled(m_page > 0 && m_page < pageCount());
}

} // namespace qx7
