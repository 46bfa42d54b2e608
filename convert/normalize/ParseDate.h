#pragma once
// Reading dates of foreign logs with a format of the letters y, m, d (any case) and
// separators, the way every reader and the date-format dialog's self-test do.

#include <string>
#include <string_view>

namespace qx7 {

// "yyyymmdd", or empty when the value does not form a calendar date under the format.
// Accepted dates always lie from 1949 to 2048: the two-digit year decides the century.
std::string ParseDate(std::string_view value, std::string_view format);

// ParseDate's quick way for the dates of digits only ("yyyymmdd", "yymmdd") that nearly
// every log holds: true when it applies, and `ymd` then holds ParseDate's answer (in
// `buffer`, or empty).
bool parsePlainDate(std::string_view value, std::string_view format, char (&buffer)[8],
                    std::string_view& ymd);

} // namespace qx7
