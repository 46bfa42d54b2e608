#include "convert/readers/CabrilloReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "core/Text.h"

namespace qx7 {

namespace {

struct Designator
{
    std::string_view text;
    std::string_view mhz;
};

// Cabrillo's band designators above 30 MHz and the texts our own writer uses.
constexpr Designator kDesignators[] = {
    {"1.2G", "1240"},   {"2.3G", "2300"},   {"3.4G", "3400"},   {"5.7G", "5700"},
    {"10G", "10000"},   {"24G", "24000"},   {"47G", "47000"},   {"75G", "76000"},
    {"76G", "76000"},   {"119G", "120000"}, {"123G", "120000"}, {"134G", "142000"},
    {"142G", "142000"}, {"241G", "241000"}, {"4M", "70"},       {"2M", "144"},
    {"70C", "432"},     {"23C", "1240"},    {"20C", "1240"},    {"13C", "2300"},
    {"10C", "2300"},    {"SAT", "SAT"},
};

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

// The report is the first field of the exchange when it begins with a digit.
std::string reportOf(const std::vector<std::string>& exchange)
{
    if (exchange.empty())
        return {};
    if (exchange.front().front() >= '0' && exchange.front().front() <= '9')
        return exchange.front();
    return joined(exchange);
}

// A call holds a letter and a digit ("599", "DX", "14" are exchanges).
bool looksLikeCall(std::string_view word)
{
    bool letter = false, digit = false;
    for (const char c : word) {
        letter = letter || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        digit = digit || (c >= '0' && c <= '9');
    }
    return letter && digit;
}

bool isTransmitterNumber(std::string_view word)
{
    return word == "0" || word == "1";
}

// The index of the word of `words` (views into `line`) that starts at column `column`
// (from 0, counted in the line without its "QSO:" prefix's leading blanks), else
// words.size().
size_t wordAtColumn(std::string_view line, const std::vector<std::string_view>& words,
                    size_t column)
{
    for (size_t i = 0; i < words.size(); ++i)
        if (static_cast<size_t>(words[i].data() - line.data()) == column)
            return i;
    return words.size();
}

} // namespace

std::optional<CabrilloQso> parseCabrilloQso(std::string_view line)
{
    line = detail::trimSpaces(line);
    if (line.size() < 4 || toUpperAscii(line.substr(0, 4)) != "QSO:")
        return std::nullopt;
    const std::vector<std::string_view> w = detail::splitWords(line.substr(4));
    CabrilloQso q;
    std::string* heads[] = {&q.frequency, &q.mode, &q.date, &q.time, &q.ownCall};
    for (size_t i = 0; i < 5 && i < w.size(); ++i)
        *heads[i] = w[i];
    if (w.size() <= 5)
        return q;
    const size_t rest = w.size() - 5;
    // rest = 2k + 1 without, 2k + 2 with a transmitter number.
    const size_t k = rest % 2 == 1 ? (rest - 1) / 2 : (rest - 2) / 2;
    size_t callAt = 5 + k;
    // The usual layout puts the station worked in column 56 and the transmitter number
    // in column 81; there a blank exchange field (one report only) still leaves every
    // word in its place, which counting words cannot see.
    const size_t inColumns = wordAtColumn(line, w, 55);
    if (inColumns > 5 && inColumns < w.size() && looksLikeCall(w[inColumns]))
        callAt = inColumns;
    else if (!looksLikeCall(w[callAt]))
        for (size_t i = 5; i < w.size(); ++i)
            if (looksLikeCall(w[i])) {
                callAt = i;
                break;
            }
    size_t end = w.size();
    const bool txInColumns = wordAtColumn(line, w, 80) == w.size() - 1;
    if (end > callAt + 1 && isTransmitterNumber(w.back()) &&
        (txInColumns || end - callAt - 1 > callAt - 5))
        --end; // more received fields than sent ones: the last is the transmitter's
    q.call = w[callAt];
    for (size_t i = 5; i < callAt; ++i)
        q.sent.emplace_back(w[i]);
    for (size_t i = callAt + 1; i < end; ++i)
        q.received.emplace_back(w[i]);
    return q;
}

std::string cabrilloBandAsMhz(std::string_view frequency)
{
    const std::string upper = toUpperAscii(frequency);
    for (const Designator& d : kDesignators)
        if (upper == d.text)
            return std::string(d.mhz);
    const std::string mhz = detail::khzToMhz(upper);
    if (mhz.empty())
        return upper; // "LIGHT" and the like: left to the checks
    // 50, 70, 144, 222, 432, 902: designators in MHz; every HF frequency is in kHz.
    if (upper.find_first_of(".,") == std::string::npos && upper.size() <= 3)
        return upper;
    return mhz;
}

bool CabrilloReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    return detail::readTextLog(spec, context, 1, [](std::string_view line, FieldNormalizer& n) {
        const auto q = parseCabrilloQso(line);
        if (!q)
            return false; // headers, QTC lines, a cut "END-OF-LOG"
        n.NormalizeBand(cabrilloBandAsMhz(q->frequency));
        // "DG" names no one mode; PSK stands for the digital modes, as no generic
        // digital mode exists in the table.
        n.NormalizeMode(toUpperAscii(q->mode) == "DG" ? std::string("PSK") : q->mode);
        n.setDate(FieldDate, q->date, "yyyy-mm-dd");
        n.setTime(q->time);
        n.setCall(q->call);
        n.setRstSent(reportOf(q->sent));
        n.setRstRcvd(reportOf(q->received));
        return true;
    });
}

} // namespace qx7
