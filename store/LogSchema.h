#pragma once
// What a log's QSO table holds: 18 fields in a fixed order, with the widths, display
// labels and titles grids and dialogs show.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

struct LogField
{
    std::string_view name;
    char type; // 'C' character, 'L' logical
    int width;
    bool required;
    std::string_view displayLabel; // empty: the field has no grid column
    std::string_view title;
};

inline constexpr std::array<LogField, 18> kLogFields = {{
    {"CALL", 'C', 16, true, "Call", "Call"},
    {"DATE", 'C', 8, true, "Date", "Date"},
    {"TIME", 'C', 4, true, "Time", "Time"},
    {"BAND", 'C', 6, false, "Band", "Band"},
    {"MODE", 'C', 8, false, "Mode", "Mode"},
    {"SUBM", 'C', 12, false, "Submode", "Sub-Mode"},
    {"RSTS", 'C', 6, false, "RSTsent", "RST sent"},
    {"RSTR", 'C', 6, false, "RSTrcvd", "RST received"},
    {"QSLS", 'C', 1, false, "Qsent", "QSL sent"},
    {"QSLR", 'C', 1, false, "Qrcvd", "QSL received"},
    {"QMGR", 'C', 16, false, "Manager", "QSL Manager"},
    {"DATS", 'C', 8, false, "Date sent", "Date QSL sent"},
    {"DATR", 'C', 8, false, "Date rcvd", "Date QSL received"},
    {"COMM", 'C', 60, false, "Comment", "Comment"},
    {"FREQ", 'C', 12, false, "Frequency", "Freqency"},
    {"DXCC", 'C', 6, false, "", "DXCC Number"},
    {"XBND", 'C', 2, false, "", "X-Band QSOs"},
    {"MARK", 'L', 1, false, "Mark", "Mark"},
}};

std::vector<std::string> logFieldNames();
std::vector<std::string> logFieldTitles();

} // namespace qx7
