#include "convert/readers/QxV4Reader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/QxV3Reader.h"
#include "convert/readers/ReaderSupport.h"

namespace qx7 {

namespace {

constexpr size_t kRecord = 31;

// Record: call (13 characters) at 0, date-time number at 13, flags at 17 (bit 7 QSL
// sent, 6 QSL received, 5 mark, 4 not a QSO, 0-3 band index), mode number at 18, report
// sent at 19-24, report received at 25-30.
std::string_view modeOf(uint8_t number)
{
    static constexpr std::string_view modes[] = {"",     "SSB", "CW",  "RTTY", "FM",  "AM",
                                                 "SSTV", "ATV", "TOR", "PKT",  "PAC", "CLO",
                                                 "PSK",  "CW",  "CW",  "SSB"};
    return number < std::size(modes) ? modes[number] : std::string_view();
}

void readQso(std::string_view r, FieldNormalizer& n)
{
    n.setCall(detail::paddedText(r, 0, 13));
    const PackedDateTime when = unpackDateTime(detail::le32(r, 13));
    n.setDate(FieldDate, when.mmddyy, "mmddyy");
    n.setTime(when.hhmm);
    const uint8_t flags = detail::byteAt(r, 17);
    if (flags & 0x80)
        n.setQslSent("Y");
    if (flags & 0x40)
        n.setQslRcvd("Y");
    if (flags & 0x20)
        n.setMark("Y");
    n.NormalizeBand(qxOldBandText(flags & 0x0F));
    n.NormalizeMode(modeOf(detail::byteAt(r, 18)));
    n.setRstSent(detail::paddedText(r, 19, 6));
    n.setRstRcvd(detail::paddedText(r, 25, 6));
}

} // namespace

bool QxV4Reader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, 0);
    detail::RecordFile file;
    if (!file.load(spec.FileName, kRecord) || file.count() == 0 || file.truncated())
        return false;
    spec.CallSign = detail::paddedText(file.record(0), 0, 13);
    spec.LogSize = static_cast<long long>(file.count()) - 1;
    if (context.logSizeOnly())
        return true;
    for (size_t i = 1; i < file.count() && !context.abortRequested(); ++i) {
        const std::string_view r = file.record(i);
        if (detail::byteAt(r, 17) & 0x10)
            continue;
        readQso(r, context.normalizer());
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
