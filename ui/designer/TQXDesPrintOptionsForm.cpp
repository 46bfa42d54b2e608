#include "ui/designer/TQXDesPrintOptionsForm.h"

#include "core/IniFile.h"
#include "core/Printers.h"
#include "labels/LabelFlow.h"
#include "labels/PrinterCalibration.h"
#include "labels/render/CalibrationSheet.h"
#include "labels/UsedPositions.h"
#include "ui/designer/PrinterCalibrationDialog.h"
#include "ui/designer/UsedPositionMap.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
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
    : QDialog(parent), m_page(page)
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
    auto* clearUsed = new QPushButton(tr("C&lear"), this);
    clearUsed->setObjectName(QStringLiteral("clearUsed"));
    clearUsed->setToolTip(tr("A fresh sheet: no label used"));
    connect(clearUsed, &QPushButton::clicked, this, [this] { m_used->setUsedPositions({}); });
    auto* usedRow = new QHBoxLayout;
    usedRow->addWidget(m_used);
    usedRow->addWidget(clearUsed, 0, Qt::AlignBottom);
    usedRow->addStretch(1);
    form->addRow(tr("Labels already used:"), usedRow);
    m_sheets = new QLabel(this);
    m_sheets->setObjectName(QStringLiteral("sheetCount"));
    m_sheets->hide();
    form->addRow(QString(), m_sheets);
    connect(m_used, &UsedPositionMap::changed, this, &TQXDesPrintOptionsForm::showSheetCount);
    connect(m_startAt, &QSpinBox::valueChanged, this, &TQXDesPrintOptionsForm::showSheetCount);

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
    auto* pagesLabel = new QLabel(tr("Pa&ges from:"), this);
    pagesLabel->setBuddy(m_pageFrom);
    form->addRow(pagesLabel, range);
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
    m_setupButton = new QPushButton(tr("Set&up..."), this);
    m_setupButton->setObjectName(QStringLiteral("printerSetup"));
    m_setupButton->setToolTip(tr("The printer's own settings: two-sided, colour, tray"));
    m_calibrate = new QPushButton(tr("Cali&brate..."), this);
    m_calibrate->setObjectName(QStringLiteral("calibrate"));
    m_calibrate->setToolTip(tr("Correct where this printer puts the labels"));
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printer, 1);
    printerRow->addWidget(m_setupButton);
    printerRow->addWidget(m_calibrate);
    auto* printerLabel = new QLabel(tr("Pri&nter:"), this);
    printerLabel->setBuddy(m_printer);
    form->addRow(printerLabel, printerRow);
    connect(m_printer, &QComboBox::currentIndexChanged, this,
            &TQXDesPrintOptionsForm::printerChosen);
    connect(m_calibrate, &QPushButton::clicked, this, &TQXDesPrintOptionsForm::calibrate);
    connect(m_setupButton, &QPushButton::clicked, this, &TQXDesPrintOptionsForm::setUpPrinter);
    m_testSheet = [this](const std::string& name) {
        LabelLayout layout;
        layout.Page = m_page;
        return printCalibrationSheet(layout, name);
    };
    m_setup = [this](const std::string& name, PrinterSettings& settings) {
        QPrinter device(QPrinter::HighResolution);
        device.setPrinterName(QString::fromStdString(name));
        applyPrinterSettings(device, settings);
        QPrintDialog dialog(&device, this);
        dialog.setWindowTitle(tr("Printer Setup"));
        // The labels' own choices (sheets, copies) are made here, not there.
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        settings = printerSettingsOf(device);
        return true;
    };
    printerChosen();

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
    if (o.printer != kPdfPrinterName)
        o.printerSettings = m_settings;
    return o;
}

void TQXDesPrintOptionsForm::useSettingsFile(const std::string& iniPath)
{
    m_iniPath = iniPath;
    if (m_page.UsedPositions.empty() && !iniPath.empty())
        m_used->setUsedPositions(rememberedUsedPositions(
            IniFile(iniPath), calibrationSheetName(m_page), m_page.labelsPerSheet()));
    printerChosen();
}

void TQXDesPrintOptionsForm::setLabelCount(int labels)
{
    m_labels = labels;
    showSheetCount();
}

int TQXDesPrintOptionsForm::sheetCount() const
{
    return sheetsNeeded(std::max(m_labels, 0), m_startAt->value(), m_used->usedPositions(),
                        m_page.labelsPerSheet());
}

void TQXDesPrintOptionsForm::showSheetCount()
{
    if (m_labels < 0)
        return;
    const int sheets = std::max(sheetCount(), 1);
    m_sheets->setText(
        tr("%1 label(s) in the print queue: %2 page(s) to print").arg(m_labels).arg(sheets));
    m_sheets->show();
    // The page fields reach as far as the run does; a range that took every page still
    // does.
    const bool allPages = m_pageTo->value() >= m_pageTo->maximum();
    m_pageFrom->setMaximum(sheets);
    m_pageTo->setMaximum(sheets);
    if (allPages)
        m_pageTo->setValue(sheets);
}

void TQXDesPrintOptionsForm::printerChosen()
{
    // A file is exact and has no tray: only a system printer is set up or calibrated.
    const bool system = m_printer->currentText() != QLatin1String(kPdfPrinterName);
    m_calibrate->setEnabled(system && !m_iniPath.empty());
    m_setupButton->setEnabled(system);
    m_settings = {};
}

void TQXDesPrintOptionsForm::calibrate()
{
    const std::string printer = m_printer->currentText().toStdString();
    PrinterCalibrationDialog dialog(
        m_iniPath, printer, calibrationSheetName(m_page),
        [this, printer] { return m_testSheet ? m_testSheet(printer) : std::string("no printer"); },
        this);
    dialog.exec();
}

void TQXDesPrintOptionsForm::setUpPrinter()
{
    PrinterSettings chosen = m_settings;
    if (m_setup && m_setup(m_printer->currentText().toStdString(), chosen))
        m_settings = chosen;
}

} // namespace qx7
