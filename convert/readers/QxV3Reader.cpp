#include "convert/readers/QxV3Reader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"

#include <filesystem>

namespace qx7 {

namespace {

constexpr size_t kQslRecord = 21;
constexpr size_t kSrtRecord = 13;

// ".QSL" record: call (length byte + 12) at 0, date-time number at 13, report
// (length byte + 3) at 17. ".SRT" record: flags at 10, ".QSL" record number at 11-12.
struct SrtEntry
{
    uint8_t flags;
    uint16_t qslRecord;
};

std::string companionPath(const std::string& srt)
{
    namespace fs = std::filesystem;
    for (const char* ext : {".QSL", ".qsl", ".Qsl"}) {
        const fs::path candidate = fs::path(srt).replace_extension(ext);
        if (fs::exists(candidate))
            return candidate.string();
    }
    return fs::path(srt).replace_extension(".QSL").string();
}

void replaceThirdR(std::string& report, char with)
{
    if (report.size() >= 3 && report[2] == 'R')
        report[2] = with;
}

// Bits 5 and 4 of the flags give the mode; without them the report's third character
// tells, and is replaced by what a report of that mode has there.
std::string_view modeOf(uint8_t flags, std::string& report)
{
    const bool bit4 = flags & 0x10, bit5 = flags & 0x20;
    if (bit4 && !bit5)
        return "SSB";
    if (bit5 && !bit4) {
        if (!report.empty() && (report[0] == 'O' || report[0] == 'M' || report[0] == 'T'))
            report.resize(1);
        return "CW";
    }
    if (bit4 && bit5) {
        replaceThirdR(report, '9');
        return "RTTY";
    }
    const char third = report.size() >= 3 ? report[2] : ' ';
    switch (third) {
    case 'R':
        report[2] = '9';
        return "RTTY";
    case 'F':
        report[2] = ' ';
        return "FM";
    case 'Y':
        report[2] = '9';
        return "PAC";
    case 'X':
        report[2] = '9';
        return "TOR";
    case 'P':
        report[2] = ' ';
        return "PKT";
    default:
        return {};
    }
}

void readQso(std::string_view qsl, uint8_t flags, FieldNormalizer& n)
{
    n.setCall(detail::pascalText(qsl, 0, 12));
    const PackedDateTime when = unpackDateTime(detail::le32(qsl, 13));
    n.setDate(FieldDate, when.mmddyy, "mmddyy");
    n.setTime(when.hhmm);
    if (flags & 0x80)
        n.setQslSent("Y");
    if (flags & 0x40)
        n.setMark("Y");
    n.NormalizeBand(qxOldBandText(flags & 0x0F));
    const uint8_t length = std::min<uint8_t>(detail::byteAt(qsl, 17), 3);
    std::string report(qsl.substr(18, length));
    n.NormalizeMode(modeOf(flags, report));
    for (int removed = 0; removed < 2; ++removed) {
        const size_t space = report.find(' ');
        if (space == std::string::npos)
            break;
        report.erase(space, 1);
    }
    replaceThirdR(report, '9');
    n.setRstSent(report);
    n.setRstRcvd(report);
}

} // namespace

std::string_view qxOldBandText(int index)
{
    static constexpr std::string_view bands[] = {"160", "80",   "40",   "30",   "20",
                                                 "17",  "15",   "12",   "10",   "6",
                                                 "2",   "70CM", "23CM", "13CM", "SAT"};
    return index >= 1 && index <= 15 ? bands[index - 1] : std::string_view();
}

PackedDateTime unpackDateTime(uint32_t value)
{
    std::string digits = std::to_string(value);
    if (digits.size() == 9)
        digits.insert(digits.begin(), '0');
    if (digits.size() != 10)
        return {};
    return {digits.substr(0, 6), digits.substr(6, 4)};
}

bool QxV3Reader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, 0);
    detail::RecordFile qsl, srt;
    if (!srt.load(spec.FileName, kSrtRecord) || !qsl.load(companionPath(spec.FileName), kQslRecord))
        return false;
    if (qsl.count() == 0 || qsl.truncated() || srt.truncated())
        return false;
    spec.CallSign = detail::pascalText(qsl.record(0), 0, 12);
    spec.LogSize = static_cast<long long>(qsl.count()) - 1;
    if (context.logSizeOnly())
        return true;
    for (size_t i = 0; i < srt.count() && !context.abortRequested(); ++i) {
        const std::string_view entry = srt.record(i);
        const SrtEntry e{detail::byteAt(entry, 10), detail::le16(entry, 11)};
        // A number outside the QSO records means the two files do not belong together.
        if (e.qslRecord == 0 || e.qslRecord >= qsl.count())
            return false;
        readQso(qsl.record(e.qslRecord), e.flags, context.normalizer());
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
