#include "convert/specs/SampleAnalysis.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/ParseDate.h"
#include "core/BandModeTables.h"
#include "core/IniFile.h"
#include "core/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace qx7 {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpperAlnum(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z');
}

// Upper case, letters and digits only: "QSO_DATE" and "Qso Date" both give QSODATE.
std::string headerWord(std::string_view header)
{
    std::string word;
    for (char c : toUpperAscii(std::string(header)))
        if (isUpperAlnum(c))
            word += c;
    return word;
}

// Header texts other programs and people use for the QX fields.
std::string keyOfHeader(std::string_view header)
{
    static const std::pair<const char*, const char*> names[] = {
        {"CALL", "CALL"},        {"CALLSIGN", "CALL"}, {"QSODATE", "DATE"},
        {"DATE", "DATE"},        {"TIMEON", "TIME"},   {"TIME", "TIME"},
        {"UTC", "TIME"},         {"BAND", "BAND"},     {"MODE", "MODE"},
        {"SUBMODE", "SUBM"},     {"SUBM", "SUBM"},     {"RSTSENT", "RSTS"},
        {"RSTS", "RSTS"},        {"SENT", "RSTS"},     {"RSTRCVD", "RSTR"},
        {"RSTRECEIVED", "RSTR"}, {"RSTR", "RSTR"},     {"RCVD", "RSTR"},
        {"QSLSENT", "QSLS"},     {"QSLS", "QSLS"},     {"QSLRCVD", "QSLR"},
        {"QSLRECEIVED", "QSLR"}, {"QSLR", "QSLR"},     {"QSLVIA", "QMGR"},
        {"QSLMANAGER", "QMGR"},  {"MANAGER", "QMGR"},  {"QMGR", "QMGR"},
        {"VIA", "QMGR"},         {"QSLSDATE", "DATS"}, {"DATEQSLSENT", "DATS"},
        {"DATS", "DATS"},        {"QSLRDATE", "DATR"}, {"DATEQSLRECEIVED", "DATR"},
        {"DATR", "DATR"},        {"COMMENT", "COMM"},  {"COMM", "COMM"},
        {"NOTES", "COMM"},       {"FREQ", "FREQ"},     {"FREQUENCY", "FREQ"},
        {"FREQENCY", "FREQ"},    {"QRG", "FREQ"},      {"DXCC", "DXCC"},
        {"DXCCNUMBER", "DXCC"},  {"XBND", "XBND"},     {"XBANDQSOS", "XBND"},
        {"MARK", "MARK"},
    };
    const std::string word = headerWord(header);
    for (const auto& [name, key] : names)
        if (word == name)
            return key;
    return {};
}

bool isCall(const std::string& value)
{
    if (value.size() < 3 || value.size() > 16)
        return false;
    bool digit = false, letter = false;
    for (char c : value) {
        if (!isUpperAlnum(c) && c != '/')
            return false;
        digit = digit || isDigit(c);
        letter = letter || (c >= 'A' && c <= 'Z');
    }
    return digit && letter;
}

bool isTime(const std::string& value)
{
    std::string digits;
    for (char c : value)
        if (isDigit(c))
            digits += c;
        else if (c != ':')
            return false;
    if (digits.size() != 4 && digits.size() != 6)
        return false;
    return std::atoi(digits.substr(0, 2).c_str()) < 24 &&
           std::atoi(digits.substr(2, 2).c_str()) < 60;
}

bool isBand(const std::string& value)
{
    for (int i = 1; i <= MaxBand; ++i)
        if (toUpperAscii(std::string(bandName(i))) == value)
            return true;
    return false;
}

bool isMode(const std::string& value)
{
    static const char* const aliases[] = {"USB", "LSB", "PSK31", "PSK63", "FT4", "PHONE"};
    if (modeIndex(value) > 0)
        return true;
    return std::find(std::begin(aliases), std::end(aliases), value) != std::end(aliases);
}

bool isFrequency(const std::string& value)
{
    const size_t sep = value.find_first_of(".,");
    if (sep == std::string::npos || sep == 0 || sep + 1 >= value.size())
        return false;
    for (size_t i = 0; i < value.size(); ++i)
        if (i != sep && !isDigit(value[i]))
            return false;
    return true;
}

bool isReport(const std::string& value)
{
    return (value.size() == 2 || value.size() == 3) &&
           std::all_of(value.begin(), value.end(), isDigit) && value[0] >= '1' && value[0] <= '5' &&
           value[1] >= '1';
}

using Test = bool (*)(const std::string&);

bool allMatch(const std::vector<std::string>& values, Test test)
{
    bool any = false;
    for (const std::string& v : values) {
        if (v.empty())
            continue;
        if (!test(v))
            return false;
        any = true;
    }
    return any;
}

bool isTaken(const std::vector<std::string>& taken, std::string_view key)
{
    return std::find(taken.begin(), taken.end(), key) != taken.end();
}

} // namespace

TextGuess analyzeSample(const std::vector<std::string>& lines)
{
    long long tabs = 0, semicolons = 0, commas = 0, spaces = 0, doubles = 0, singles = 0;
    for (const std::string& line : lines)
        for (char c : line) {
            tabs += c == '\t';
            semicolons += c == ';';
            commas += c == ',';
            spaces += c == ' ';
            doubles += c == '"';
            singles += c == '\'';
        }
    TextGuess guess;
    long long best = 0;
    for (const auto& [count, delimiter] : {std::pair{tabs, '\t'}, std::pair{semicolons, ';'},
                                           std::pair{commas, ','}, std::pair{spaces, ' '}})
        if (count > best) {
            best = count;
            guess.delimiter = delimiter;
        }
    if (doubles == 0 && singles == 0)
        guess.qualifier = '\0';
    else if (doubles > singles && doubles > 20)
        guess.qualifier = '"';
    else if (singles > doubles && singles > 20)
        guess.qualifier = '\'';
    const std::string first = lines.empty() ? std::string() : lines.front();
    guess.headerRow = std::count_if(first.begin(), first.end(), isDigit) < 8;
    // Columns padded with blanks rather than separated by a character.
    const bool padded = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("  ") != std::string::npos;
    });
    guess.fixedWidth = tabs == 0 && semicolons == 0 && commas == 0 && lines.size() > 1 && padded &&
                       guessBreaks(lines, '\0').size() > 2;
    if (guess.fixedWidth)
        guess.delimiter = '\0';
    return guess;
}

std::vector<int> guessBreaks(const std::vector<std::string>& lines, char delimiter)
{
    std::vector<int> breaks;
    if (lines.empty())
        return breaks;
    const std::string& first = lines.front();
    if (delimiter != 0) {
        for (size_t i = 0; i < first.size(); ++i)
            if (first[i] == delimiter)
                breaks.push_back(static_cast<int>(i));
    } else {
        // A column starts where every line has a blank before it and one line has text.
        size_t longest = 0;
        for (const std::string& l : lines)
            longest = std::max(longest, l.size());
        const auto blankAt = [&](size_t col) {
            return std::all_of(lines.begin(), lines.end(), [col](const std::string& l) {
                return col >= l.size() || l[col] == ' ';
            });
        };
        for (size_t col = 1; col < longest; ++col)
            if (blankAt(col - 1) && !blankAt(col))
                breaks.push_back(static_cast<int>(col));
    }
    size_t end = first.size();
    if (delimiter == 0)
        for (const std::string& l : lines)
            end = std::max(end, l.size());
    if (end > 0 && (breaks.empty() || breaks.back() != static_cast<int>(end)))
        breaks.push_back(static_cast<int>(end));
    return breaks;
}

std::vector<int> widthsFromBreaks(const std::vector<int>& breaks, char delimiter)
{
    std::vector<int> widths;
    int last = 0;
    for (size_t i = 0; i < breaks.size(); ++i) {
        int width = breaks[i] - last;
        if (i > 0 && delimiter != 0)
            --width;
        widths.push_back(std::max(0, width));
        last = breaks[i];
    }
    return widths;
}

std::string guessDateFormat(const std::vector<std::string>& values)
{
    static const char* const formats[] = {"yyyymmdd",   "yyyy-mm-dd",  "yyyy/mm/dd", "yyyy.mm.dd",
                                          "dd.mm.yyyy", "dd-mm-yyyy",  "dd/mm/yyyy", "mm/dd/yyyy",
                                          "dd.mm.yy",   "dd-mmm-yyyy", "dd-mmm-yy",  "yymmdd"};
    for (const char* format : formats) {
        const std::string_view f(format);
        bool any = false, all = true;
        for (const std::string& v : values) {
            if (v.empty())
                continue;
            any = true;
            if (v.size() != f.size() || ParseDate(v, f).empty()) {
                all = false;
                break;
            }
        }
        if (any && all)
            return format;
    }
    return {};
}

std::string guessFieldKey(std::string_view header, const std::vector<std::string>& values,
                          const std::vector<std::string>& taken)
{
    if (const std::string key = keyOfHeader(header); !key.empty())
        return isTaken(taken, key) ? std::string() : key;
    std::vector<std::string> upper;
    for (const std::string& v : values)
        upper.push_back(toUpperAscii(trimmed(v)));
    const auto free = [&](const char* key) { return !isTaken(taken, key); };
    if (free("DATE") && !guessDateFormat(upper).empty())
        return "DATE";
    if (free("TIME") && allMatch(upper, isTime))
        return "TIME";
    if (free("BAND") && allMatch(upper, isBand))
        return "BAND";
    if (free("MODE") && allMatch(upper, isMode))
        return "MODE";
    if (free("FREQ") && allMatch(upper, isFrequency))
        return "FREQ";
    if (allMatch(upper, isReport))
        return free("RSTS") ? "RSTS" : free("RSTR") ? "RSTR" : "";
    if (free("CALL") && allMatch(upper, isCall))
        return "CALL";
    return {};
}

bool mappingIsComplete(const std::vector<std::string>& keys)
{
    const auto has = [&](std::string_view key) {
        return std::any_of(keys.begin(), keys.end(),
                           [key](const std::string& k) { return equalsIgnoreCase(k, key); });
    };
    return has("CALL") && has("DATE") && has("TIME") && (has("BAND") || has("FREQ")) && has("MODE");
}

} // namespace qx7
