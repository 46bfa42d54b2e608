#include "labels/SheetCatalogue.h"

#include "core/IniFile.h"
#include "labels/Resources.h"

#include <algorithm>
#include <cctype>

namespace qx7 {

namespace {

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

} // namespace

SheetCatalogue::SheetCatalogue(std::string_view text)
{
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.find(';') == std::string_view::npos) {
            m_makers.emplace_back(line);
            m_rows.emplace_back();
        } else if (!m_rows.empty()) {
            m_rows.back().emplace_back(line);
        }
    }
}

const SheetCatalogue& SheetCatalogue::builtIn()
{
    static const SheetCatalogue catalogue(resources::labelFormats);
    return catalogue;
}

std::vector<std::string> SheetCatalogue::makerChoices() const
{
    std::vector<std::string> sorted = m_makers;
    std::stable_sort(sorted.begin(), sorted.end(), lessIgnoringCase);
    sorted.insert(sorted.begin(), kCustomMaker);
    return sorted;
}

const std::vector<std::string>& SheetCatalogue::rowsOf(std::string_view maker) const
{
    static const std::vector<std::string> none;
    for (size_t i = 0; i < m_makers.size(); ++i)
        if (m_makers[i] == maker)
            return m_rows[i];
    return none;
}

std::vector<SheetType> SheetCatalogue::typesOf(std::string_view maker, LayoutUnit unit,
                                               const UnitContext& ctx, char decimalSeparator) const
{
    std::vector<SheetType> types;
    for (const std::string& row : rowsOf(maker)) {
        LabelFormatRec rec;
        if (parseLabelFormatRow(row, rec, unit, ctx))
            types.push_back({sheetListText(rec, decimalSeparator), row});
    }
    return types;
}

std::optional<SheetCatalogue::Found> SheetCatalogue::find(std::string_view labelName,
                                                          std::string_view labelType,
                                                          LayoutUnit unit, const UnitContext& ctx,
                                                          char decimalSeparator) const
{
    for (const std::string& maker : m_makers) {
        if (!equalsIgnoreCase(maker, labelName))
            continue;
        const std::vector<SheetType> types = typesOf(maker, unit, ctx, decimalSeparator);
        for (size_t i = 0; i < types.size(); ++i) {
            if (!equalsIgnoreCase(types[i].listText, labelType))
                continue;
            Found found{maker, i, {}};
            parseLabelFormatRow(types[i].row, found.rec, unit, ctx);
            return found;
        }
        return Found{maker, std::nullopt, {}};
    }
    return std::nullopt;
}

} // namespace qx7
