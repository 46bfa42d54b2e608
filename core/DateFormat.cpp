#include "core/DateFormat.h"

#include <clocale>
#include <ctime>
#include <langinfo.h>

namespace qx7 {

namespace {

std::string twoDigits(int v)
{
    std::string s = std::to_string(v % 100);
    return s.size() < 2 ? "0" + s : s;
}

std::string padded(int v, size_t width)
{
    std::string s = std::to_string(v);
    while (s.size() < width)
        s.insert(s.begin(), '0');
    return s;
}

// Length of a run of the same letter (case-insensitive) at position i.
size_t runLength(std::string_view f, size_t i)
{
    const char c = static_cast<char>(f[i] | 0x20);
    size_t n = 0;
    while (i + n < f.size() && (f[i + n] | 0x20) == c)
        ++n;
    return n;
}

// The first character (UTF-8 aware) of a separator setting.
std::string firstChar(const std::string& s)
{
    if (s.empty())
        return {};
    const auto lead = static_cast<unsigned char>(s[0]);
    size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return s.substr(0, n);
}

} // namespace

std::string FormatSettings::systemShortDateFormat()
{
    // Translate strftime's %d %m %y %Y into our letters; other text stays literal.
    std::string fmt = "mm/dd/yy";
    std::string posix;
    if (const char* old = std::setlocale(LC_TIME, nullptr)) {
        const std::string saved = old;
        if (std::setlocale(LC_TIME, "")) {
            posix = nl_langinfo(D_FMT);
            std::setlocale(LC_TIME, saved.c_str());
        }
    }
    if (posix.empty())
        return fmt;
    fmt.clear();
    for (size_t i = 0; i < posix.size(); ++i) {
        if (posix[i] != '%' || i + 1 == posix.size()) {
            fmt += posix[i];
            continue;
        }
        switch (posix[++i]) {
        case 'd':
            fmt += "dd";
            break;
        case 'e':
            fmt += "d";
            break;
        case 'm':
            fmt += "mm";
            break;
        case 'y':
            fmt += "yy";
            break;
        case 'Y':
            fmt += "yyyy";
            break;
        case 'b':
            fmt += "mmm";
            break;
        case 'B':
            fmt += "mmmm";
            break;
        default:
            break;
        }
    }
    return fmt;
}

FormatSettings& formatSettings()
{
    static FormatSettings settings;
    return settings;
}

bool Date::isValidCalendarDate() const
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

int Date::dayOfWeek() const
{
    // Sakamoto's method.
    static constexpr int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = month < 3 ? year - 1 : year;
    return (y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7;
}

Date Date::today()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, 0, 0, 0};
}

std::optional<Date> parseYmd(std::string_view s)
{
    if (s.size() != 8)
        return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9')
            return std::nullopt;
    auto num = [&](size_t pos, size_t len) {
        int v = 0;
        for (size_t i = pos; i < pos + len; ++i)
            v = v * 10 + (s[i] - '0');
        return v;
    };
    Date d{num(0, 4), num(4, 2), num(6, 2), 0, 0, 0};
    if (!d.isValidCalendarDate())
        return std::nullopt;
    return d;
}

std::string toYmd(const Date& d)
{
    return padded(d.year, 4) + padded(d.month, 2) + padded(d.day, 2);
}

std::string formatDateTime(std::string_view f, const Date& d, const FormatSettings& fs)
{
    std::string out;
    bool lastWasHour = false; // "m" right after "h" means minutes, as in the classic letters
    for (size_t i = 0; i < f.size();) {
        const char c = f[i];
        const char lc = static_cast<char>(c | 0x20);
        if (c == '"' || c == '\'') {
            const size_t end = f.find(c, i + 1);
            out += f.substr(i + 1, (end == std::string_view::npos ? f.size() : end) - i - 1);
            i = end == std::string_view::npos ? f.size() : end + 1;
            continue;
        }
        if (c == '/') {
            out += firstChar(fs.dateSeparator);
            ++i;
            continue;
        }
        if (c == ':') {
            out += firstChar(fs.timeSeparator);
            ++i;
            continue;
        }
        const size_t n = (lc >= 'a' && lc <= 'z') ? runLength(f, i) : 1;
        switch (lc) {
        case 'y':
            out += n <= 2 ? twoDigits(d.year) : padded(d.year, 4);
            break;
        case 'm':
            if (lastWasHour && n <= 2)
                out += n == 1 ? std::to_string(d.minute) : twoDigits(d.minute);
            else if (n == 1)
                out += std::to_string(d.month);
            else if (n == 2)
                out += twoDigits(d.month);
            else if (d.month >= 1 && d.month <= 12)
                out += n == 3 ? fs.shortMonthNames[d.month - 1] : fs.longMonthNames[d.month - 1];
            break;
        case 'd':
            if (n == 1)
                out += std::to_string(d.day);
            else if (n == 2)
                out += twoDigits(d.day);
            else if (n == 3)
                out += fs.shortDayNames[d.dayOfWeek()];
            else if (n == 4)
                out += fs.longDayNames[d.dayOfWeek()];
            else
                out += formatDateTime(fs.shortDateFormat, d, fs); // "ddddd" is the short date
            break;
        case 'c':
            out += formatDateTime(fs.shortDateFormat, d, fs);
            break;
        case 'h':
            out += n == 1 ? std::to_string(d.hour) : twoDigits(d.hour);
            break;
        case 'n':
            out += n == 1 ? std::to_string(d.minute) : twoDigits(d.minute);
            break;
        case 's':
            out += n == 1 ? std::to_string(d.second) : twoDigits(d.second);
            break;
        default:
            out.append(f.substr(i, n));
            break;
        }
        if (lc != ' ')
            lastWasHour = lc == 'h';
        i += n;
    }
    return out;
}

} // namespace qx7
