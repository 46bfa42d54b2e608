#include "labels/LayoutElement.h"

#include "core/IniFile.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace qx7 {

namespace {

template <typename E, size_t N>
std::optional<E> fromNames(const std::array<const char*, N>& names, std::string_view s)
{
    for (size_t i = 0; i < N; ++i)
        if (equalsIgnoreCase(names[i], s))
            return static_cast<E>(i);
    return std::nullopt;
}

const std::array<const char*, 6> kKindNames = {"Text", "DataField", "Expression",
                                               "Memo", "Shape",     "Image"};
const std::array<const char*, 6> kPrefixes = {"QRLabel", "QRDBText", "QRExpr",
                                              "QRMemo",  "QRShape",  "QRImage"};
const std::array<const char*, 3> kAlignments = {"Left", "Right", "Centered"};
const std::array<const char*, 7> kFrameStyles = {
    "Solid", "Dashed", "Dot", "Dash Dot", "Dash Dot Dot", "Hidden Mark", "Inside Frame"};
const std::array<const char*, 6> kShapes = {"Rectangle",       "Circle",         "Vertical line",
                                            "Horizontal line", "Top and bottom", "Left and right"};
const std::array<const char*, 7> kPenStyles = {"Solid",        "Dash",  "Dot",         "Dash Dot",
                                               "Dash Dot Dot", "Clear", "Inside Frame"};
const std::array<const char*, 10> kPenModes = {"Copy",  "NotCopy", "Not",   "Xor",   "NotXor",
                                               "Merge", "Mask",    "Black", "White", "Nop"};
const std::array<const char*, 8> kBrushStyles = {
    "Solid", "Clear", "Horizontal", "Vertical", "FDiagonal", "BDiagonal", "Cross", "DiagCross"};

// The system colours layouts may name, with the value they usually have.
struct SystemColor
{
    const char* name;
    std::uint32_t rgb;
};
const std::array<SystemColor, 8> kSystemColors = {{{"clWindow", 0xFFFFFF},
                                                   {"clWindowText", 0x000000},
                                                   {"clBtnFace", 0xF0F0F0},
                                                   {"clBtnText", 0x000000},
                                                   {"clHighlight", 0x0078D7},
                                                   {"clHighlightText", 0xFFFFFF},
                                                   {"clGrayText", 0x6D6D6D},
                                                   {"clInfoBk", 0xFFFFE1}}};

} // namespace

std::string colorText(const Color& c)
{
    if (!c.system.empty())
        return c.system;
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(c.rgb & 0xFFFFFF));
    return text;
}

std::optional<Color> colorFromText(std::string_view text)
{
    if (text.size() == 7 && text[0] == '#') {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
        if (ec == std::errc() && end == text.data() + 7)
            return Color{value, {}};
        return std::nullopt;
    }
    for (const SystemColor& s : kSystemColors)
        if (equalsIgnoreCase(s.name, text))
            return Color{s.rgb, s.name};
    return std::nullopt;
}

const char* elementKindName(ElementKind k)
{
    return kKindNames[static_cast<size_t>(k)];
}
const char* elementNamePrefix(ElementKind k)
{
    return kPrefixes[static_cast<size_t>(k)];
}
const char* alignmentName(TextAlignment a)
{
    return kAlignments[static_cast<size_t>(a)];
}
const char* frameStyleName(FrameStyle s)
{
    return kFrameStyles[static_cast<size_t>(s)];
}
const char* shapeName(ShapeKind s)
{
    return kShapes[static_cast<size_t>(s)];
}
const char* penStyleName(PenStyle s)
{
    return kPenStyles[static_cast<size_t>(s)];
}
const char* penModeName(PenMode m)
{
    return kPenModes[static_cast<size_t>(m)];
}
const char* brushStyleName(BrushStyle s)
{
    return kBrushStyles[static_cast<size_t>(s)];
}

std::optional<ElementKind> elementKindFromName(std::string_view s)
{
    return fromNames<ElementKind>(kKindNames, s);
}
std::optional<TextAlignment> alignmentFromName(std::string_view s)
{
    return fromNames<TextAlignment>(kAlignments, s);
}
std::optional<FrameStyle> frameStyleFromName(std::string_view s)
{
    return fromNames<FrameStyle>(kFrameStyles, s);
}
std::optional<ShapeKind> shapeFromName(std::string_view s)
{
    return fromNames<ShapeKind>(kShapes, s);
}
std::optional<PenStyle> penStyleFromName(std::string_view s)
{
    return fromNames<PenStyle>(kPenStyles, s);
}
std::optional<PenMode> penModeFromName(std::string_view s)
{
    return fromNames<PenMode>(kPenModes, s);
}
std::optional<BrushStyle> brushStyleFromName(std::string_view s)
{
    return fromNames<BrushStyle>(kBrushStyles, s);
}

} // namespace qx7
