#include "labels/LabelLayout.h"

#include "core/IniFile.h"

#include <algorithm>

namespace qx7 {

std::string LabelLayout::freeElementName(ElementKind kind) const
{
    const std::string prefix = elementNamePrefix(kind);
    for (int n = 1;; ++n) {
        const std::string name = prefix + std::to_string(n);
        const bool taken = std::any_of(Elements.begin(), Elements.end(), [&](const auto& e) {
            return equalsIgnoreCase(e.name, name);
        });
        if (!taken)
            return name;
    }
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
