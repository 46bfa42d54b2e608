#pragma once
// The paper sizes a layout can name. The numbering is the one layouts and the sheet
// catalogue store (Default first, Custom last at 27), so it must never be reordered.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

enum class PaperSize : unsigned char
{
    Default = 0,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    Size10x14,
    Size11x17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom = 27
};

inline constexpr int kPaperSizeCount = 28;

struct PaperMetrics
{
    double widthMm;  // portrait
    double lengthMm; // portrait
};

// Millimetres of a standard paper in portrait. "Default" is the printer's own paper,
// which is A4 wherever no printer says otherwise; Custom has no metrics of its own
// and answers A4 too (its size lives in the layout).
PaperMetrics paperMetrics(PaperSize size);

// The name shown in lists and written into layout files ("A4", "Letter", "Custom").
std::string paperSizeName(PaperSize size);
// Case-insensitive; also accepts the number as text.
std::optional<PaperSize> paperSizeFromName(std::string_view name);

// Every size but Default, sorted by name, as the paper list offers them.
std::vector<PaperSize> selectablePaperSizes();

} // namespace qx7
