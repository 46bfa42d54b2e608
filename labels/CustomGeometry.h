#pragma once
// The custom geometry of a label sheet as the layout settings wizard edits it: paper,
// margins, label size, grid and spaces. Leaving one field recomputes the ones that
// depend on it; a combination that leaves no room for the labels is refused with a
// message and changes nothing.

#include "labels/PaperSize.h"
#include "labels/TQRPage.h"
#include "labels/Units.h"

#include <string>

namespace qx7 {

inline constexpr const char* kMarginsTooLarge = "Error: Margins greater than page size!";
inline constexpr const char* kSpaceTooLarge = "Error: Space greater than label size!";
inline constexpr const char* kLabelsTooLarge = "Error: Labels greater than page size!";

// Every length in the layout's unit, as the wizard shows them.
struct CustomGeometry
{
    qx7::PaperSize PaperSize = qx7::PaperSize::A4;
    PageOrientation Orientation = PageOrientation::Portrait;
    double PageWidth = 0; // as the paper lies (swapped in landscape)
    double PageLength = 0;
    double TopMargin = 0;
    double BottomMargin = 0;
    double LeftMargin = 0;
    double RightMargin = 0;
    double LabelWidth = 0;
    double LabelHeight = 0;
    int Columns = 1;
    int Rows = 1;
    double ColumnSpace = 0;
    double RowSpace = 0;

    bool operator==(const CustomGeometry&) const = default;
};

// The field the user just left.
enum class GeometryField
{
    Margin,
    LabelSize,
    Space,
    ColumnsRows,
    Paper
};

struct GeometryResult
{
    bool ok = true;
    std::string error;    // one of the messages above when !ok
    bool changed = false; // a dependent field was rewritten (shown with two decimals)
};

// A layout's page in `unit`, with the label size derived from it (0 when negative).
CustomGeometry geometryFromPage(const TQRPage& page, LayoutUnit unit, const UnitContext& ctx = {});
// Writes paper, orientation, margins, grid and spaces back into the page.
void applyGeometry(const CustomGeometry& g, TQRPage& page, LayoutUnit unit,
                   const UnitContext& ctx = {});

// Recomputes what depends on `field`. The arithmetic runs in screen pixels of the
// layout's view; a width, height or space of 0.01 pixel or less counts as 0. On an
// error `g` is left exactly as it was.
GeometryResult recalculate(CustomGeometry& g, GeometryField field, LayoutUnit unit,
                           const UnitContext& ctx = {});

// "##0.00": how every measure is shown.
std::string formatMeasure(double value);

} // namespace qx7
