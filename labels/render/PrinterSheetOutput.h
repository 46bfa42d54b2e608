#pragma once
// Printing on a real printer, without a dialog: the layout's paper and orientation,
// no margins added, the sheet drawn from the paper's corner. Every sheet is a job of
// its own: once the spooler has it, its labels are printed whatever happens to the
// rest of the run, so they are marked at once and a stopped run never prints them again.

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
    bool endSheet() override;
    bool finish() override { return m_error.empty(); }
    bool marksPrinted() const override { return true; }
    bool sheetFinalWhenEnded() const override { return true; }

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace qx7
