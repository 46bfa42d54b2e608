#pragma once
// How a log grid shows stored QSO values: dates in the chosen display format (with
// "???" after a stored date that is no calendar date) and four-digit times as hh:mm.

#include <string>
#include <string_view>

namespace qx7 {

// A stored "yyyymmdd" for display. Year, month and day non-zero, month <= 12 and
// day <= 31: the date in `displayFormat`, or the stored text followed by "???" when it
// is still no calendar date (as 20230231). Anything else is shown as stored.
std::string logDateDisplay(std::string_view stored, std::string_view displayFormat);
// "hhmm" as "hh:mm" when `labelTimeFormat` is 0; otherwise as stored.
std::string logTimeDisplay(std::string_view stored, int labelTimeFormat);

} // namespace qx7
