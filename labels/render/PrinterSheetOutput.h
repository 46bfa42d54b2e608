#pragma once
// Printing on a real printer, without a dialog: the layout's paper and orientation,
// no margins added, the sheet drawn from the paper's corner.

#include "labels/render/PainterSheetOutput.h"

#include <memory>

class QPrinter;

namespace qx7 {

class PrinterSheetOutput : public PainterSheetOutput
{
public:
    // An empty name is the system's default printer.
    PrinterSheetOutput(const LabelLayout& layout, std::string imageFolder,
                       const std::string& printerName);
    ~PrinterSheetOutput() override;

    bool beginSheet(int sheet) override;
    void endSheet() override {}
    bool finish() override;
    bool marksPrinted() const override { return true; }

private:
    std::unique_ptr<QPrinter> m_printer;
    bool m_started = false;
};

} // namespace qx7
