#include "store/LogDisplay.h"

#include "core/DateFormat.h"

#include <charconv>

namespace qx7 {

namespace {

int number(std::string_view s)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() ? v : 0;
}

} // namespace

std::string logDateDisplay(std::string_view stored, std::string_view displayFormat)
{
    if (stored.size() != 8)
        return std::string(stored);
    const int year = number(stored.substr(0, 4));
    const int month = number(stored.substr(4, 2));
    const int day = number(stored.substr(6, 2));
    if (year == 0 || month == 0 || day == 0 || month > 12 || day > 31)
        return std::string(stored);
    const auto date = parseYmd(stored);
    if (!date)
        return std::string(stored) + "???";
    return formatDateTime(displayFormat, *date);
}

std::string logTimeDisplay(std::string_view stored, int labelTimeFormat)
{
    if (labelTimeFormat != 0 || stored.size() < 4)
        return std::string(stored);
    return std::string(stored.substr(0, 2)) + ":" + std::string(stored.substr(2, 2));
}

} // namespace qx7
