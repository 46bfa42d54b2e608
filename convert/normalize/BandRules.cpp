#include "convert/normalize/BandRules.h"

#include "convert/normalize/FieldCodes.h"
#include "core/BandModeTables.h"
#include "core/Text.h"

#include <charconv>
#include <initializer_list>

namespace qx7 {

namespace {

struct Exact
{
    std::string_view text;
    char code;
};

struct TextRange
{
    std::string_view low, high;
    char code;
};

struct FreqRange
{
    double low, high;
    char code;
};

char findExact(std::string_view value, std::initializer_list<Exact> table)
{
    for (const Exact& e : table)
        if (e.text == value)
            return e.code;
    return ' ';
}

template <typename Table>
char findRange(std::string_view value, const Table& table)
{
    for (const TextRange& r : table)
        if (value >= r.low && value <= r.high)
            return r.code;
    return ' ';
}

constexpr TextRange kMhzRanges[] = {
    {"144", "148", 'N'},   {"222", "225", 'O'},   {"420", "450", 'P'},   {"902", "928", 'Q'},
    {"1240", "1300", 'R'}, {"2300", "2450", 'S'}, {"3300", "3500", 'T'}, {"5650", "5925", 'U'}};

constexpr TextRange kMicrowaveRanges[] = {{"10000", "10500", 'V'},   {"24000", "24250", 'W'},
                                          {"47000", "47200", 'X'},   {"75500", "81000", 'Y'},
                                          {"119980", "120020", 'Z'}, {"142000", "149000", '['},
                                          {"241000", "250000", '\\'}};

constexpr FreqRange kFrequencies[] = {
    {0.136, 0.137, 'A'}, {1.8, 2, 'B'},         {3.5, 4, 'C'},         {5.25, 5.4, 'D'},
    {7, 7.3, 'E'},       {10.1, 10.15, 'F'},    {14, 14.45, 'G'},      {18.068, 18.168, 'H'},
    {21, 21.45, 'I'},    {24.89, 24.99, 'J'},   {28, 29.7, 'K'},       {50, 54, 'L'},
    {70, 71, 'M'},       {144, 148, 'N'},       {222, 225, 'O'},       {420, 450, 'P'},
    {902, 928, 'Q'},     {1240, 1300, 'R'},     {2300, 2450, 'S'},     {3300, 3500, 'T'},
    {5650, 5925, 'U'},   {10000, 10500, 'V'},   {24000, 24250, 'W'},   {47000, 47200, 'X'},
    {75500, 81000, 'Y'}, {119980, 120020, 'Z'}, {142000, 149000, '['}, {241000, 250000, '\\'}};

char frequencyRange(double value, double scale)
{
    for (const FreqRange& r : kFrequencies)
        if (value >= r.low * scale && value <= r.high * scale)
            return r.code;
    return ' ';
}

} // namespace

char bandCodeFromTableText(std::string_view upper)
{
    // Compared in place: an upper-cased copy of every name costs more than the search.
    auto sameUpper = [upper](std::string_view name) {
        if (name.size() != upper.size())
            return false;
        for (size_t k = 0; k < name.size(); ++k) {
            const char c =
                name[k] >= 'a' && name[k] <= 'z' ? static_cast<char>(name[k] - 32) : name[k];
            if (c != upper[k])
                return false;
        }
        return true;
    };
    for (int i = 1; i <= MaxBand; ++i)
        if (sameUpper(bandName(i)))
            return bandCode(i);
    return ' ';
}

char bandCodeFromWholeMhz(std::string_view value)
{
    const char code = findExact(value, {{"1", 'B'},
                                        {"3", 'C'},
                                        {"5", 'D'},
                                        {"7", 'E'},
                                        {"14", 'G'},
                                        {"18", 'H'},
                                        {"21", 'I'},
                                        {"24", 'J'},
                                        {"28", 'K'},
                                        {"29", 'K'},
                                        {"50", 'L'},
                                        {"70", 'M'}});
    return code != ' ' ? code : findRange(value, kMhzRanges);
}

char bandCodeFromMetres(std::string_view value)
{
    return findExact(value, {{"2190", 'A'},
                             {"160", 'B'},
                             {"80", 'C'},
                             {"75", 'C'},
                             {"60", 'D'},
                             {"40", 'E'},
                             {"20", 'G'},
                             {"17", 'H'},
                             {"15", 'I'},
                             {"12", 'J'},
                             {"6", 'L'},
                             {"4", 'M'},
                             {"2", 'N'}});
}

char bandCodeMetresOnly(std::string_view value)
{
    return findExact(value, {{"2190", 'A'}, {"160", 'B'}, {"16", 'B'},  {"80", 'C'},  {"60", 'D'},
                             {"40", 'E'},   {"30", 'F'},  {"20", 'G'},  {"17", 'H'},  {"15", 'I'},
                             {"12", 'J'},   {"10", 'K'},  {"6", 'L'},   {"4", 'M'},   {"2", 'N'},
                             {"1.25", 'O'}, {"70C", 'P'}, {"33C", 'Q'}, {"23C", 'R'}, {"13C", 'S'},
                             {"9C", 'T'},   {"6C", 'U'},  {"3C", 'V'}});
}

char bandCodeMhzOnly(std::string_view value)
{
    char code = findExact(value, {{"1", 'B'},
                                  {"3", 'C'},
                                  {"5", 'D'},
                                  {"7", 'E'},
                                  {"10", 'F'},
                                  {"14", 'G'},
                                  {"18", 'H'},
                                  {"21", 'I'},
                                  {"24", 'J'},
                                  {"28", 'K'},
                                  {"29", 'K'},
                                  {"50", 'L'},
                                  {"70", 'M'}});
    if (code == ' ')
        code = findRange(value, kMhzRanges);
    if (code == ' ')
        code = findRange(value, kMicrowaveRanges);
    if (code == ' ')
        code = findExact(value, {{"A", 'L'}, {"B", 'M'}, {"D", 'N'}, {"E", 'O'}, {"F", 'P'}});
    return code;
}

char bandCodeFromFrequency(std::string_view value)
{
    double number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size())
        return ' ';
    const char mhz = frequencyRange(number, 1);
    return mhz != ' ' ? mhz : frequencyRange(number, 1000);
}

std::string frequencyInMhz(std::string_view value)
{
    double number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size() ||
        frequencyRange(number, 1) != ' ' || frequencyRange(number, 1000) == ' ')
        return std::string(value);
    // Moved as text, so that no digit is lost to a binary fraction.
    const size_t point = value.find('.');
    std::string digits(value.substr(0, point));
    std::string fraction =
        point == std::string_view::npos ? "" : std::string(value.substr(point + 1));
    while (digits.size() < 4)
        digits.insert(0, 1, '0');
    fraction.insert(0, digits.substr(digits.size() - 3));
    digits.resize(digits.size() - 3);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string mhz = digits + (fraction.empty() ? "" : "." + fraction);
    while (mhz.size() > 1 && mhz[0] == '0' && mhz[1] != '.')
        mhz.erase(0, 1);
    return mhz;
}

} // namespace qx7
