#include "labels/LayoutAlign.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace qx7 {

namespace {

constexpr std::array<const char*, 10> kNames = {
    "left",    "right",         "top",           "bottom", "hcenter",
    "vcenter", "label-hcenter", "label-vcenter", "hspace", "vspace"};

// The position of an element along one axis.
struct Axis
{
    bool across;
    double& start(LayoutElement& e) const { return across ? e.left : e.top; }
    double size(const LayoutElement& e) const { return across ? e.width : e.height; }
};

bool place(double& value, double to)
{
    if (std::abs(value - to) < 1e-9)
        return false;
    value = to;
    return true;
}

bool spaceEvenly(std::vector<LayoutElement*>& picked, Axis axis)
{
    if (picked.size() < 3)
        return false;
    std::stable_sort(picked.begin(), picked.end(), [&](LayoutElement* a, LayoutElement* b) {
        return axis.start(*a) < axis.start(*b);
    });
    double used = 0;
    for (LayoutElement* e : picked)
        used += axis.size(*e);
    const double first = axis.start(*picked.front());
    const double last = axis.start(*picked.back()) + axis.size(*picked.back());
    const double gap = (last - first - used) / double(picked.size() - 1);
    bool moved = false;
    double at = first;
    for (LayoutElement* e : picked) {
        moved |= place(axis.start(*e), at);
        at += axis.size(*e) + gap;
    }
    return moved;
}

} // namespace

const char* alignModeName(AlignMode mode)
{
    return kNames[static_cast<size_t>(mode)];
}

std::optional<AlignMode> alignModeFromName(std::string_view name)
{
    for (size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i])
            return static_cast<AlignMode>(i);
    return std::nullopt;
}

bool alignElements(LabelLayout& layout, const std::vector<int>& indexes, AlignMode mode)
{
    std::vector<LayoutElement*> picked;
    for (int i : indexes)
        if (i >= 0 && i < int(layout.Elements.size()) &&
            std::find(picked.begin(), picked.end(), &layout.Elements[size_t(i)]) == picked.end())
            picked.push_back(&layout.Elements[size_t(i)]);
    if (picked.empty())
        return false;
    const Axis axis{mode == AlignMode::Left || mode == AlignMode::Right ||
                    mode == AlignMode::HorizontalCenters || mode == AlignMode::LabelHorizontal ||
                    mode == AlignMode::EqualHorizontal};
    if (mode == AlignMode::EqualHorizontal || mode == AlignMode::EqualVertical)
        return spaceEvenly(picked, axis);

    double low = axis.start(*picked.front());
    double high = low + axis.size(*picked.front());
    for (LayoutElement* e : picked) {
        low = std::min(low, axis.start(*e));
        high = std::max(high, axis.start(*e) + axis.size(*e));
    }
    const bool onLabel = mode == AlignMode::LabelHorizontal || mode == AlignMode::LabelVertical;
    if (!onLabel && picked.size() < 2)
        return false;
    bool moved = false;
    if (onLabel) {
        // The block keeps its own arrangement and moves as a whole.
        const double label = axis.across ? layout.labelWidthMm() : layout.labelHeightMm();
        const double shift = (label - (high - low)) / 2 - low;
        for (LayoutElement* e : picked)
            moved |= place(axis.start(*e), axis.start(*e) + shift);
        return moved;
    }
    for (LayoutElement* e : picked) {
        switch (mode) {
        case AlignMode::Left:
        case AlignMode::Top:
            moved |= place(axis.start(*e), low);
            break;
        case AlignMode::Right:
        case AlignMode::Bottom:
            moved |= place(axis.start(*e), high - axis.size(*e));
            break;
        default: // the centres
            moved |= place(axis.start(*e), (low + high - axis.size(*e)) / 2);
            break;
        }
    }
    return moved;
}

} // namespace qx7
