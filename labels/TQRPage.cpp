#include "labels/TQRPage.h"

#include "labels/LabelFormatRec.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qx7 {

std::array<double, 10> TQRPage::values() const
{
    return {BottomMargin, Length,      TopMargin, Width,        LeftMargin,
            RightMargin,  ColumnSpace, RowSpace,  QSOLineSpace, FooterLineSpace};
}

void TQRPage::setValues(const std::array<double, 10>& v)
{
    BottomMargin = v[0];
    Length = v[1];
    TopMargin = v[2];
    Width = v[3];
    LeftMargin = v[4];
    RightMargin = v[5];
    ColumnSpace = v[6];
    RowSpace = v[7];
    QSOLineSpace = v[8];
    FooterLineSpace = v[9];
}

void TQRPage::setPaperSize(qx7::PaperSize size)
{
    PaperSize = size;
    if (size == qx7::PaperSize::Custom)
        return;
    const PaperMetrics m = paperMetrics(size);
    Width = m.widthMm * 10.0;
    Length = m.lengthMm * 10.0;
    if (Orientation == PageOrientation::Landscape)
        std::swap(Width, Length);
}

void TQRPage::setOrientation(PageOrientation orientation)
{
    if (orientation == Orientation)
        return;
    Orientation = orientation;
    std::swap(Width, Length);
}

void TQRPage::setRows(int rows)
{
    if (rows > 0 && rows != Rows)
        Rows = rows;
}

void TQRPage::setColumns(int columns)
{
    if (columns > 0)
        Columns = columns;
}

namespace {

// Centimetres with a decimal comma leave binary noise (45.69999...); a hundredth of a
// micrometre is finer than any sheet is made.
double tenths(double mm)
{
    return std::round(mm * 1e5) / 1e4;
}

} // namespace

void TQRPage::applySheet(const SheetGeometry& g)
{
    PaperSize = g.paper;
    Orientation = g.landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
    Width = tenths(g.paperWidth);
    Length = tenths(g.paperLength);
    TopMargin = tenths(g.topMargin);
    BottomMargin = tenths(g.bottomMargin);
    LeftMargin = tenths(g.leftMargin);
    RightMargin = tenths(g.rightMargin);
    setColumns(g.columns);
    setRows(g.rows);
    ColumnSpace = tenths(g.columnSpace);
    RowSpace = tenths(g.rowSpace);
}

double TQRPage::labelWidth() const
{
    const int columns = std::max(Columns, 1);
    return std::max(0.0,
                    (Width - LeftMargin - RightMargin - ColumnSpace * (columns - 1)) / columns);
}

double TQRPage::labelHeight() const
{
    const int rows = std::max(Rows, 1);
    return std::max(0.0, (Length - TopMargin - BottomMargin - RowSpace * (rows - 1)) / rows);
}

} // namespace qx7
