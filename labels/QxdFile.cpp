#include "labels/QxdFile.h"

#include "core/IniFile.h"
#include "labels/PaperSize.h"
#include "labels/QxdSection_p.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qx7 {

namespace {

using detail::number;
using detail::Reader;
using detail::Writer;

constexpr const char* kHeader = "QX Label Layout";
// Version 2 closes the file with an end section, so that a file cut short (a full disk,
// a copy that stopped) is told apart from a layout with fewer elements.
constexpr int kVersion = 2;
constexpr const char* kEndSection = "End of layout";

constexpr double kHuge = 1e7; // tenths of a millimetre: a kilometre of paper

// Only a frame that is there is written; a missing one reads as none.
void writeFrame(Writer& w, const Frame& f)
{
    if (f == Frame{})
        return;
    w.flag("FrameTop", f.top);
    w.flag("FrameBottom", f.bottom);
    w.flag("FrameLeft", f.left);
    w.flag("FrameRight", f.right);
    w.integer("FrameWidth", f.width);
    w.text("FrameStyle", frameStyleName(f.style));
    w.color("FrameColor", f.color);
}

void readFrame(const Reader& r, Frame& f)
{
    r.flag("FrameTop", f.top);
    r.flag("FrameBottom", f.bottom);
    r.flag("FrameLeft", f.left);
    r.flag("FrameRight", f.right);
    r.num("FrameWidth", f.width, 0, 99);
    r.named("FrameStyle", f.style, frameStyleFromName);
    r.color("FrameColor", f.color);
}

void writePage(IniFile& ini, const TQRPage& p)
{
    Writer w(ini, "Page");
    w.text("PaperSize", paperSizeName(p.PaperSize));
    w.text("Orientation", p.Orientation == PageOrientation::Landscape ? "Landscape" : "Portrait");
    std::string values;
    for (double v : p.values())
        values += (values.empty() ? "" : ";") + number(v);
    w.text("Values", values);
    w.integer("Columns", p.Columns);
    w.integer("Rows", p.Rows);
    w.integer("QSOLines", p.QSOLines);
    w.integer("FooterLines", p.FooterLines);
    w.text("LabelName", p.LabelName);
    w.text("LabelType", p.LabelType);
    w.flag("Reverse", p.Reverse);
    w.integer("StartAt", p.StartAt);
    w.integer("PageFrom", p.PageFrom);
    w.integer("PageTo", p.PageTo);
    w.flag("Ruler", p.Ruler);
}

void readValues(const Reader& r, TQRPage& p)
{
    if (!r.has("Values"))
        return;
    std::array<double, 10> v{};
    std::string s = r.raw("Values");
    size_t n = 0, start = 0;
    for (; n < v.size() && start <= s.size(); ++n) {
        const size_t semi = std::min(s.find(';', start), s.size());
        const auto [end, ec] = std::from_chars(s.data() + start, s.data() + semi, v[n]);
        if (ec != std::errc() || end != s.data() + semi || !(v[n] > -kHuge && v[n] < kHuge))
            return r.fail("Values");
        start = semi + 1;
    }
    if (n != v.size() || start != s.size() + 1)
        return r.fail("Values");
    p.setValues(v);
}

void readPage(const IniFile& ini, TQRPage& p, std::string& error)
{
    Reader r(ini, "Page", error);
    r.named("PaperSize", p.PaperSize, paperSizeFromName);
    r.named("Orientation", p.Orientation, [](std::string_view s) -> std::optional<PageOrientation> {
        if (equalsIgnoreCase(s, "Portrait"))
            return PageOrientation::Portrait;
        if (equalsIgnoreCase(s, "Landscape"))
            return PageOrientation::Landscape;
        return std::nullopt;
    });
    readValues(r, p);
    r.num("Columns", p.Columns, 1, 1000);
    r.num("Rows", p.Rows, 1, 1000);
    r.num("QSOLines", p.QSOLines, 0, 65535);
    r.num("FooterLines", p.FooterLines, 0, 65535);
    r.text("LabelName", p.LabelName);
    r.text("LabelType", p.LabelType);
    r.flag("Reverse", p.Reverse);
    r.num("StartAt", p.StartAt, 1, 65535);
    r.num("PageFrom", p.PageFrom, 1, 65535);
    r.num("PageTo", p.PageTo, 1, 65535);
    r.flag("Ruler", p.Ruler);
}

void writeBand(IniFile& ini, const LabelBand& b)
{
    Writer w(ini, "Band");
    w.text("Name", b.name);
    w.text("BandType", b.bandType);
    w.text("Caption", b.caption);
    w.flag("BlockDelete", b.blockDelete);
    w.integer("StartPageNum", b.startPageNum);
    w.integer("PageStep", b.pageStep);
    writeFrame(w, b.frame);
    w.color("Color", b.background);
}

void readBand(const IniFile& ini, LabelBand& b, std::string& error)
{
    Reader r(ini, "Band", error);
    r.text("Name", b.name);
    r.text("BandType", b.bandType);
    r.text("Caption", b.caption);
    r.flag("BlockDelete", b.blockDelete);
    r.num("StartPageNum", b.startPageNum, -1e9, 1e9);
    r.num("PageStep", b.pageStep, -1e9, 1e9);
    readFrame(r, b.frame);
    r.color("Color", b.background);
}

void writeTextProperties(Writer& w, const LayoutElement& e)
{
    if (e.kind == ElementKind::Text || e.kind == ElementKind::DataField)
        w.text("Caption", e.caption);
    if (e.kind == ElementKind::DataField)
        w.text("DataField", e.dataField);
    if (e.kind == ElementKind::Expression)
        w.text("Expression", e.expression);
    if (e.kind == ElementKind::Memo)
        w.lines("Line", e.lines);
    w.text("Mask", e.mask);
    w.text("FontName", e.font.family);
    w.num("FontSize", e.font.pointSize);
    w.flag("FontBold", e.font.bold);
    w.flag("FontItalic", e.font.italic);
    w.flag("FontUnderline", e.font.underline);
    w.flag("FontStrikeOut", e.font.strikeOut);
    w.color("FontColor", e.font.color);
    w.flag("ParentFont", e.parentFont);
    w.text("Alignment", alignmentName(e.alignment));
    w.flag("AlignToBand", e.alignToBand);
    w.color("Color", e.background);
    w.flag("Transparent", e.transparent);
    w.flag("AutoSize", e.autoSize);
    w.flag("AutoStretch", e.autoStretch);
    w.flag("WordWrap", e.wordWrap);
    w.integer("Rotation", e.rotation);
}

void readTextProperties(const Reader& r, LayoutElement& e)
{
    r.text("Caption", e.caption);
    r.text("DataField", e.dataField);
    r.text("Expression", e.expression);
    r.lines("Line", e.lines);
    r.text("Mask", e.mask);
    r.text("FontName", e.font.family);
    r.num("FontSize", e.font.pointSize, 0.5, 1000);
    r.flag("FontBold", e.font.bold);
    r.flag("FontItalic", e.font.italic);
    r.flag("FontUnderline", e.font.underline);
    r.flag("FontStrikeOut", e.font.strikeOut);
    r.color("FontColor", e.font.color);
    r.flag("ParentFont", e.parentFont);
    r.named("Alignment", e.alignment, alignmentFromName);
    r.flag("AlignToBand", e.alignToBand);
    r.color("Color", e.background);
    r.flag("Transparent", e.transparent);
    r.flag("AutoSize", e.autoSize);
    r.flag("AutoStretch", e.autoStretch);
    r.flag("WordWrap", e.wordWrap);
    r.num("Rotation", e.rotation, -36000, 36000);
}

void writeElement(IniFile& ini, const LayoutElement& e)
{
    Writer w(ini, "Element " + e.name);
    w.text("Kind", elementKindName(e.kind));
    w.num("Left", e.left);
    w.num("Top", e.top);
    w.num("Width", e.width);
    w.num("Height", e.height);
    if (e.isTextKind())
        writeTextProperties(w, e);
    if (e.kind == ElementKind::Shape) {
        w.text("Shape", shapeName(e.shape));
        w.text("PenStyle", penStyleName(e.penStyle));
        w.color("PenColor", e.penColor);
        w.text("PenMode", penModeName(e.penMode));
        w.integer("PenWidth", e.penWidth);
        w.text("BrushStyle", brushStyleName(e.brushStyle));
        w.color("BrushColor", e.brushColor);
    }
    if (e.kind == ElementKind::Image) {
        w.text("ImageFile", e.imageFile);
        w.flag("Center", e.center);
        w.flag("Stretch", e.stretch);
    }
    writeFrame(w, e.frame);
}

bool readElement(const IniFile& ini, const std::string& section, LayoutElement& e,
                 std::string& error)
{
    Reader r(ini, section, error);
    e.name = section.substr(8);
    if (!r.has("Kind")) {
        r.fail("Kind");
        return false;
    }
    r.named("Kind", e.kind, elementKindFromName);
    constexpr double mm = kHuge / 10;
    r.num("Left", e.left, -mm, mm);
    r.num("Top", e.top, -mm, mm);
    r.num("Width", e.width, 0, mm);
    r.num("Height", e.height, 0, mm);
    readTextProperties(r, e);
    r.named("Shape", e.shape, shapeFromName);
    r.named("PenStyle", e.penStyle, penStyleFromName);
    r.color("PenColor", e.penColor);
    r.named("PenMode", e.penMode, penModeFromName);
    r.num("PenWidth", e.penWidth, 1, 1000);
    r.named("BrushStyle", e.brushStyle, brushStyleFromName);
    r.color("BrushColor", e.brushColor);
    r.text("ImageFile", e.imageFile);
    if (e.imageFile.size() > 255)
        r.fail("ImageFile");
    r.flag("Center", e.center);
    r.flag("Stretch", e.stretch);
    readFrame(r, e.frame);
    return error.empty();
}

bool startsWithIgnoringCase(const std::string& s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

// Says where a file of the current version stops when its end section is missing, or
// when the elements read are not all it announced.
std::string truncationError(std::string_view text, const IniFile& ini, size_t elementsRead)
{
    const std::vector<std::string> sections = ini.sections();
    long long announced = -1;
    if (!sections.empty() && equalsIgnoreCase(sections.back(), kEndSection))
        announced = ini.readInteger(kEndSection, "Elements", -1);
    if (announced == static_cast<long long>(elementsRead))
        return {};
    if (announced >= 0)
        return "holds " + std::to_string(elementsRead) + " element(s) but announces " +
               std::to_string(announced);
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) +
                         (text.empty() || text.back() == '\n' ? 0 : 1);
    return "the file is cut off after line " + std::to_string(lines) + " (in section [" +
           (sections.empty() ? std::string() : sections.back()) + "]), " +
           std::to_string(elementsRead) + " element(s) read; the layout is incomplete";
}

} // namespace

std::string layoutToText(const LabelLayout& layout)
{
    IniFile ini;
    Writer w(ini, kHeader);
    w.integer("Version", kVersion);
    w.text("Units", unitName(layout.Units));
    w.integer("Zoom", layout.Zoom);
    w.text("ReportTitle", layout.ReportTitle);
    w.text("DataSet", layout.DataSet);
    w.lines("Description", layout.Description);
    writePage(ini, layout.Page);
    writeBand(ini, layout.Band);
    for (const auto& e : layout.Elements)
        writeElement(ini, e);
    Writer(ini, kEndSection).integer("Elements", static_cast<long long>(layout.Elements.size()));
    return ini.toText();
}

bool layoutFromText(std::string_view text, LabelLayout& out, std::string* errorOut)
{
    IniFile ini;
    ini.parse(text);
    std::string error;
    LabelLayout layout;
    Reader r(ini, kHeader, error);
    int version = 0;
    r.num("Version", version, 1, 1000000);
    if (!ini.sectionExists(kHeader) || version == 0)
        error = "not a label layout";
    else if (version > kVersion)
        error = "made by a newer version of the program";
    r.named("Units", layout.Units, unitFromName);
    r.num("Zoom", layout.Zoom, 1, 10000);
    r.text("ReportTitle", layout.ReportTitle);
    r.text("DataSet", layout.DataSet);
    r.lines("Description", layout.Description);
    readPage(ini, layout.Page, error);
    readBand(ini, layout.Band, error);
    for (const std::string& section : ini.sections()) {
        if (!error.empty() || !startsWithIgnoringCase(section, "Element "))
            continue;
        LayoutElement e;
        if (readElement(ini, section, e, error))
            layout.Elements.push_back(std::move(e));
    }
    if (error.empty() && version >= 2)
        error = truncationError(text, ini, layout.Elements.size());
    if (!error.empty()) {
        if (errorOut)
            *errorOut = error;
        return false;
    }
    out = std::move(layout);
    return true;
}

bool loadLayout(const std::string& path, LabelLayout& layout, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string why;
    if (!layoutFromText(text.str(), layout, &why)) {
        if (error)
            *error = path + ": " + why;
        return false;
    }
    return true;
}

bool saveLayout(const std::string& path, const LabelLayout& layout, std::string* error)
{
    if (writeFileAtomically(path, layoutToText(layout)))
        return true;
    if (error)
        *error = "cannot write " + path;
    return false;
}

namespace {

// The page follows the fields the label really shows.
bool takeDerivedCounts(LabelLayout& layout, const LayoutCounts& counts)
{
    if (layout.Page.QSOLines == counts.qsoLines && layout.Page.FooterLines == counts.footerLines)
        return false;
    layout.Page.QSOLines = static_cast<std::uint16_t>(counts.qsoLines);
    layout.Page.FooterLines = static_cast<std::uint16_t>(counts.footerLines);
    return true;
}

} // namespace

std::optional<LayoutCounts> openLayoutFile(const std::string& path, LabelLayout& layout,
                                           std::string* error)
{
    LabelLayout loaded;
    if (!loadLayout(path, loaded, error))
        return std::nullopt;
    const LayoutCounts counts = derivedCounts(loaded);
    // A read-only layout still prints; it only keeps its old counts on disk.
    if (takeDerivedCounts(loaded, counts))
        saveLayout(path, loaded);
    loaded.Page.resetRun();
    layout = std::move(loaded);
    return counts;
}

std::optional<LayoutCounts> saveLayoutFile(const std::string& path, LabelLayout& layout,
                                           std::string* error)
{
    const LayoutCounts counts = derivedCounts(layout);
    takeDerivedCounts(layout, counts);
    if (!saveLayout(path, layout, error))
        return std::nullopt;
    return counts;
}

} // namespace qx7
