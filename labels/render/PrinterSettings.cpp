#include "labels/render/PrinterSettings.h"

#include <QPrinter>

namespace qx7 {

void applyPrinterSettings(QPrinter& printer, const PrinterSettings& settings)
{
    if (settings.duplex) {
        switch (*settings.duplex) {
        case PrinterSettings::Duplex::None:
            printer.setDuplex(QPrinter::DuplexNone);
            break;
        case PrinterSettings::Duplex::LongSide:
            printer.setDuplex(QPrinter::DuplexLongSide);
            break;
        case PrinterSettings::Duplex::ShortSide:
            printer.setDuplex(QPrinter::DuplexShortSide);
            break;
        }
    }
    if (settings.grayscale)
        printer.setColorMode(*settings.grayscale ? QPrinter::GrayScale : QPrinter::Color);
    if (settings.paperSource)
        printer.setPaperSource(QPrinter::PaperSource(*settings.paperSource));
    if (settings.resolution && *settings.resolution > 0)
        printer.setResolution(*settings.resolution);
}

PrinterSettings printerSettingsOf(const QPrinter& printer)
{
    PrinterSettings s;
    switch (printer.duplex()) {
    case QPrinter::DuplexLongSide:
        s.duplex = PrinterSettings::Duplex::LongSide;
        break;
    case QPrinter::DuplexShortSide:
        s.duplex = PrinterSettings::Duplex::ShortSide;
        break;
    default: // "auto" is the printer's default, which is no choice of the user's
        s.duplex = PrinterSettings::Duplex::None;
        break;
    }
    s.grayscale = printer.colorMode() == QPrinter::GrayScale;
    s.paperSource = int(printer.paperSource());
    s.resolution = printer.resolution();
    return s;
}

std::string parseDuplex(const std::string& word, PrinterSettings::Duplex& duplex)
{
    if (word == "none")
        duplex = PrinterSettings::Duplex::None;
    else if (word == "long")
        duplex = PrinterSettings::Duplex::LongSide;
    else if (word == "short")
        duplex = PrinterSettings::Duplex::ShortSide;
    else
        return "\"" + word + "\" is not a duplex mode (none, long or short).";
    return {};
}

} // namespace qx7
