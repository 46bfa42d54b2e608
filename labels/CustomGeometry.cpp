#include "labels/CustomGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace qx7 {

namespace {

// Below this a computed length (in pixels) is nothing.
constexpr double kNothing = 0.01;

double zeroIfTiny(double px)
{
    return std::abs(px) <= kNothing ? 0.0 : px;
}

// The geometry in screen pixels of the layout's view.
struct Pixels
{
    double width, length, top, bottom, left, right, labelWidth, labelHeight, columnSpace, rowSpace;
    int columns, rows;
};

class Converter
{
public:
    Converter(LayoutUnit unit, const UnitContext& ctx) : unit_(unit), ctx_(ctx) {}
    double in(double v) const { return convertUnit(v, unit_, LayoutUnit::Pixels, ctx_); }
    double out(double px) const { return convertUnit(px, LayoutUnit::Pixels, unit_, ctx_); }

    Pixels toPixels(const CustomGeometry& g) const
    {
        return {in(g.PageWidth),   in(g.PageLength),  in(g.TopMargin),        in(g.BottomMargin),
                in(g.LeftMargin),  in(g.RightMargin), in(g.LabelWidth),       in(g.LabelHeight),
                in(g.ColumnSpace), in(g.RowSpace),    std::max(g.Columns, 1), std::max(g.Rows, 1)};
    }

private:
    LayoutUnit unit_;
    UnitContext ctx_;
};

double labelWidthPx(const Pixels& p)
{
    return zeroIfTiny((p.width - p.left - p.right - (p.columns - 1) * p.columnSpace) / p.columns);
}

double labelHeightPx(const Pixels& p)
{
    return zeroIfTiny((p.length - p.top - p.bottom - (p.rows - 1) * p.rowSpace) / p.rows);
}

GeometryResult refuse(const char* message)
{
    return {false, message, false};
}

// Rewrites `field` only when the value shown changes.
bool rewrite(double& field, double value)
{
    if (formatMeasure(field) == formatMeasure(value))
        return false;
    field = value;
    return true;
}

} // namespace

CustomGeometry geometryFromPage(const TQRPage& page, LayoutUnit unit, const UnitContext& ctx)
{
    auto in = [&](double tenths) { return fromTenthsMm(tenths, unit, ctx); };
    CustomGeometry g;
    g.PaperSize = page.PaperSize;
    g.Orientation = page.Orientation;
    g.PageWidth = in(page.Width);
    g.PageLength = in(page.Length);
    g.TopMargin = in(page.TopMargin);
    g.BottomMargin = in(page.BottomMargin);
    g.LeftMargin = in(page.LeftMargin);
    g.RightMargin = in(page.RightMargin);
    g.LabelWidth = in(page.labelWidth());
    g.LabelHeight = in(page.labelHeight());
    g.Columns = std::max(page.Columns, 1);
    g.Rows = std::max(page.Rows, 1);
    g.ColumnSpace = in(page.ColumnSpace);
    g.RowSpace = in(page.RowSpace);
    return g;
}

void applyGeometry(const CustomGeometry& g, TQRPage& page, LayoutUnit unit, const UnitContext& ctx)
{
    auto out = [&](double v) { return toTenthsMm(v, unit, ctx); };
    page.Orientation = g.Orientation;
    page.setPaperSize(g.PaperSize);
    if (g.PaperSize == PaperSize::Custom) {
        page.Width = out(g.PageWidth);
        page.Length = out(g.PageLength);
    }
    page.TopMargin = out(g.TopMargin);
    page.LeftMargin = out(g.LeftMargin);
    page.RightMargin = out(g.RightMargin);
    page.BottomMargin = out(g.BottomMargin);
    page.ColumnSpace = out(g.ColumnSpace);
    page.setColumns(std::max(g.Columns, 1));
    page.RowSpace = out(g.RowSpace);
    page.setRows(std::max(g.Rows, 1));
}

GeometryResult recalculate(CustomGeometry& g, GeometryField field, LayoutUnit unit,
                           const UnitContext& ctx)
{
    const Converter conv(unit, ctx);
    CustomGeometry next = g;
    next.Columns = std::max(next.Columns, 1);
    next.Rows = std::max(next.Rows, 1);
    bool changed = false;

    if (field == GeometryField::Paper && next.PaperSize != PaperSize::Custom) {
        const PaperMetrics m = paperMetrics(next.PaperSize);
        double w = convertUnit(m.widthMm, LayoutUnit::Millimetres, unit, ctx);
        double l = convertUnit(m.lengthMm, LayoutUnit::Millimetres, unit, ctx);
        if (next.Orientation == PageOrientation::Landscape)
            std::swap(w, l);
        changed |= rewrite(next.PageWidth, w);
        changed |= rewrite(next.PageLength, l);
    }
    if (field == GeometryField::ColumnsRows) {
        if (next.Columns == 1)
            changed |= rewrite(next.ColumnSpace, 0.0);
        if (next.Rows == 1)
            changed |= rewrite(next.RowSpace, 0.0);
    }

    const Pixels p = conv.toPixels(next);
    if (field == GeometryField::LabelSize) {
        // The typed label size stays; the gaps take up what is left. A single column
        // (row) has no gap, so there the right (bottom) margin takes it.
        const double restX = p.width - p.left - p.right - p.columns * p.labelWidth;
        const double restY = p.length - p.top - p.bottom - p.rows * p.labelHeight;
        if (zeroIfTiny(restX) < 0 || zeroIfTiny(restY) < 0 || p.labelWidth <= kNothing ||
            p.labelHeight <= kNothing)
            return refuse(kLabelsTooLarge);
        if (p.columns >= 2)
            changed |= rewrite(next.ColumnSpace, conv.out(zeroIfTiny(restX / (p.columns - 1))));
        else
            changed |= rewrite(next.RightMargin, conv.out(zeroIfTiny(p.right + restX)));
        if (p.rows >= 2)
            changed |= rewrite(next.RowSpace, conv.out(zeroIfTiny(restY / (p.rows - 1))));
        else
            changed |= rewrite(next.BottomMargin, conv.out(zeroIfTiny(p.bottom + restY)));
    } else {
        if (p.top + p.bottom >= p.length || p.left + p.right >= p.width)
            return refuse(kMarginsTooLarge);
        const double w = labelWidthPx(p);
        const double h = labelHeightPx(p);
        if (field == GeometryField::Space && (w <= 1.0 || h <= 1.0))
            return refuse(kSpaceTooLarge);
        if (w <= 0 || h <= 0) {
            // The margins alone leave room: then it is the gaps that take it all.
            const bool spaces =
                (p.columns > 1 && p.columnSpace > 0) || (p.rows > 1 && p.rowSpace > 0);
            return refuse(spaces ? kSpaceTooLarge : kMarginsTooLarge);
        }
        changed |= rewrite(next.LabelWidth, conv.out(w));
        changed |= rewrite(next.LabelHeight, conv.out(h));
    }
    g = next;
    return {true, {}, changed};
}

std::string formatMeasure(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", value);
    std::string s = buf;
    return s == "-0.00" ? "0.00" : s;
}

} // namespace qx7
