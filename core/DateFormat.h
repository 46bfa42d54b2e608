#pragma once
// Date formatting with the format letters used throughout the program (labels, grids,
// reports): d dd ddd dddd m mm mmm mmmm yy yyyy c, h hh n nn s ss, "/" and ":" for the
// separators, quoted text kept as written. Month names and separators come from the
// ini section "DateFormats" and are process-wide, as the settings are.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qx7 {

struct FormatSettings
{
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    std::string dateSeparator = "-"; // one character (UTF-8 may take several bytes)
    std::string timeSeparator = ":";
    std::string shortDateFormat = systemShortDateFormat();

    // The system's short date format in our letters (from the C library's locale).
    static std::string systemShortDateFormat();
};

// The process-wide settings every formatting uses unless given its own.
FormatSettings& formatSettings();

struct Date
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool isValidCalendarDate() const;
    int dayOfWeek() const; // 0 Sunday
    static Date today();
    auto operator<=>(const Date&) const = default;
};

// "yyyymmdd" → date; nothing when the text is not a calendar date.
std::optional<Date> parseYmd(std::string_view yyyymmdd);
std::string toYmd(const Date& d);

std::string formatDateTime(std::string_view format, const Date& d,
                           const FormatSettings& fs = formatSettings());

} // namespace qx7
