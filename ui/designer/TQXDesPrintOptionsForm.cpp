#include "ui/designer/TQXDesPrintOptionsForm.h"

#include "core/Printers.h"
#include "ui/designer/UsedPositionMap.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace qx7 {

void PrintOptions::applyTo(TQRPage& page) const
{
    page.StartAt = static_cast<std::uint16_t>(std::clamp(startAt, 1, page.labelsPerSheet()));
    page.PageFrom = static_cast<std::uint16_t>(std::clamp(pageFrom, 1, 9999));
    page.PageTo = static_cast<std::uint16_t>(std::clamp(pageTo, int(page.PageFrom), 9999));
    page.Reverse = reverse;
    page.UsedPositions.clear();
    for (int p : usedPositions)
        if (p >= 1 && p <= page.labelsPerSheet())
            page.UsedPositions.push_back(p);
}

TQXDesPrintOptionsForm::TQXDesPrintOptionsForm(const TQRPage& page,
                                               std::vector<std::string> printers,
                                               const std::string& printer, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TQXDesPrintOptionsForm"));
    setWindowTitle(tr("Label Print Options"));
    auto* form = new QFormLayout;

    m_startAt = new QSpinBox(this);
    m_startAt->setObjectName(QStringLiteral("startAt"));
    m_startAt->setRange(1, std::max(1, page.labelsPerSheet()));
    m_startAt->setValue(std::clamp(int(page.StartAt), 1, std::max(1, page.labelsPerSheet())));
    form->addRow(tr("&Start at label:"), m_startAt);
    auto* counted = new QLabel(
        tr("(%1 labels a sheet, counted down each column)").arg(page.labelsPerSheet()), this);
    form->addRow(QString(), counted);
    m_used = new UsedPositionMap(page.Columns, page.Rows, this);
    m_used->setUsedPositions(page.UsedPositions);
    m_used->setFixedSize(m_used->sizeHint());
    form->addRow(tr("Labels already used:"), m_used);

    m_pageFrom = new QSpinBox(this);
    m_pageFrom->setObjectName(QStringLiteral("pageFrom"));
    m_pageFrom->setRange(1, 9999);
    m_pageFrom->setValue(page.PageFrom);
    m_pageTo = new QSpinBox(this);
    m_pageTo->setObjectName(QStringLiteral("pageTo"));
    m_pageTo->setRange(1, 9999);
    m_pageTo->setValue(page.PageTo);
    auto* range = new QHBoxLayout;
    range->addWidget(m_pageFrom);
    range->addWidget(new QLabel(tr("to"), this));
    range->addWidget(m_pageTo);
    form->addRow(tr("Pages from:"), range);
    // A range the wrong way round would print nothing; the other end follows.
    connect(m_pageFrom, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_pageTo->value() < v)
            m_pageTo->setValue(v);
    });
    connect(m_pageTo, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_pageFrom->value() > v)
            m_pageFrom->setValue(v);
    });

    m_reverse = new QCheckBox(tr("&Reverse order (last label first)"), this);
    m_reverse->setObjectName(QStringLiteral("reverse"));
    m_reverse->setChecked(page.Reverse);
    form->addRow(QString(), m_reverse);

    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 99);
    form->addRow(tr("&Copies:"), m_copies);

    m_printer = new QComboBox(this);
    m_printer->setObjectName(QStringLiteral("printer"));
    if (std::find(printers.begin(), printers.end(), kPdfPrinterName) == printers.end())
        printers.emplace_back(kPdfPrinterName);
    for (const std::string& p : printers)
        m_printer->addItem(QString::fromStdString(p));
    const int current = m_printer->findText(QString::fromStdString(printer));
    m_printer->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow(tr("P&rinter:"), m_printer);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Print"));
    QPushButton* preview = buttons->addButton(tr("Pre&view"), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("previewButton"));
    addHelpButton(*buttons, help::kPrintOptions);
    connect(preview, &QPushButton::clicked, this, [this] {
        m_preview = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PrintOptions TQXDesPrintOptionsForm::options() const
{
    PrintOptions o;
    o.startAt = m_startAt->value();
    o.pageFrom = m_pageFrom->value();
    o.pageTo = m_pageTo->value();
    o.reverse = m_reverse->isChecked();
    o.copies = m_copies->value();
    o.printer = m_printer->currentText().toStdString();
    o.usedPositions = m_used->usedPositions();
    return o;
}

} // namespace qx7
