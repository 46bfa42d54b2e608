#include "store/ManagerFormats.h"

#include "core/Text.h"

#include <algorithm>

namespace qx7 {

namespace {

// Case-insensitive comparison of ASCII texts: <0, 0, >0.
int compareIgnoreCase(std::string_view a, std::string_view b)
{
    return toUpperAscii(a).compare(toUpperAscii(b));
}

std::string datedCandidate(const ManagerEntry& e)
{
    return e.mgr + "   (" + e.dateFrom + ")";
}

std::vector<std::string_view> splitOn(std::string_view line, char sep)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i)
        if (i == line.size() || line[i] == sep) {
            parts.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

std::optional<ManagerEntry> parseSeparated(std::string_view line)
{
    const auto f = splitOn(line, ';');
    ManagerEntry e;
    e.call = toUpperAscii(trimmed(f[0]));
    e.mgr = f.size() > 1 ? toUpperAscii(trimmed(f[1])) : "";
    e.dateFrom = f.size() > 2 ? trimmed(f[2]) : "";
    // The address counts only when a ";" follows it.
    e.address = f.size() > 4 ? trimmed(f[3]) : "";
    if (e.call.empty() || e.mgr.empty())
        return std::nullopt;
    return e;
}

std::optional<ManagerEntry> parseDx4win(std::string_view line)
{
    const size_t first = line.find(',');
    const size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt; // no way to tell call, date and manager apart
    ManagerEntry e;
    e.call = toUpperAscii(trimmed(line.substr(0, first)));
    const std::string date = trimmed(line.substr(first + 1, second - first - 1));
    e.mgr = trimmed(line.substr(second + 1));
    if (date.size() == 10)
        e.dateFrom = date.substr(6, 4) + date.substr(3, 2) + date.substr(0, 2);
    else
        e.dateFrom = date.substr(0, 4);
    if (e.call.empty() || e.mgr.empty())
        return std::nullopt;
    return e;
}

// The first four characters from the first occurrence of `lead` when they lie from
// lead+"00" to lead+"99".
std::string yearFrom(std::string_view text, std::string_view lead)
{
    const size_t p = text.find(lead);
    if (p == std::string_view::npos || p + 4 > text.size())
        return {};
    const std::string_view y = text.substr(p, 4);
    return (y[2] >= '0' && y[2] <= '9' && y[3] >= '0' && y[3] <= '9') ? std::string(y) : "";
}

std::optional<ManagerEntry> parseQw6qw(std::string_view raw)
{
    const std::string line = toUpperAscii(raw);
    const size_t via = line.find("QSL VIA");
    if (via == std::string::npos)
        return std::nullopt;
    ManagerEntry e;
    e.call = line.substr(0, line.find(' '));
    std::string rest = line.size() > via + 8 ? line.substr(via + 8) : "";
    rest.erase(0, rest.find_first_not_of(' ') == std::string::npos ? rest.size()
                                                                   : rest.find_first_not_of(' '));
    const size_t blank = rest.find(' ');
    e.mgr = blank == std::string::npos ? "" : rest.substr(0, blank);
    if (e.mgr == "HOME")
        e.mgr.clear();
    e.dateFrom = yearFrom(rest, "19");
    if (const std::string y20 = yearFrom(rest, "20"); !y20.empty())
        e.dateFrom = y20;
    if (e.call.empty() || e.mgr.empty())
        return std::nullopt;
    return e;
}

} // namespace

ManagerLookUp lookUpManagerIn(const std::vector<ManagerEntry>& entries, std::string_view qsoMgr,
                              std::string_view qsoDate)
{
    ManagerLookUp r;
    r.manager = std::string(qsoMgr);
    std::string best;
    for (const auto& e : entries) {
        ++r.count;
        if (e.dateFrom.empty()) {
            if (r.manager.empty()) {
                r.manager = e.mgr;
                best.clear();
                r.candidates.insert(r.candidates.begin(), e.mgr);
            } else {
                r.candidates.push_back(e.mgr);
            }
            continue;
        }
        const std::string_view lead =
            qsoDate.substr(0, std::min(qsoDate.size(), e.dateFrom.size()));
        if (compareIgnoreCase(lead, e.dateFrom) >= 0 && compareIgnoreCase(e.dateFrom, best) >= 0) {
            r.manager = e.mgr;
            best = e.dateFrom;
            r.candidates.insert(r.candidates.begin(), datedCandidate(e));
        } else {
            if (std::find(r.candidates.begin(), r.candidates.end(), "-") == r.candidates.end())
                r.candidates.emplace_back("-");
            r.candidates.push_back(datedCandidate(e));
        }
    }
    return r;
}

ManagerTextFormat detectManagerFormat(std::string_view firstLine)
{
    if (firstLine.find(';') != std::string_view::npos)
        return ManagerTextFormat::Separated;
    if (firstLine.find(',') != std::string_view::npos)
        return ManagerTextFormat::Dx4win;
    if (firstLine.find("   ") != std::string_view::npos)
        return ManagerTextFormat::Qw6qw;
    return ManagerTextFormat::Unsupported;
}

std::optional<ManagerEntry> parseManagerLine(std::string_view line, ManagerTextFormat format)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    switch (format) {
    case ManagerTextFormat::Separated:
        return parseSeparated(line);
    case ManagerTextFormat::Dx4win:
        return parseDx4win(line);
    case ManagerTextFormat::Qw6qw:
        return parseQw6qw(line);
    case ManagerTextFormat::Unsupported:
        break;
    }
    return std::nullopt;
}

std::string managerExportLine(const ManagerEntry& e, bool dx4win)
{
    std::string line;
    if (!dx4win) {
        line = e.call + ";" + e.mgr + ";" + e.dateFrom + ";" + e.address;
    } else {
        std::string date;
        if (e.dateFrom.size() == 4)
            date = "01/01/" + e.dateFrom;
        else if (e.dateFrom.size() == 8)
            date = e.dateFrom.substr(6, 2) + "/" + e.dateFrom.substr(4, 2) + "/" +
                   e.dateFrom.substr(0, 4);
        line = e.call + "," + date + "," + e.mgr;
    }
    if (line.size() > 255)
        line.resize(255);
    return line;
}

bool isDamagedManagerLine(std::string_view line)
{
    if (line == "\x1a")
        return false;
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\r') || u == 0x7f)
            return true;
    }
    return false;
}

std::string damagedManagerListMessage(long line)
{
    return "The manager list is damaged at line " + std::to_string(line) +
           ".\r\nNothing was imported.";
}

} // namespace qx7
