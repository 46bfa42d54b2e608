#pragma once
// Measures of a layout: every length is kept in tenths of a millimetre and shown in
// the layout's unit. Pixels depend on the screen and the design zoom, characters on
// the layout's font, so a conversion needs that context.

#include <optional>
#include <string>
#include <string_view>

namespace qx7 {

enum class LayoutUnit
{
    Millimetres = 0,
    Inches = 1,
    Pixels = 2,
    Characters = 3
};

struct UnitContext
{
    double screenPixelsPerInch = 96.0;
    int zoomPercent = 100;
    double fontPointSize = 10.0;
    bool across = true; // characters: across the line, or line heights down
};

double toTenthsMm(double value, LayoutUnit from, const UnitContext& ctx = {});
double fromTenthsMm(double tenths, LayoutUnit to, const UnitContext& ctx = {});
double convertUnit(double value, LayoutUnit from, LayoutUnit to, const UnitContext& ctx = {});

// "mm", "Inches", "Pixels", "Chars": the captions beside measures.
std::string unitCaption(LayoutUnit unit);
// The names layout files use: "mm", "inches", "pixels", "characters".
std::string unitName(LayoutUnit unit);
std::optional<LayoutUnit> unitFromName(std::string_view name);

} // namespace qx7
