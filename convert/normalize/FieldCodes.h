#pragma once
// The vocabulary of the import record: the 18 field keys with their numbers and display
// names, and the one-letter band and mode codes (character 64 + table index) that
// records carry instead of the band and mode texts.

#include <array>
#include <string_view>

namespace qx7 {

enum FieldNumber
{
    FieldCall = 0,
    FieldDate = 1,
    FieldTime = 2,
    FieldBand = 3,
    FieldMode = 4,
    FieldSubMode = 5,
    FieldRstSent = 6,
    FieldRstRcvd = 7,
    FieldQslSent = 8,
    FieldQslRcvd = 9,
    FieldManager = 10,
    FieldDateSent = 11,
    FieldDateRcvd = 12,
    FieldComment = 13,
    FieldFreq = 14,
    FieldDxcc = 15,
    FieldCrossBand = 16,
    FieldMark = 17,
    FieldCount = 18
};

struct ImportFieldName
{
    std::string_view key;
    std::string_view displayName;
};

inline constexpr std::array<ImportFieldName, FieldCount> kImportFields = {{
    {"CALL", "Call"},
    {"DATE", "Date"},
    {"TIME", "Time"},
    {"BAND", "Band"},
    {"MODE", "Mode"},
    {"SUBM", "Sub-Mode"},
    {"RSTS", "RST sent"},
    {"RSTR", "RST received"},
    {"QSLS", "QSL sent"},
    {"QSLR", "QSL received"},
    {"QMGR", "QSL Manager"},
    {"DATS", "Date QSL sent"},
    {"DATR", "Date QSL received"},
    {"COMM", "Comment"},
    {"FREQ", "Freqency"},
    {"DXCC", "DXCC Number"},
    {"XBND", "X-Band QSOs"},
    {"MARK", "Mark"},
}};

// The field number of a key compared without regard to case; -1 for an unknown key.
int importFieldNumber(std::string_view key);

// Band code 'A'..']' for table index 1..29; ' ' for 0.
constexpr char bandCode(int index)
{
    return index <= 0 ? ' ' : static_cast<char>(64 + index);
}
constexpr char modeCode(int index)
{
    return index <= 0 ? ' ' : static_cast<char>(64 + index);
}
// Table index of a code; 0 when the code is blank or outside the table.
int bandIndexOfCode(char code);
int modeIndexOfCode(char code);
// The table texts of a code; empty when the code is blank or outside the table.
std::string_view bandTextOfCode(char code);
std::string_view modeTextOfCode(char code);

// Characters of a standard report for the mode ("59" or "599"); 0 leaves reports alone.
int reportLength(char modeCodeValue);

} // namespace qx7
