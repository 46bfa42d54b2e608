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
    for (size_t i = 0; i < k; ++i)
        q.sent.emplace_back(w[5 + i]);
    q.call = w[5 + k];
    for (size_t i = 0; i < k; ++i)
        q.received.emplace_back(w[6 + k + i]);
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
