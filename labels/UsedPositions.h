#pragma once
// The labels already used on a partly used sheet, remembered per sheet type in "qx7.ini"
// section [UsedPositions] (key: the sheet type, as calibrationSheetName gives it), so a
// sheet fed again next time is shown with the same gaps. Positions count down each
// column from 1, as on the sheet picture.

#include <string>
#include <vector>

namespace qx7 {

class IniFile;

inline constexpr const char* kUsedPositionsSection = "UsedPositions";

// "1,2,7" into positions, each within 1..labelsPerSheet, sorted, without repeats. Empty
// when parsed, else the message for the user (and `positions` is left empty).
std::string parseUsedPositions(const std::string& text, int labelsPerSheet,
                               std::vector<int>& positions);
// "1,2,7".
std::string formatUsedPositions(const std::vector<int>& positions);

// The positions remembered for `sheet`; entries beyond the sheet (a hand edit, a sheet
// type renamed) are dropped.
std::vector<int> rememberedUsedPositions(const IniFile& ini, const std::string& sheet,
                                         int labelsPerSheet);
// Keeps `positions` for `sheet` (in memory; the caller saves the ini). None removes the
// entry. A sheet type without a name is not remembered.
void rememberUsedPositions(IniFile& ini, const std::string& sheet,
                           const std::vector<int>& positions);

} // namespace qx7
