#include "labels/render/LabelOutput.h"

#include "labels/render/PdfSheetOutput.h"
#include "labels/render/PngSheetOutput.h"
#include "labels/render/PrinterSheetOutput.h"

#include <QPrinterInfo>

namespace qx7 {

std::unique_ptr<LabelSheetOutput> makeSheetOutput(const LabelLayout& layout,
                                                  const std::string& imageFolder,
                                                  const LabelOutputTarget& target)
{
    switch (target.kind) {
    case LabelOutputTarget::Kind::PdfFile:
        return std::make_unique<PdfSheetOutput>(layout, imageFolder, target.path);
    case LabelOutputTarget::Kind::Pictures:
        return std::make_unique<PngSheetOutput>(layout, imageFolder, target.path,
                                                target.pictureDpi);
    case LabelOutputTarget::Kind::Printer:
        break;
    }
    auto printer = std::make_unique<PrinterSheetOutput>(layout, imageFolder, target.printerName);
    printer->setCopies(target.copies);
    printer->setCalibration(target.calibration);
    printer->setSettings(target.settings);
    return printer;
}

std::string currentPrinterName()
{
    return QPrinterInfo::defaultPrinterName().toStdString();
}

} // namespace qx7
