#include "labels/UsedPositions.h"

#include "core/IniFile.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace qx7 {

namespace {

std::string trimmed(std::string text)
{
    while (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::string parseUsedPositions(const std::string& text, int labelsPerSheet,
                               std::vector<int>& positions)
{
    positions.clear();
    std::vector<int> found;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        part = trimmed(part);
        int value = 0;
        const char* end = part.data() + part.size();
        const auto [at, ec] = std::from_chars(part.data(), end, value);
        if (part.empty() || ec != std::errc() || at != end)
            return "\"" + text + "\" is not a list of label positions (for example 1,2,7).";
        if (value < 1 || value > labelsPerSheet)
            return "Label position " + part + " is not on the sheet: it has positions 1 to " +
                   std::to_string(labelsPerSheet) + ".";
        found.push_back(value);
    }
    if (found.empty())
        return "\"" + text + "\" names no label position (for example 1,2,7).";
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    positions = std::move(found);
    return {};
}

std::string formatUsedPositions(const std::vector<int>& positions)
{
    std::string text;
    for (int p : positions)
        text += (text.empty() ? "" : ",") + std::to_string(p);
    return text;
}

std::vector<int> rememberedUsedPositions(const IniFile& ini, const std::string& sheet,
                                         int labelsPerSheet)
{
    std::vector<int> positions;
    if (sheet.empty() || !ini.valueExists(kUsedPositionsSection, sheet))
        return positions;
    std::istringstream in(ini.readString(kUsedPositionsSection, sheet, ""));
    for (std::string part; std::getline(in, part, ',');) {
        part = trimmed(part);
        int value = 0;
        const auto [at, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (ec == std::errc() && at == part.data() + part.size() && value >= 1 &&
            value <= labelsPerSheet)
            positions.push_back(value);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

void rememberUsedPositions(IniFile& ini, const std::string& sheet,
                           const std::vector<int>& positions)
{
    // "=" would end the key early; such a sheet type is simply not remembered.
    if (sheet.empty() || sheet.find('=') != std::string::npos)
        return;
    if (positions.empty())
        ini.deleteKey(kUsedPositionsSection, sheet);
    else
        ini.writeString(kUsedPositionsSection, sheet, formatUsedPositions(positions));
}

} // namespace qx7
