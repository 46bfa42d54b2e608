#pragma once
// The small picture of a sheet the layout wizard shows: the paper with a drop shadow
// and every label outlined, scaled into the picture. Given as drawing steps so that
// any painter (or a test) can follow them.

#include "labels/LabelFormatRec.h"

#include <cstdint>
#include <vector>

namespace qx7 {

struct PreviewStep
{
    enum class Kind
    {
        Fill,      // the rectangle filled with `rgb`, no outline
        Rectangle, // white inside, outlined in `rgb` (labels: outline only)
        Polyline   // a line through (x1, y1), (x2, y2), (x3, y3)
    };
    Kind kind = Kind::Fill;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    std::uint32_t rgb = 0;
    bool filledWhite = false;
};

// `sheet` in millimetres; the picture is `width` x `height` screen pixels.
std::vector<PreviewStep> sheetPreview(const SheetGeometry& sheet, int width = 160, int height = 180,
                                      double screenPixelsPerInch = 96.0);

} // namespace qx7
