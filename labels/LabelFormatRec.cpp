#include "labels/LabelFormatRec.h"

#include "core/Text.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace qx7 {

namespace {

std::vector<std::string> splitRow(std::string_view row)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t semi = row.find(';', start);
        fields.push_back(trimmed(row.substr(start, semi - start)));
        if (semi == std::string_view::npos)
            break;
        start = semi + 1;
    }
    return fields;
}

// The catalogue writes a decimal comma; a point is not a separator there.
bool parseDecimal(std::string text, double& value)
{
    if (text.empty())
        text = "0";
    for (char& c : text) {
        if (c == '.')
            return false;
        if (c == ',')
            c = '.';
    }
    const char* first = text.data();
    if (*first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool parseInteger(std::string text, std::int32_t& value)
{
    if (text.empty())
        text = "0";
    const char* first = text.data();
    if (*first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string field(const std::vector<std::string>& fields, size_t i)
{
    return i < fields.size() ? fields[i] : std::string();
}

} // namespace

PaperChoice paperFromCode(std::string_view rawCode)
{
    struct Code
    {
        const char* code;
        PaperSize paper;
        bool landscape;
    };
    static const Code codes[] = {
        {"", PaperSize::A4, false},       {"0", PaperSize::A4, false},
        {"A4", PaperSize::A4, false},     {"A4Q", PaperSize::A4, true},
        {"L", PaperSize::Letter, false},  {"LQ", PaperSize::Letter, true},
        {"P", PaperSize::Custom, false},  {"PQ", PaperSize::Custom, true},
        {"M", PaperSize::Custom, false},  {"MQ", PaperSize::Custom, true},
        {"A5", PaperSize::A5, false},     {"A5Q", PaperSize::A5, true},
        {"B5", PaperSize::B5, false},     {"B5Q", PaperSize::B5, true},
        {"B4 JIS", PaperSize::B4, false}, {"B4 JISQ", PaperSize::B4, true},
    };
    std::string code = toUpperAscii(trimmed(rawCode));
    if (code.size() > 20)
        code.resize(20);
    PaperChoice p;
    p.paper = PaperSize::Default; // any other text: the printer's own paper, upright
    for (const Code& c : codes)
        if (code == c.code) {
            p.paper = c.paper;
            p.landscape = c.landscape;
        }
    if (p.paper == PaperSize::Custom) {
        const bool postcard = code[0] == 'P';
        p.customWidthMm = postcard ? 100.0 : 104.8;
        p.customLengthMm = postcard ? 148.0 : 127.0;
    }
    return p;
}

bool parseLabelFormatRow(std::string_view row, LabelFormatRec& rec, LayoutUnit unit,
                         const UnitContext& ctx)
{
    rec = LabelFormatRec{};
    const std::vector<std::string> f = splitRow(row);
    double cm[6] = {};
    const size_t cmFields[6] = {1, 2, 3, 4, 7, 8};
    for (int i = 0; i < 6; ++i)
        if (!parseDecimal(field(f, cmFields[i]), cm[i]))
            return false;
    std::int32_t columns = 0, rows = 0;
    if (!parseInteger(field(f, 5), columns) || !parseInteger(field(f, 6), rows))
        return false;
    // A sheet without labels would divide by zero wherever label sizes are derived.
    if (columns < 1 || rows < 1)
        return false;
    const auto conv = [&](double centimetres) {
        return fromTenthsMm(centimetres * 100.0, unit, ctx);
    };
    std::string name = field(f, 0);
    for (char& c : name)
        if (c == '_')
            c = ' ';
    rec.Name = name;
    rec.TopMargin = conv(cm[0]);
    rec.LeftMargin = conv(cm[1]);
    rec.LabelWidth = conv(cm[2]);
    rec.LabelHeight = conv(cm[3]);
    rec.Columns = columns;
    rec.Rows = rows;
    rec.RowPitch = conv(cm[4]);
    rec.ColumnPitch = conv(cm[5]);
    const PaperChoice paper = paperFromCode(field(f, 9));
    rec.Paper = paper.paper;
    rec.Landscape = paper.landscape;
    if (paper.paper == PaperSize::Custom) {
        rec.PaperWidth = fromTenthsMm(paper.customWidthMm * 10.0, unit, ctx);
        rec.PaperLength = fromTenthsMm(paper.customLengthMm * 10.0, unit, ctx);
    }
    return true;
}

SheetGeometry applySheet(const LabelFormatRec& rec, LayoutUnit unit, const UnitContext& ctx)
{
    SheetGeometry g;
    g.paper = rec.Paper;
    g.landscape = rec.Landscape;
    double across = rec.PaperWidth, down = rec.PaperLength;
    if (rec.Paper != PaperSize::Custom) {
        const PaperMetrics m = paperMetrics(rec.Paper);
        across = fromTenthsMm(m.widthMm * 10.0, unit, ctx);
        down = fromTenthsMm(m.lengthMm * 10.0, unit, ctx);
    }
    if (rec.Landscape)
        std::swap(across, down);
    g.paperWidth = across;
    g.paperLength = down;
    // An empty pitch means the labels touch.
    const double rowPitch = rec.RowPitch != 0 ? rec.RowPitch : rec.LabelHeight;
    const double columnPitch = rec.ColumnPitch != 0 ? rec.ColumnPitch : rec.LabelWidth;
    g.topMargin = rec.TopMargin;
    g.leftMargin = rec.LeftMargin;
    g.bottomMargin = down - rec.TopMargin - rec.Rows * rec.LabelHeight -
                     (rowPitch - rec.LabelHeight) * (rec.Rows - 1);
    g.rightMargin = across - rec.LeftMargin - rec.Columns * rec.LabelWidth -
                    (columnPitch - rec.LabelWidth) * (rec.Columns - 1);
    g.columns = rec.Columns;
    g.rows = rec.Rows;
    g.labelWidth = rec.LabelWidth;
    g.labelHeight = rec.LabelHeight;
    g.columnSpace = rec.ColumnPitch != 0 ? rec.ColumnPitch - rec.LabelWidth : 0;
    g.rowSpace = rec.RowPitch != 0 ? rec.RowPitch - rec.LabelHeight : 0;
    return g;
}

std::string truncatedNumber(double value, char decimalSeparator)
{
    // The small allowance keeps 42.3 (stored as 42.29999...) from dropping to 42.29.
    const double hundredths = std::trunc(value * 100.0 + (value >= 0 ? 1e-7 : -1e-7));
    const long long h = static_cast<long long>(hundredths);
    const long long whole = h / 100;
    long long frac = std::llabs(h % 100);
    std::string text = (h < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (frac != 0) {
        std::string digits = frac < 10 ? "0" + std::to_string(frac) : std::to_string(frac);
        if (digits.back() == '0')
            digits.pop_back();
        text += decimalSeparator + digits;
    }
    return text;
}

std::string sheetListText(const LabelFormatRec& rec, char decimalSeparator)
{
    return rec.Name + " (" + truncatedNumber(rec.LabelWidth, decimalSeparator) + " x " +
           truncatedNumber(rec.LabelHeight, decimalSeparator) + ")";
}

} // namespace qx7
