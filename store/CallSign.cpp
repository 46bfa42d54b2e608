#include "store/CallSign.h"

#include "core/BandModeTables.h"
#include "core/DateFormat.h"
#include "core/Text.h"

namespace qx7 {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool inRange(char c, char from, char to)
{
    return c >= from && c <= to;
}

bool oneOf(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

char at(std::string_view s, size_t i)
{
    return i < s.size() ? s[i] : '\0';
}

// Russian calls: every letter but G and O counts as "letter set" here.
std::string russianPrefix(char s, char t)
{
    const bool letterSet = inRange(s, 'A', 'F') || inRange(s, 'H', 'N') || inRange(s, 'P', 'Z');
    if (s == '2' || (t == '2' && letterSet))
        return "UA2";
    if (oneOf(s, "0789"))
        return "UA9";
    if (oneOf(t, "0789"))
        return letterSet ? "UA9" : "UA1";
    return "UA1";
}

std::string uPrefix(char s, char t)
{
    const bool letterSet = inRange(s, 'A', 'D') || inRange(s, 'F', 'I');
    if (inRange(s, 'J', 'M'))
        return "UK";
    if (inRange(s, 'N', 'Q'))
        return "UN";
    if (s == '2' || (t == '2' && letterSet))
        return "UA2";
    if (s == '5' || inRange(s, 'R', 'Z'))
        return "UR";
    if (oneOf(s, "0789"))
        return "UA9";
    if (oneOf(t, "0789"))
        return letterSet ? "UA9" : "UA1";
    return "UA1";
}

// The UK prefixes shared by the "2" and the G/M calls.
std::string britishPrefix(char s, bool twoCall)
{
    if (s == 'D' || (!twoCall && s == 'T'))
        return "GD";
    if (s == 'I' || s == 'N')
        return "GI";
    if (s == 'H' || s == 'J')
        return "GJ";
    if (twoCall ? oneOf(s, "AMST") : oneOf(s, "MS"))
        return "GM";
    if (s == 'P' || s == 'U')
        return "GU";
    if (twoCall ? oneOf(s, "CWXY") : oneOf(s, "CW"))
        return "GW";
    return "G";
}

// The bureau prefix for a base call; empty when none applies.
std::string bureauPrefix(std::string_view b)
{
    const char f = at(b, 0), s = at(b, 1), t = at(b, 2);
    switch (f) {
    case '2':
        return britishPrefix(s, true);
    case '3':
        if (s == 'G')
            return "CE";
        if (inRange(s, 'H', 'U'))
            return "BY";
        if (s == 'Z')
            return "SP";
        return {};
    case '4':
        if (inRange(s, 'A', 'C'))
            return "XE";
        if (inRange(s, 'D', 'I'))
            return "DU";
        if (s == 'M')
            return "YV";
        if (s == 'N' || s == 'O')
            return "YU";
        return {};
    case '6':
        if (inRange(s, 'D', 'J'))
            return "XE";
        if (inRange(s, 'K', 'N'))
            return "HL";
        return {};
    case '7':
    case '8':
        if (inRange(s, 'J', 'N'))
            return "JA";
        if (s == 'S')
            return "SM";
        return {};
    case 'A':
        if (inRange(s, 'A', 'G') || inRange(s, 'I', 'K'))
            return "KA";
        if (s == 'H')
            return "KH";
        if (s == 'L')
            return "KL";
        if (inRange(s, 'M', 'O'))
            return "EA";
        return {};
    case 'B':
        if (inRange(s, 'M', 'Q') || inRange(s, 'U', 'X'))
            return "BV";
        return "BY";
    case 'C':
        if (inRange(s, 'F', 'K') || s == 'Y' || s == 'Z')
            return "VE";
        return {};
    case 'D':
        if (inRange(s, '7', '9') || s == 'S' || s == 'T')
            return "HL";
        return {};
    case 'E':
        if (s == '2')
            return "HS";
        if (inRange(s, 'A', 'H'))
            return "EA";
        if (inRange(s, 'M', 'O'))
            return "UR";
        return {};
    case 'G':
    case 'M':
        return britishPrefix(s, false);
    case 'H':
        if (inRange(s, 'W', 'Y'))
            return "F";
        return {};
    case 'I':
        if (t == '9')
            return "IT9";
        if (t == '0')
            return "IS0";
        return "I";
    case 'K':
    case 'N':
    case 'W':
        if (s == 'H')
            return "KH";
        if (s == 'L')
            return "KL";
        if (s == 'P')
            return "KP";
        if (isDigit(s) || inRange(s, 'A', 'Z'))
            return "KA";
        return {};
    case 'R':
        return russianPrefix(s, t);
    case 'T':
        if (oneOf(s, "HMPQVW"))
            return "F";
        return {};
    case 'U':
        return uPrefix(s, t);
    case 'V':
        if (inRange(s, 'A', 'G') || oneOf(s, "OXY"))
            return "VE";
        return {};
    case 'X':
        if (s == 'J' || s == 'O')
            return "VE";
        if (s == 'Q' || s == 'R')
            return "CE";
        return {};
    case 'Y':
        if (oneOf(s, "TUZ"))
            return "YU";
        return {};
    case 'Z':
        if (inRange(s, 'V', 'Z'))
            return "PY";
        return {};
    default:
        return {};
    }
}

} // namespace

std::string CallSortKey(std::string_view call)
{
    std::string c(call);
    // Portable suffixes of one character: /P, /M, /A, /4 ...
    if (c.size() >= 2 && c[c.size() - 2] == '/' &&
        (isDigit(c.back()) || oneOf(c.back(), "AEGJMPT")))
        c.resize(c.size() - 2);
    if (c.size() >= 3) {
        const std::string_view tail = std::string_view(c).substr(c.size() - 3);
        if (tail == "/AM" || tail == "/MM")
            c.resize(c.size() - 3);
    }
    std::string base = c;
    if (const size_t slash = c.find('/'); slash != std::string::npos) {
        const std::string left = c.substr(0, slash);
        const std::string right = c.substr(slash + 1);
        base = right.size() > left.size() ? right : left;
    }
    const std::string prefix = bureauPrefix(base);
    if (prefix.empty())
        return base;
    for (char ch : base)
        if (isDigit(ch))
            return prefix + ch + base;
    return base;
}

std::string FormatLabelValue(std::string_view text, int kind, const LabelFormat& format)
{
    switch (kind) {
    case CallKey:
        return CallSortKey(text);
    case DateValue: {
        const auto date = parseYmd(text.substr(0, 8));
        if (!date || text.size() < 8)
            throw ConversionError("'" + std::string(text) + "' is not a valid date");
        return formatDateTime(format.dateFormat, *date);
    }
    case TimeValue:
        if (format.timeFormat == 0)
            return std::string(text.substr(0, 2)) + ":" +
                   std::string(text.substr(std::min<size_t>(2, text.size()), 2));
        if (format.timeFormat == 1)
            return std::string(text.substr(0, 4));
        return {};
    case BandValue: {
        const int n = bandIndex(text);
        if (format.bandFormat == 0)
            return std::string(bandName(n));
        if (format.bandFormat == 1) {
            if (n < 1 || static_cast<size_t>(n) > format.bandFrequencyTexts.size())
                return "???";
            const std::string& line = format.bandFrequencyTexts[static_cast<size_t>(n - 1)];
            const size_t eq = line.find('=');
            return eq == std::string::npos ? std::string() : line.substr(eq + 1);
        }
        return {};
    }
    default:
        return {};
    }
}

std::string SlashZeros(std::string_view text, int slashedZero)
{
    const char code = static_cast<char>(static_cast<unsigned char>(slashedZero & 0xFF));
    const std::string replacement = cp1252ToUtf8(std::string_view(&code, 1));
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '0')
            out += replacement;
        else
            out += c;
    }
    return out;
}

bool IsPlausibleCall(std::string& text)
{
    if (text.empty())
        return false;
    if (const size_t blank = text.find(' '); blank != std::string::npos)
        text.resize(blank);
    if (text.size() < 3 || text.size() > 12)
        return false;
    std::string cleaned;
    int digits = 0, letters = 0;
    for (char c : text) {
        if (isDigit(c)) {
            ++digits;
            cleaned += c;
        } else if (c == '/' || inRange(c, 'A', 'Z')) {
            ++letters;
            cleaned += c;
        }
    }
    if ((digits == 1 || digits == 2) && letters >= 2) {
        text = cleaned;
        return !(text.size() >= 4 && isDigit(text[2]) && isDigit(text[3]));
    }
    return false;
}

} // namespace qx7
