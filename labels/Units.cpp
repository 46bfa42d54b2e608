#include "labels/Units.h"

#include "core/IniFile.h"

namespace qx7 {

namespace {

// Tenths of a millimetre in one unit.
double tenthsPerUnit(LayoutUnit unit, const UnitContext& ctx)
{
    switch (unit) {
    case LayoutUnit::Millimetres:
        return 10.0;
    case LayoutUnit::Inches:
        return 254.0;
    case LayoutUnit::Pixels: {
        // A design pixel covers less paper the more the view is zoomed in.
        const double ppi = ctx.screenPixelsPerInch > 0 ? ctx.screenPixelsPerInch : 96.0;
        const double zoom = ctx.zoomPercent > 0 ? ctx.zoomPercent : 100;
        return 254.0 / ppi * 100.0 / zoom;
    }
    case LayoutUnit::Characters: {
        // Characters per centimetre at the font's size: 80 across, 145.3 down per
        // point-inch, the proportions of a typewriter page.
        const double size = ctx.fontPointSize > 0 ? ctx.fontPointSize : 10.0;
        const double perCm = (ctx.across ? 80.0 : 145.3) / size / 2.54;
        return 100.0 / perCm;
    }
    }
    return 10.0;
}

} // namespace

double toTenthsMm(double value, LayoutUnit from, const UnitContext& ctx)
{
    return value * tenthsPerUnit(from, ctx);
}

double fromTenthsMm(double tenths, LayoutUnit to, const UnitContext& ctx)
{
    return tenths / tenthsPerUnit(to, ctx);
}

double convertUnit(double value, LayoutUnit from, LayoutUnit to, const UnitContext& ctx)
{
    if (from == to)
        return value;
    return fromTenthsMm(toTenthsMm(value, from, ctx), to, ctx);
}

std::string unitCaption(LayoutUnit unit)
{
    switch (unit) {
    case LayoutUnit::Millimetres:
        return "mm";
    case LayoutUnit::Inches:
        return "Inches";
    case LayoutUnit::Pixels:
        return "Pixels";
    case LayoutUnit::Characters:
        return "Chars";
    }
    return "mm";
}

std::string unitName(LayoutUnit unit)
{
    switch (unit) {
    case LayoutUnit::Millimetres:
        return "mm";
    case LayoutUnit::Inches:
        return "inches";
    case LayoutUnit::Pixels:
        return "pixels";
    case LayoutUnit::Characters:
        return "characters";
    }
    return "mm";
}

std::optional<LayoutUnit> unitFromName(std::string_view name)
{
    for (auto u :
         {LayoutUnit::Millimetres, LayoutUnit::Inches, LayoutUnit::Pixels, LayoutUnit::Characters})
        if (equalsIgnoreCase(unitName(u), name))
            return u;
    return std::nullopt;
}

} // namespace qx7
