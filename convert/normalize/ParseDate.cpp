#include "convert/normalize/ParseDate.h"

#include "core/DateFormat.h"
#include "core/Text.h"

#include <array>
#include <charconv>

namespace qx7 {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool toNumber(std::string_view text, int& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string centuryFor(std::string_view twoDigits)
{
    return twoDigits >= "49" && twoDigits <= "99" ? "19" : "20";
}

struct DateParts
{
    std::string year, month, monthLetters, day;
};

bool splitByFormat(std::string_view value, std::string_view format, DateParts& parts)
{
    for (size_t i = 0; i < format.size(); ++i) {
        const char f = format[i];
        const bool isPart = f == 'y' || f == 'Y' || f == 'd' || f == 'D' || f == 'm' || f == 'M';
        if (!isPart)
            continue;
        if (i >= value.size())
            return false;
        const char c = value[i];
        if (f == 'y' || f == 'Y')
            parts.year += c;
        else if (f == 'd' || f == 'D')
            parts.day += c;
        else if (c >= '0' && c <= '9')
            parts.month += c;
        else
            parts.monthLetters += c;
    }
    return true;
}

} // namespace

// "yyyymmdd" and "yymmdd" of digits, which nearly every date of a big log is.
bool parsePlainDigits(std::string_view value, std::string_view format, Date& date)
{
    const bool full = format == "yyyymmdd" && value.size() >= 8;
    const bool shortYear = format == "yymmdd" && value.size() >= 6;
    if (!full && !shortYear)
        return false;
    const size_t n = full ? 8 : 6;
    for (size_t i = 0; i < n; ++i)
        if (value[i] < '0' || value[i] > '9')
            return false;
    auto num = [&](size_t pos) { return (value[pos] - '0') * 10 + (value[pos + 1] - '0'); };
    const int yy = full ? num(2) : num(0);
    date.year = (full ? num(0) * 100 : (yy >= 49 ? 1900 : 2000)) + yy;
    date.month = num(n - 4);
    date.day = num(n - 2);
    return true;
}

bool parsePlainDate(std::string_view value, std::string_view format, char (&buffer)[8],
                    std::string_view& ymd)
{
    Date plain;
    if (!parsePlainDigits(value, format, plain))
        return false;
    ymd = {};
    if (!plain.isValidCalendarDate())
        return true;
    const auto put = [&buffer](size_t pos, int twoDigits) {
        buffer[pos] = static_cast<char>('0' + twoDigits / 10);
        buffer[pos + 1] = static_cast<char>('0' + twoDigits % 10);
    };
    const int yy = plain.year % 100;
    put(0, yy >= 49 ? 19 : 20); // the two-digit year decides the century
    put(2, yy);
    put(4, plain.month);
    put(6, plain.day);
    ymd = std::string_view(buffer, 8);
    return true;
}

std::string ParseDate(std::string_view value, std::string_view format)
{
    char buffer[8];
    if (std::string_view ymd; parsePlainDate(value, format, buffer, ymd))
        return std::string(ymd);
    DateParts parts;
    if (!splitByFormat(value, format, parts))
        return {};
    if (parts.month.empty() && !parts.monthLetters.empty()) {
        const std::string letters = toUpperAscii(parts.monthLetters).substr(0, 3);
        for (size_t m = 0; m < kMonths.size(); ++m)
            if (letters == kMonths[m])
                parts.month = (m < 9 ? "0" : "") + std::to_string(m + 1);
    }
    if (parts.year.size() == 2)
        parts.year = centuryFor(parts.year) + parts.year;
    Date date;
    if (!toNumber(parts.year, date.year) || !toNumber(parts.month, date.month) ||
        !toNumber(parts.day, date.day))
        return {};
    if (date.year < 1 || date.year > 9999 || !date.isValidCalendarDate())
        return {};
    std::string ymd = toYmd(date);
    ymd.replace(0, 2, centuryFor(std::string_view(ymd).substr(2, 2)));
    return ymd;
}

} // namespace qx7
