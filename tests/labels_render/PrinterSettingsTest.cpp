// What a printer's setup dialog chose reaches the printer a run prints on.

#include "labels/render/PrinterSettings.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(PrinterSettings, ChoicesGoIntoThePrinterAndComeBack)
{
    QPrinter printer(QPrinter::HighResolution);
    // No printer needed for the values; a PDF printer has no second side, so duplex is
    // only checked where the printer takes it.
    printer.setOutputFormat(QPrinter::PdfFormat);
    const bool twoSided = printer.outputFormat() == QPrinter::NativeFormat;
    const PrinterSettings none;
    EXPECT_TRUE(none.empty());
    printer.setColorMode(QPrinter::Color);
    applyPrinterSettings(printer, none);
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);

    PrinterSettings s;
    s.duplex = PrinterSettings::Duplex::ShortSide;
    s.grayscale = true;
    s.resolution = 600;
    applyPrinterSettings(printer, s);
    if (twoSided) {
        EXPECT_EQ(printer.duplex(), QPrinter::DuplexShortSide);
    }
    EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);
    EXPECT_EQ(printer.resolution(), 600);
    const PrinterSettings back = printerSettingsOf(printer);
    if (twoSided) {
        EXPECT_EQ(back.duplex, s.duplex);
    }
    EXPECT_EQ(back.grayscale, s.grayscale);
    EXPECT_EQ(back.resolution, s.resolution);

    // Only what was chosen changes.
    PrinterSettings colourOnly;
    colourOnly.grayscale = false;
    applyPrinterSettings(printer, colourOnly);
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);
    EXPECT_EQ(printer.resolution(), 600);
}

TEST(PrinterSettings, DuplexWords)
{
    PrinterSettings::Duplex d{};
    EXPECT_EQ(parseDuplex("long", d), "");
    EXPECT_EQ(d, PrinterSettings::Duplex::LongSide);
    EXPECT_EQ(parseDuplex("short", d), "");
    EXPECT_EQ(d, PrinterSettings::Duplex::ShortSide);
    EXPECT_EQ(parseDuplex("none", d), "");
    EXPECT_EQ(d, PrinterSettings::Duplex::None);
    EXPECT_EQ(parseDuplex("both", d), "\"both\" is not a duplex mode (none, long or short).");
}

} // namespace
} // namespace qx7
