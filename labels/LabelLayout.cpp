#include "labels/LabelLayout.h"

#include "core/IniFile.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qx7 {

std::string LabelLayout::freeElementName(ElementKind kind) const
{
    // One pass over the elements: a layout of thousands of elements is still loaded and
    // edited one element at a time. The lowest free number is at most one past the count.
    const std::string_view prefix = elementNamePrefix(kind);
    std::vector<bool> taken(Elements.size() + 2, false);
    for (const auto& e : Elements) {
        if (e.name.size() <= prefix.size() ||
            !equalsIgnoreCase(std::string_view(e.name).substr(0, prefix.size()), prefix))
            continue;
        const std::string_view digits = std::string_view(e.name).substr(prefix.size());
        // Only the spelling to_string gives can match: "QRLabel07" does not take 7.
        if (digits.size() > 9 || digits[0] == '0' ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const std::size_t n = std::stoul(std::string(digits));
        if (n < taken.size())
            taken[n] = true;
    }
    std::size_t n = 1;
    while (taken[n])
        ++n;
    return std::string(prefix) + std::to_string(n);
}

LayoutElement& LabelLayout::addElement(ElementKind kind)
{
    LayoutElement e;
    e.kind = kind;
    e.name = freeElementName(kind);
    if (kind == ElementKind::Shape) {
        e.width = 10;
        e.height = 10;
    }
    Elements.push_back(std::move(e));
    return Elements.back();
}

LayoutElement* LabelLayout::findElement(std::string_view name)
{
    for (auto& e : Elements)
        if (equalsIgnoreCase(e.name, name))
            return &e;
    return nullptr;
}

LayoutElement* LabelLayout::findDataField(std::string_view field)
{
    for (auto& e : Elements)
        if (e.kind == ElementKind::DataField && equalsIgnoreCase(e.dataField, field))
            return &e;
    return nullptr;
}

const LayoutElement* LabelLayout::findDataField(std::string_view field) const
{
    return const_cast<LabelLayout*>(this)->findDataField(field);
}

bool LabelLayout::removeElement(std::string_view name)
{
    const auto it = std::find_if(Elements.begin(), Elements.end(),
                                 [&](const auto& e) { return equalsIgnoreCase(e.name, name); });
    if (it == Elements.end())
        return false;
    Elements.erase(it);
    return true;
}

UnitContext LabelLayout::unitContext(double screenPixelsPerInch) const
{
    UnitContext ctx;
    ctx.screenPixelsPerInch = screenPixelsPerInch;
    ctx.zoomPercent = Zoom;
    return ctx;
}

} // namespace qx7
