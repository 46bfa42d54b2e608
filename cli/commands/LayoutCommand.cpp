// qx7cli layout: the designer's layout operations without the designer: show a
// layout, check it, change its sheet geometry, rebuild it from the template, complete
// and align its QSO and footer lines, take a sheet from the catalogue, line elements up.
// The layout is LastQXD unless --layout names one.

#include "cli/Command.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "datamodule/TQXDM.h"
#include "labels/CustomGeometry.h"
#include "labels/LayoutAlign.h"
#include "labels/LayoutOperations.h"
#include "labels/QxdFile.h"
#include "labels/render/LayoutFindings.h"
#include "labels/render/QtTextMeasure.h"
#include "labels/SheetCatalogue.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qx7::cli {

namespace {

constexpr const char* kUsage =
    "usage: qx7cli layout info|check|adjust [--layout FILE]\n"
    "       qx7cli layout geometry [--set KEY=VALUE]... [--save] [--layout FILE]\n"
    "       qx7cli layout template --yes [--layout FILE]\n"
    "       qx7cli layout add-missing [--qso-lines N] [--footer-lines N] [--layout FILE]\n"
    "       qx7cli layout sheet MAKER TYPE [--layout FILE]\n"
    "       qx7cli layout align MODE ELEMENT ELEMENT... [--layout FILE]\n"
    "align modes: left, right, top, bottom, hcenter, vcenter, label-hcenter,\n"
    "  label-vcenter, hspace, vspace\n"
    "geometry keys: paper, orientation, width, length, top, bottom, left, right,\n"
    "  label-width, label-height, columns, rows, column-space, row-space (layout unit)\n";

std::optional<double> number(const std::string& s)
{
    std::string t = s;
    for (char& c : t)
        if (c == ',')
            c = '.';
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        return std::nullopt;
    return v;
}

std::optional<int> integer(const std::string& s, int lo, int hi)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi)
        return std::nullopt;
    return v;
}

void printGeometry(std::ostream& out, const CustomGeometry& g, LayoutUnit unit)
{
    const std::string u = " " + unitCaption(unit);
    out << "paper: " << paperSizeName(g.PaperSize)
        << (g.Orientation == PageOrientation::Landscape ? " landscape" : " portrait") << '\n'
        << "page: " << formatMeasure(g.PageWidth) << " x " << formatMeasure(g.PageLength) << u
        << '\n'
        << "margins (top bottom left right): " << formatMeasure(g.TopMargin) << ' '
        << formatMeasure(g.BottomMargin) << ' ' << formatMeasure(g.LeftMargin) << ' '
        << formatMeasure(g.RightMargin) << u << '\n'
        << "label: " << formatMeasure(g.LabelWidth) << " x " << formatMeasure(g.LabelHeight) << u
        << '\n'
        << "grid: " << g.Columns << " x " << g.Rows << '\n'
        << "space (columns rows): " << formatMeasure(g.ColumnSpace) << ' '
        << formatMeasure(g.RowSpace) << u << '\n';
}

// One KEY=VALUE as the wizard's field would take it; an error text, or empty.
std::string setField(CustomGeometry& g, const std::string& assignment, LayoutUnit unit,
                     const UnitContext& uc)
{
    const auto eq = assignment.find('=');
    if (eq == std::string::npos)
        return "--set wants KEY=VALUE, not \"" + assignment + "\"";
    const std::string key = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    GeometryField field = GeometryField::Margin;
    if (key == "paper") {
        const auto size = paperSizeFromName(value);
        if (!size || *size == PaperSize::Default)
            return "no paper size \"" + value + "\"";
        g.PaperSize = *size;
        field = GeometryField::Paper;
    } else if (key == "orientation") {
        PageOrientation o;
        if (value == "portrait")
            o = PageOrientation::Portrait;
        else if (value == "landscape")
            o = PageOrientation::Landscape;
        else
            return "orientation is portrait or landscape";
        if (o != g.Orientation)
            std::swap(g.PageWidth, g.PageLength);
        g.Orientation = o;
        field = GeometryField::Paper;
    } else if (key == "columns" || key == "rows") {
        const auto n = integer(value, 1, 99);
        if (!n)
            return key + " must lie in [1..99]";
        (key == "columns" ? g.Columns : g.Rows) = *n;
        field = GeometryField::ColumnsRows;
    } else {
        struct Measure
        {
            const char* key;
            double CustomGeometry::*member;
            GeometryField field;
        };
        static const Measure measures[] = {
            {"width", &CustomGeometry::PageWidth, GeometryField::Margin},
            {"length", &CustomGeometry::PageLength, GeometryField::Margin},
            {"top", &CustomGeometry::TopMargin, GeometryField::Margin},
            {"bottom", &CustomGeometry::BottomMargin, GeometryField::Margin},
            {"left", &CustomGeometry::LeftMargin, GeometryField::Margin},
            {"right", &CustomGeometry::RightMargin, GeometryField::Margin},
            {"label-width", &CustomGeometry::LabelWidth, GeometryField::LabelSize},
            {"label-height", &CustomGeometry::LabelHeight, GeometryField::LabelSize},
            {"column-space", &CustomGeometry::ColumnSpace, GeometryField::Space},
            {"row-space", &CustomGeometry::RowSpace, GeometryField::Space},
        };
        const Measure* m = nullptr;
        for (const Measure& candidate : measures)
            if (key == candidate.key)
                m = &candidate;
        if (!m)
            return "no geometry key \"" + key + "\"";
        const auto v = number(value);
        if (!v || *v < 0)
            return key + " wants a number >= 0, not \"" + value + "\"";
        if ((key == "width" || key == "length") && g.PaperSize != PaperSize::Custom)
            return "the page size is set only for paper Custom (--set paper=Custom first)";
        if ((key == "column-space" && g.Columns == 1) || (key == "row-space" && g.Rows == 1))
            return key + " needs more than one " + (key == "column-space" ? "column" : "row");
        g.*(m->member) = *v;
        field = m->field;
    }
    const GeometryResult r = recalculate(g, field, unit, uc);
    return r.ok ? std::string() : r.error;
}

int save(TQXDM& dm, const std::string& path, LabelLayout& layout, CommandContext& ctx)
{
    std::string error;
    const auto counts = saveLayoutFile(path, layout, &error);
    if (!counts) {
        ctx.err << "qx7cli: cannot save the label layout: " << error << '\n';
        return 1;
    }
    dm.publishLayoutCounts(*counts);
    ctx.out << "saved " << path << " (" << counts->qsoLines << " QSO line(s), "
            << counts->footerLines << " footer line(s))\n";
    return 0;
}

// The catalogue's sheet of `maker` whose list text, or type name, is `type` (both
// ignoring case); the layout takes its geometry and remembers maker and type.
int takeSheet(TQXDM& dm, const std::string& path, LabelLayout& layout,
              const std::vector<std::string>& words, CommandContext& ctx)
{
    if (words.size() != 2) {
        ctx.err << kUsage;
        return 2;
    }
    const SheetCatalogue& catalogue = SheetCatalogue::builtIn();
    const auto maker =
        std::find_if(catalogue.makers().begin(), catalogue.makers().end(),
                     [&](const std::string& m) { return equalsIgnoreCase(m, words[0]); });
    if (maker == catalogue.makers().end()) {
        ctx.err << "qx7cli: no label maker \"" << words[0] << "\" in the catalogue\n";
        return 1;
    }
    const UnitContext uc = layout.unitContext();
    for (const SheetType& t : catalogue.typesOf(*maker, layout.Units, uc)) {
        LabelFormatRec rec;
        parseLabelFormatRow(t.row, rec, layout.Units, uc);
        if (!equalsIgnoreCase(t.listText, words[1]) && !equalsIgnoreCase(rec.Name, words[1]))
            continue;
        const SheetGeometry sheet = applySheet(rec, layout.Units, uc);
        CustomGeometry g;
        g.PaperSize = sheet.paper;
        g.Orientation = sheet.landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
        g.PageWidth = sheet.paperWidth;
        g.PageLength = sheet.paperLength;
        g.TopMargin = sheet.topMargin;
        g.BottomMargin = sheet.bottomMargin;
        g.LeftMargin = sheet.leftMargin;
        g.RightMargin = sheet.rightMargin;
        g.Columns = sheet.columns;
        g.Rows = sheet.rows;
        g.ColumnSpace = sheet.columnSpace;
        g.RowSpace = sheet.rowSpace;
        applyGeometry(g, layout.Page, layout.Units, uc);
        layout.Page.LabelName = *maker;
        layout.Page.LabelType = t.listText;
        printGeometry(ctx.out, geometryFromPage(layout.Page, layout.Units, uc), layout.Units);
        return save(dm, path, layout, ctx);
    }
    ctx.err << "qx7cli: " << *maker << " has no sheet \"" << words[1] << "\"\n";
    return 1;
}

int alignNamed(TQXDM& dm, const std::string& path, LabelLayout& layout,
               const std::vector<std::string>& words, CommandContext& ctx)
{
    const auto mode = words.empty() ? std::nullopt : alignModeFromName(words[0]);
    if (!mode || words.size() < 2) {
        ctx.err << kUsage;
        return 2;
    }
    std::vector<int> picked;
    for (size_t w = 1; w < words.size(); ++w) {
        const auto it = std::find_if(
            layout.Elements.begin(), layout.Elements.end(),
            [&](const LayoutElement& e) { return equalsIgnoreCase(e.name, words[w]); });
        if (it == layout.Elements.end()) {
            ctx.err << "qx7cli: the layout has no element " << words[w] << '\n';
            return 1;
        }
        picked.push_back(int(it - layout.Elements.begin()));
    }
    if (!alignElements(layout, picked, *mode)) {
        ctx.out << "nothing moved\n";
        return 0;
    }
    for (int i : picked) {
        const LayoutElement& e = layout.Elements[size_t(i)];
        ctx.out << e.name << ": " << formatMeasure(e.left) << ", " << formatMeasure(e.top)
                << " mm\n";
    }
    return save(dm, path, layout, ctx);
}

} // namespace

int runLayout(CommandContext& ctx)
{
    if (ctx.args.empty()) {
        ctx.err << kUsage;
        return 2;
    }
    const std::string action = ctx.args[0];
    std::string file;
    std::vector<std::string> sets;
    bool saveAsked = false;
    std::vector<std::string> words; // the maker and type of "sheet", mode and names of "align"
    std::optional<int> qsoLines, footerLines;
    for (size_t i = 1; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        const bool hasValue = i + 1 < ctx.args.size();
        if (a == "--layout" && hasValue)
            file = ctx.args[++i];
        else if (a == "--set" && hasValue && action == "geometry")
            sets.push_back(ctx.args[++i]);
        else if (a == "--save" && action == "geometry")
            saveAsked = true;
        else if (a == "--qso-lines" && hasValue && action == "add-missing") {
            qsoLines = integer(ctx.args[++i], 1, 18);
            if (!qsoLines) {
                ctx.err << "qx7cli: --qso-lines must lie in [1..18]\n";
                return 2;
            }
        } else if (a == "--footer-lines" && hasValue && action == "add-missing") {
            footerLines = integer(ctx.args[++i], 0, 9);
            if (!footerLines) {
                ctx.err << "qx7cli: --footer-lines must lie in [0..9]\n";
                return 2;
            }
        } else if ((action == "sheet" || action == "align") && a.rfind("--", 0) != 0) {
            words.push_back(a);
        } else {
            ctx.err << kUsage;
            return 2;
        }
    }
    static const std::vector<std::string> actions = {
        "info", "check", "geometry", "template", "add-missing", "adjust", "sheet", "align"};
    if (std::find(actions.begin(), actions.end(), action) == actions.end()) {
        ctx.err << kUsage;
        return 2;
    }
    if (action == "template" && !ctx.yesGiven) {
        ctx.err << "qx7cli: the template replaces every element of the layout; add --yes\n";
        return 2;
    }

    TQXDM& dm = ctx.dataModule();
    const std::string path = dm.layoutPath(file.empty() ? dm.LastQXD : file);
    LabelLayout layout;
    std::string error;
    const auto counts = dm.loadLayout(path, layout, &error);
    if (!counts) {
        ctx.err << "qx7cli: cannot load the label layout: " << error << '\n';
        return 1;
    }
    const UnitContext uc = layout.unitContext();

    if (action == "info") {
        ctx.out << "layout: " << path << '\n'
                << "unit: " << unitName(layout.Units) << '\n'
                << "sheet: " << (layout.Page.LabelName.empty() ? "-" : layout.Page.LabelName)
                << (layout.Page.LabelType.empty() ? "" : " " + layout.Page.LabelType) << '\n';
        printGeometry(ctx.out, geometryFromPage(layout.Page, layout.Units, uc), layout.Units);
        ctx.out << "elements: " << layout.Elements.size() << '\n'
                << "QSO lines: " << counts->qsoLines << '\n'
                << "footer lines: " << counts->footerLines << '\n'
                << "labels per sheet: " << counts->labelsPerSheet << '\n';
        return 0;
    }
    if (action == "check") {
        const std::vector<LayoutFinding> findings =
            findLayoutProblems(layout, std::filesystem::path(path).parent_path().string());
        if (findings.empty()) {
            ctx.out << kNoLayoutProblems << '\n';
            return 0;
        }
        std::string text = layoutCheckMessage(findings);
        for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at))
            text.erase(at, 1);
        ctx.out << text << '\n';
        return 1;
    }
    if (action == "geometry") {
        CustomGeometry g = geometryFromPage(layout.Page, layout.Units, uc);
        for (const std::string& s : sets) {
            const std::string problem = setField(g, s, layout.Units, uc);
            if (!problem.empty()) {
                ctx.err << "qx7cli: " << s << ": " << problem << '\n';
                return 1;
            }
        }
        printGeometry(ctx.out, g, layout.Units);
        if (!saveAsked)
            return 0;
        const TQRPage before = layout.Page;
        applyGeometry(g, layout.Page, layout.Units, uc);
        if (!(layout.Page == before)) {
            // A geometry typed in is no longer the catalogue's sheet.
            layout.Page.LabelName = "Custom";
            layout.Page.LabelType.clear();
        }
        return save(dm, path, layout, ctx);
    }
    if (action == "sheet")
        return takeSheet(dm, path, layout, words, ctx);
    if (action == "align")
        return alignNamed(dm, path, layout, words, ctx);
    if (action == "template") {
        const QtTextMeasure measure;
        if (!createLayoutTemplate(layout, measure)) {
            ctx.err << "qx7cli: the layout has no data set; no template made\n";
            return 1;
        }
        return save(dm, path, layout, ctx);
    }
    if (action == "add-missing") {
        if (qsoLines)
            layout.Page.QSOLines = static_cast<std::uint16_t>(*qsoLines);
        if (footerLines)
            layout.Page.FooterLines = static_cast<std::uint16_t>(*footerLines);
        const MissingFieldsResult r = addMissingFields(layout);
        if (!r.changed()) {
            ctx.out << "no field added or deleted\n";
            return 0;
        }
        std::string text = r.message();
        if (const auto crlf = text.find("\r\n"); crlf != std::string::npos)
            text.replace(crlf, 2, "\n");
        ctx.out << text << '\n';
        return save(dm, path, layout, ctx);
    }
    adjustLines(layout);
    return save(dm, path, layout, ctx);
}

} // namespace qx7::cli
