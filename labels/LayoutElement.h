#pragma once
// What a label is made of: the label band and the printable elements on it. Element
// positions and sizes are millimetres from the top left corner of the label.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// An RGB colour, or a named system colour ("clWindow", "clBtnFace", ...) whose value
// the system decides; `rgb` then holds its usual value.
struct Color
{
    std::uint32_t rgb = 0; // 0xRRGGBB
    std::string system;

    static Color fromRgb(int r, int g, int b)
    {
        return {static_cast<std::uint32_t>((r << 16) | (g << 8) | b), {}};
    }
    int red() const { return static_cast<int>((rgb >> 16) & 0xFF); }
    int green() const { return static_cast<int>((rgb >> 8) & 0xFF); }
    int blue() const { return static_cast<int>(rgb & 0xFF); }
    bool operator==(const Color&) const = default;
};
std::string colorText(const Color& c); // "#RRGGBB" or the system name
std::optional<Color> colorFromText(std::string_view text);

struct FontSpec
{
    std::string family = "Arial";
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Color color; // black
    bool operator==(const FontSpec&) const = default;
};

enum class TextAlignment
{
    Left,
    Right,
    Centered
};

enum class FrameStyle
{
    Solid,
    Dashed,
    Dot,
    DashDot,
    DashDotDot,
    HiddenMark,
    InsideFrame
};

struct Frame
{
    bool top = false, bottom = false, left = false, right = false;
    int width = 1; // 0..99, in screen pixels of 1/96 inch
    FrameStyle style = FrameStyle::Solid;
    Color color;
    bool any() const { return top || bottom || left || right; }
    bool operator==(const Frame&) const = default;
};

enum class ElementKind
{
    Text,       // TQRDesignLabel
    DataField,  // TQRDesignDBText
    Expression, // TQRDesignExpr
    Memo,       // TQRDesignMemo
    Shape,      // TQRDesignShape
    Image       // TQRDesignImage
};

enum class ShapeKind
{
    Rectangle,
    Circle,
    VerticalLine,
    HorizontalLine,
    TopAndBottom,
    LeftAndRight
};

enum class PenStyle
{
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Clear,
    InsideFrame
};

enum class PenMode
{
    Copy,
    NotCopy,
    Not,
    Xor,
    NotXor,
    Merge,
    Mask,
    Black,
    White,
    Nop
};

enum class BrushStyle
{
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal,
    BDiagonal,
    Cross,
    DiagCross
};

struct LayoutElement
{
    ElementKind kind = ElementKind::Text;
    std::string name; // "QRLabel1", "QRDBText3", ...
    double left = 0, top = 0, width = 20, height = 5;

    // Texts: the caption of a text field, the field of a data field (whose caption
    // shows the field name at design time), an expression, or the lines of a memo.
    std::string caption;
    std::string dataField;
    std::string expression;
    std::vector<std::string> lines;
    std::string mask;

    FontSpec font;
    bool parentFont = false;
    TextAlignment alignment = TextAlignment::Left;
    bool alignToBand = false;
    Color background = Color::fromRgb(255, 255, 255);
    bool transparent = true;
    bool autoSize = false;    // width follows the text
    bool autoStretch = false; // height follows the wrapped text
    bool wordWrap = false;
    int rotation = 0; // tenths of a degree, counter-clockwise
    Frame frame;

    ShapeKind shape = ShapeKind::Rectangle;
    PenStyle penStyle = PenStyle::Solid;
    Color penColor;
    PenMode penMode = PenMode::Copy;
    int penWidth = 1; // screen pixels of 1/96 inch, at least 1
    BrushStyle brushStyle = BrushStyle::Clear;
    Color brushColor = Color::fromRgb(255, 255, 255);

    std::string imageFile; // at most 255 characters
    bool center = false;
    bool stretch = false;

    bool isTextKind() const { return kind != ElementKind::Shape && kind != ElementKind::Image; }
    bool operator==(const LayoutElement&) const = default;
};

// The one band of a layout: the label itself.
struct LabelBand
{
    std::string name = "Detailband1";
    std::string bandType = "detail";
    std::string caption;
    bool blockDelete = true;
    int startPageNum = 0;
    int pageStep = 0;
    Frame frame;
    Color background = Color::fromRgb(255, 255, 255);
    bool operator==(const LabelBand&) const = default;
};

// Names used in layout files and dialogs.
const char* elementKindName(ElementKind k);   // "Text", "DataField", ...
const char* elementNamePrefix(ElementKind k); // "QRLabel", "QRDBText", ...
const char* alignmentName(TextAlignment a);   // "Left", "Right", "Centered"
const char* frameStyleName(FrameStyle s);     // "Solid", ..., "Dash Dot Dot", ...
const char* shapeName(ShapeKind s);           // "Rectangle", ..., "Top and bottom"
const char* penStyleName(PenStyle s);
const char* penModeName(PenMode m);
const char* brushStyleName(BrushStyle s);

std::optional<ElementKind> elementKindFromName(std::string_view s);
std::optional<TextAlignment> alignmentFromName(std::string_view s);
std::optional<FrameStyle> frameStyleFromName(std::string_view s);
std::optional<ShapeKind> shapeFromName(std::string_view s);
std::optional<PenStyle> penStyleFromName(std::string_view s);
std::optional<PenMode> penModeFromName(std::string_view s);
std::optional<BrushStyle> brushStyleFromName(std::string_view s);

} // namespace qx7
