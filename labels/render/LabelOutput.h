#pragma once
// Chooses where a print run goes: a printer by name (the current printer when none is
// named), the "PDF file" printer writing to a path, or preview pictures in a folder.

#include "labels/LabelFlow.h"
#include "labels/LabelLayout.h"
#include "labels/PrinterCalibration.h"
#include "labels/render/PrinterSettings.h"

#include <memory>
#include <string>

namespace qx7 {

struct LabelOutputTarget
{
    enum class Kind
    {
        Printer,
        PdfFile,
        Pictures
    };
    Kind kind = Kind::Printer;
    std::string printerName; // Printer: empty for the current (default) printer
    int copies = 1;          // Printer: copies of every sheet
    std::string path;        // PdfFile: the file; Pictures: the folder
    int pictureDpi = 150;
    // Printer: the printer's measured error, undone on every sheet. Files never take one.
    PrinterCalibration calibration;
    // Printer: what its setup dialog (or the command line) chose.
    PrinterSettings settings;
};

// `imageFolder` resolves relative picture names (the layout's folder).
std::unique_ptr<LabelSheetOutput> makeSheetOutput(const LabelLayout& layout,
                                                  const std::string& imageFolder,
                                                  const LabelOutputTarget& target);

// The system's default printer, empty when there is none.
std::string currentPrinterName();

} // namespace qx7
