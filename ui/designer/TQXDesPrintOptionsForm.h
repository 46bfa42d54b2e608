#pragma once
// Label print options, asked before a print run: where the first label goes on a sheet
// fed again, which sheets of the run, the order, how many copies and on which printer.
// "PDF file" is always among the printers, so a run can be kept as a file.

#include "labels/render/PrinterSettings.h"
#include "labels/TQRPage.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qx7 {

struct PrintOptions
{
    int startAt = 1;
    int pageFrom = 1;
    int pageTo = 9999;
    bool reverse = false;
    int copies = 1;
    std::string printer; // "PDF file" or a system printer
    // Positions of the first sheet already used (clicked on the sheet's picture).
    std::vector<int> usedPositions;
    // What the printer's own setup dialog chose (duplex, colour, ...); none: its defaults.
    PrinterSettings printerSettings;

    // Puts the run values into a layout's page.
    void applyTo(TQRPage& page) const;
};

class TQXDesPrintOptionsForm : public QDialog
{
    Q_OBJECT
public:
    // `printers` are the system's; "PDF file" is added when missing.
    TQXDesPrintOptionsForm(const TQRPage& page, std::vector<std::string> printers,
                           const std::string& printer, QWidget* parent = nullptr);

    PrintOptions options() const;

    // The settings file: the used positions remembered for the layout's sheet type are
    // shown (unless the page names some already), and printers can be calibrated.
    void useSettingsFile(const std::string& iniPath);
    // The queue's label count: shown with the sheets the run takes.
    void setLabelCount(int labels);
    // Sheets the run takes with the start position and used labels chosen now.
    int sheetCount() const;

    // How the calibration dialog's test sheet is printed (tests put a stand-in here).
    using TestSheetPrinter = std::function<std::string(const std::string& printer)>;
    void setTestSheetPrinter(TestSheetPrinter print) { m_testSheet = std::move(print); }
    // How the printer's setup dialog is shown; answers false when it was cancelled.
    using PrinterSetup = std::function<bool(const std::string& printer, PrinterSettings&)>;
    void setPrinterSetup(PrinterSetup setup) { m_setup = std::move(setup); }

    // Whether the user asked for the preview (the Preview button) rather than printing.
    bool previewRequested() const { return m_preview; }

private:
    void printerChosen();
    void showSheetCount();
    void calibrate();
    void setUpPrinter();

    TQRPage m_page;
    std::string m_iniPath;
    int m_labels = -1;
    TestSheetPrinter m_testSheet;
    PrinterSetup m_setup;
    PrinterSettings m_settings;
    QSpinBox* m_startAt;
    QSpinBox* m_pageFrom;
    QSpinBox* m_pageTo;
    QCheckBox* m_reverse;
    QSpinBox* m_copies;
    QComboBox* m_printer;
    class UsedPositionMap* m_used;
    QLabel* m_sheets;
    QPushButton* m_calibrate;
    QPushButton* m_setupButton;
    bool m_preview = false;
};

} // namespace qx7
