#pragma once
// What the user chose in a printer's own setup dialog beyond the printer itself: two-
// sided printing, colour or grey, the paper tray and the resolution. Each is kept only
// when chosen, so a run without a setup prints with the printer's own defaults.

#include <optional>
#include <string>

class QPrinter;

namespace qx7 {

struct PrinterSettings
{
    enum class Duplex
    {
        None,
        LongSide,
        ShortSide
    };
    std::optional<Duplex> duplex;
    std::optional<bool> grayscale;
    std::optional<int> paperSource; // QPrinter::PaperSource
    std::optional<int> resolution;  // dots per inch

    bool empty() const { return !duplex && !grayscale && !paperSource && !resolution; }
    bool operator==(const PrinterSettings&) const = default;
};

// Puts the chosen settings into `printer`; the others stay as the printer has them.
void applyPrinterSettings(QPrinter& printer, const PrinterSettings& settings);
// Everything `printer` is set to, as after its setup dialog.
PrinterSettings printerSettingsOf(const QPrinter& printer);

// "none", "long", "short" (the command line's words); empty message when understood.
std::string parseDuplex(const std::string& word, PrinterSettings::Duplex& duplex);

} // namespace qx7
