#pragma once
// Lining elements up as the designer's alignment commands do: the edges or centres of
// a selection to one another, the selection centred on the label, or the elements of
// a selection spaced evenly.

#include "labels/LabelLayout.h"

#include <optional>
#include <string_view>
#include <vector>

namespace qx7 {

enum class AlignMode
{
    Left,              // left edges on the leftmost one
    Right,             // right edges on the rightmost one
    Top,               // top edges on the topmost one
    Bottom,            // bottom edges on the lowest one
    HorizontalCenters, // centres on the middle of the selection, across
    VerticalCenters,   // centres on the middle of the selection, down
    LabelHorizontal,   // the selection as a block, centred across the label
    LabelVertical,     // the selection as a block, centred down the label
    EqualHorizontal,   // the same gap between neighbours, outer two staying
    EqualVertical
};

// "left", "right", "top", "bottom", "hcenter", "vcenter", "label-hcenter",
// "label-vcenter", "hspace", "vspace".
const char* alignModeName(AlignMode mode);
std::optional<AlignMode> alignModeFromName(std::string_view name);

// Aligns the elements at `indexes` (into layout.Elements; unknown ones are left out).
// Edges and centres need two elements, even spacing three, centring on the label
// one. True when any element moved.
bool alignElements(LabelLayout& layout, const std::vector<int>& indexes, AlignMode mode);

} // namespace qx7
