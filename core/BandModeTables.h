#pragma once
// The band and mode tables. Their order matters: labels sort QSOs by these indexes,
// settings refer to entries by index, and import records code them as letters.

#include <array>
#include <string>
#include <string_view>

namespace qx7 {

constexpr int MaxBand = 29;
constexpr int MaxMode = 47;

// Index 1..MaxBand; 0 (or out of range) gives "???".
std::string_view bandName(int index);
std::string_view modeName(int index);
// Exact match; 0 when the name is not in the table.
int bandIndex(std::string_view name);
int modeIndex(std::string_view name);
// A mode as a log table holds it: its name, or the start of exactly one mode name when
// the name is longer than the field ("DIGITALV" is DIGITALVOICE). 0 otherwise.
int storedModeIndex(std::string_view stored);

// Frequency texts printed for a band when labels show frequencies, in band order.
std::string_view defaultFrequencyText(int bandIndexValue);
// Bands and modes offered in selection lists on a first start.
bool defaultBandVisible(int bandIndexValue);
bool defaultModeVisible(int modeIndexValue);

} // namespace qx7
