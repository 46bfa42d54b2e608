#include "store/LogGridSetup.h"

#include "dbase/TempFiles.h"
#include "store/LogSchema.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qx7 {

namespace {

constexpr std::string_view kMagic = "QX7 log grid layout 1";

struct DisplayName
{
    std::string_view field;
    std::string_view name;
};

constexpr DisplayName kDisplayNames[] = {
    {"CALL", "Call"},          {"DATE", "Date"},     {"TIME", "Time"},
    {"BAND", "Band"},          {"MODE", "Mode"},     {"SUBM", "Sub-Mode"},
    {"RSTS", "RST sent"},      {"RSTR", "RST rcvd"}, {"QSLS", "QSL sent"},
    {"QSLR", "QSL rcvd"},      {"QMGR", "Manager"},  {"DATS", "Date QSL sent"},
    {"DATR", "Date QSL rcvd"}, {"COMM", "Comment"},  {"FREQ", "Freqency"},
    {"DXCC", "DXCC"},          {"XBND", "X-Band"},
};

bool offered(std::string_view field)
{
    if (field == "DXCC" || field == "XBND" || field == "MARK")
        return false;
    return std::any_of(kLogFields.begin(), kLogFields.end(),
                       [&](const LogField& f) { return f.name == field; });
}

GridColumn column(const char* field, const char* title, int width,
                  GridAlign align = GridAlign::Left)
{
    return {field, title, align, align, width};
}

bool parseAlign(const std::string& text, GridAlign& out)
{
    if (text == "0" || text == "1" || text == "2") {
        out = static_cast<GridAlign>(text[0] - '0');
        return true;
    }
    return false;
}

} // namespace

const char* gridSetupFileName(int choice)
{
    switch (choice) {
    case 1:
        return "qx71.obj";
    case 2:
        return "qx7u.obj";
    default:
        return "qx70.obj";
    }
}

const char* gridSetupChoiceName(int choice)
{
    switch (choice) {
    case 1:
        return "QZ3QZ's favorite";
    case 2:
        return "User settings";
    default:
        return "Default";
    }
}

GridLayout shippedGridLayout()
{
    return {{
        column("CALL", "Call", 11),
        column("DATE", "Date", 10),
        column("TIME", "Time", 5),
        column("BAND", "Band", 5),
        column("MODE", "Mode", 6),
        column("RSTS", "RSTs", 4),
        column("RSTR", "RSTr", 4),
        column("QSLS", "Qs", 2, GridAlign::Center),
        column("QSLR", "Qr", 2, GridAlign::Center),
        column("QMGR", "Manager", 10),
        column("DATS", "Date sent", 10),
        column("DATR", "Date rcvd", 10),
        column("COMM", "Comment", 25),
        column("FREQ", "Freq", 8, GridAlign::Right),
    }};
}

GridLayout favoriteGridLayout()
{
    return {{
        column("CALL", "Call", 11),
        column("QMGR", "Manager", 10),
        column("DATE", "Date", 10),
        column("TIME", "UTC", 5),
        column("BAND", "Band", 5),
        column("MODE", "Mode", 6),
        column("QSLS", "S", 2, GridAlign::Center),
        column("QSLR", "R", 2, GridAlign::Center),
        column("COMM", "Comment", 25),
    }};
}

GridLayout builtinGridLayout(int choice)
{
    return choice == 1 ? favoriteGridLayout() : shippedGridLayout();
}

std::string gridFieldDisplayName(std::string_view field)
{
    for (const DisplayName& d : kDisplayNames)
        if (d.field == field)
            return std::string(d.name);
    return {};
}

std::vector<std::string> gridOfferedFields()
{
    std::vector<std::string> fields;
    for (const LogField& f : kLogFields)
        if (offered(f.name))
            fields.emplace_back(f.name);
    return fields;
}

std::optional<GridLayout> loadGridLayout(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string line;
    if (!std::getline(in, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line != kMagic)
        return std::nullopt;
    GridLayout layout;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        // field TAB title-align TAB data-align TAB width TAB title
        std::vector<std::string> parts;
        std::string part;
        std::istringstream fields(line);
        while (parts.size() < 4 && std::getline(fields, part, '\t'))
            parts.push_back(part);
        std::string title;
        std::getline(fields, title);
        if (parts.size() < 4 || !offered(parts[0]))
            return std::nullopt;
        GridColumn c;
        c.field = parts[0];
        c.title = title;
        if (!parseAlign(parts[1], c.titleAlign) || !parseAlign(parts[2], c.dataAlign))
            return std::nullopt;
        char* end = nullptr;
        const long w = std::strtol(parts[3].c_str(), &end, 10);
        if (end == parts[3].c_str() || *end != '\0' || w < 1 || w > 255)
            return std::nullopt;
        c.width = static_cast<int>(w);
        const bool twice = std::any_of(layout.columns.begin(), layout.columns.end(),
                                       [&](const GridColumn& o) { return o.field == c.field; });
        if (twice)
            return std::nullopt;
        layout.columns.push_back(std::move(c));
    }
    if (in.bad() || layout.columns.empty())
        return std::nullopt;
    return layout;
}

bool saveGridLayout(const std::string& path, const GridLayout& layout)
{
    std::string text(kMagic);
    text += "\r\n";
    for (const GridColumn& c : layout.columns) {
        std::string title = c.title;
        std::replace_if(
            title.begin(), title.end(),
            [](char ch) { return ch == '\t' || ch == '\r' || ch == '\n'; }, ' ');
        text += c.field + '\t' + std::to_string(static_cast<int>(c.titleAlign)) + '\t' +
                std::to_string(static_cast<int>(c.dataAlign)) + '\t' + std::to_string(c.width) +
                '\t' + title + "\r\n";
    }
    const std::string temp = dbase::tempPathFor(path).string();
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

int gridWidthToCharacters(int pixels, int zeroWidth, int overhang)
{
    const int step = std::max(1, zeroWidth - overhang);
    return std::max(1, (pixels - overhang - 4) / step);
}

int gridWidthToPixels(int characters, int zeroWidth, int overhang)
{
    return std::max(1, zeroWidth - overhang) * characters + overhang + 4;
}

} // namespace qx7
