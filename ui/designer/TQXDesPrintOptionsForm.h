#pragma once
// Label print options, asked before a print run: where the first label goes on a sheet
// fed again, which sheets of the run, the order, how many copies and on which printer.
// "PDF file" is always among the printers, so a run can be kept as a file.

#include "labels/TQRPage.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
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

    // Whether the user asked for the preview (the Preview button) rather than printing.
    bool previewRequested() const { return m_preview; }

private:
    QSpinBox* m_startAt;
    QSpinBox* m_pageFrom;
    QSpinBox* m_pageTo;
    QCheckBox* m_reverse;
    QSpinBox* m_copies;
    QComboBox* m_printer;
    class UsedPositionMap* m_used;
    bool m_preview = false;
};

} // namespace qx7
