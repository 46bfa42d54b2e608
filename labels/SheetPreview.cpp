#include "labels/SheetPreview.h"

#include <algorithm>
#include <cmath>

namespace qx7 {

std::vector<PreviewStep> sheetPreview(const SheetGeometry& g, int width, int height, double ppi)
{
    const auto pixels = [&](double mm) { return mm / 25.4 * ppi; };
    const double paperW = pixels(g.paperWidth), paperH = pixels(g.paperLength);
    double s = paperH > 0 ? (height - 3) / paperH : 0;
    if (paperW > 0 && (width - 3) / paperW < s)
        s = (width - 3) / paperW;
    s *= 0.95;
    const auto scaled = [&](double mm) { return static_cast<int>(std::lround(pixels(mm) * s)); };
    const int left = scaled(g.leftMargin), right = scaled(g.rightMargin);
    const int top = scaled(g.topMargin), bottom = scaled(g.bottomMargin);
    const int lw = scaled(g.labelWidth), lh = scaled(g.labelHeight);
    const int cs = scaled(g.columnSpace), rs = scaled(g.rowSpace);
    const int columns = std::max(g.columns, 1), rows = std::max(g.rows, 1);
    const int pageRight = left + columns * lw + (columns - 1) * cs + right;
    const int pageBottom = top + rows * lh + (rows - 1) * rs + bottom;

    std::vector<PreviewStep> steps;
    steps.push_back({PreviewStep::Kind::Fill, 0, 0, width, height, 0, 0, 0xC0C0C0, false});
    steps.push_back({PreviewStep::Kind::Rectangle, 0, 0, pageRight, pageBottom, 0, 0, 0, true});
    for (int k = 1; k <= 3; ++k)
        steps.push_back({PreviewStep::Kind::Polyline, pageRight + k, 3, pageRight + k,
                         pageBottom + k, 3, pageBottom + k, 0x808080, false});
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const int x = left + c * (lw + cs), y = top + r * (lh + rs);
            steps.push_back({PreviewStep::Kind::Rectangle, x, y, x + lw, y + lh, 0, 0, 0, false});
        }
    return steps;
}

} // namespace qx7
