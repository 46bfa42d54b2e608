#include "convert/readers/TextSpecReader.h"

#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <cstdlib>

namespace qx7 {

namespace {

struct MappedColumn
{
    std::string key; // "nil" for a column that is not read
    int width = 0;
};

std::vector<MappedColumn> mappedColumns(const std::vector<std::string>& fieldMap)
{
    std::vector<MappedColumn> columns;
    for (const std::string& line : fieldMap) {
        const size_t semicolon = line.find(';');
        MappedColumn c{trimmed(line.substr(0, semicolon)), 0};
        if (semicolon != std::string::npos)
            c.width = std::max(0, std::atoi(line.c_str() + semicolon + 1));
        columns.push_back(std::move(c));
    }
    return columns;
}

// A quoted value: up to the closing qualifier, a doubled one standing for itself.
std::string quotedValue(std::string_view& rest, char qualifier)
{
    std::string value;
    size_t pos = 1;
    while (pos < rest.size()) {
        if (rest[pos] == qualifier) {
            if (pos + 1 < rest.size() && rest[pos + 1] == qualifier) {
                value += qualifier;
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        value += rest[pos++];
    }
    rest.remove_prefix(pos);
    return value;
}

std::string_view stripQualifier(std::string_view value, char qualifier)
{
    value = detail::trimSpaces(value);
    if (qualifier != 0 && !value.empty() && value.front() == qualifier)
        value.remove_prefix(1);
    if (qualifier != 0 && !value.empty() && value.back() == qualifier)
        value.remove_suffix(1);
    return value;
}

} // namespace

std::vector<std::string> splitDelimited(std::string_view line, char delimiter, char qualifier)
{
    std::vector<std::string> values;
    std::string_view rest = line;
    const bool spaces = delimiter == ' ';
    if (spaces)
        rest = detail::trimSpaces(rest);
    while (true) {
        std::string value;
        if (qualifier != 0 && !rest.empty() && rest.front() == qualifier) {
            value = quotedValue(rest, qualifier);
            // Text between the closing qualifier and the delimiter belongs to the value.
            const size_t end = delimiter == 0 ? rest.size() : rest.find(delimiter);
            value += rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        } else {
            const size_t end = delimiter == 0 ? std::string_view::npos : rest.find(delimiter);
            value = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        }
        values.push_back(trimmed(value));
        if (rest.empty())
            break;
        rest.remove_prefix(1); // the delimiter
        if (spaces)
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
    }
    return values;
}

std::vector<std::string> splitFixed(std::string_view line, const std::vector<int>& widths,
                                    char delimiter, char qualifier)
{
    std::vector<std::string> values;
    std::string_view rest = line;
    for (int width : widths) {
        const std::string_view cell = detail::columns(rest, 1, static_cast<size_t>(width));
        values.emplace_back(stripQualifier(cell, qualifier));
        rest.remove_prefix(cell.size());
        if (delimiter != 0 && !rest.empty() && rest.front() == delimiter)
            rest.remove_prefix(1);
    }
    return values;
}

bool TextSpecReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    LogLines lines;
    if (!detail::loadLines(spec, lines))
        return false;
    const size_t header = spec.HeaderRows > 0 ? static_cast<size_t>(spec.HeaderRows) : 0;
    spec.LogSize = std::max<long long>(0, spec.LogSize - static_cast<long long>(header));
    if (context.logSizeOnly())
        return true;
    // Without a mapping every line would pass silently as nothing.
    if (spec.FieldMap.empty() || (spec.TextType != 0 && spec.TextType != 1)) {
        context.prompter().error(kNoSpecification + std::string("\r\n") + spec.FileName);
        return false;
    }
    const std::vector<MappedColumn> map = mappedColumns(spec.FieldMap);
    std::vector<int> widths;
    for (const MappedColumn& c : map)
        widths.push_back(c.width);
    FieldNormalizer& normalizer = context.normalizer();
    for (size_t i = header; i < lines.lines.size() && !context.abortRequested(); ++i) {
        const std::string_view line = lines.lines[i];
        if (detail::trimSpaces(line).empty())
            continue;
        const std::vector<std::string> values =
            spec.TextType == 0 ? splitDelimited(line, spec.Delimiter, spec.Qualifier)
                               : splitFixed(line, widths, spec.Delimiter, spec.Qualifier);
        for (size_t k = 0; k < values.size() && k < map.size(); ++k)
            if (!equalsIgnoreCase(map[k].key, "nil"))
                normalizer.SetImportField(map[k].key, values[k], spec.DateFormat);
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
