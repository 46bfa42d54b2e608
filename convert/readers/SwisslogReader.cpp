#include "convert/readers/SwisslogReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"

#include <cstdio>

namespace qx7 {

namespace {

constexpr size_t kRecord = 128;
constexpr uint16_t kNoTime = 30000;

bool isYes(uint8_t c)
{
    return c == '1' || c == 'J' || c == 'Y';
}

// Record: call (length byte + 13) at 0, date (year - 1900) * 512 + month * 32 + day at
// 14-15, time (hours high, minutes low byte) at 16-17, reports (length byte + 7) at 48
// and 56, band (length byte + 5) at 64, mode (length byte + 5) at 70, QSL sent at 76 and
// received at 77.
void readQso(std::string_view r, FieldNormalizer& n)
{
    n.setCall(detail::pascalText(r, 0, 13));
    const uint16_t packed = detail::le16(r, 14);
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", 1900 + (packed >> 9), (packed >> 5) & 15,
                  packed & 31);
    n.setDate(FieldDate, date, "yyyymmdd");
    uint16_t time = detail::le16(r, 16);
    if (time != kNoTime) {
        if (time > 6144)
            time = static_cast<uint16_t>(time - 6144);
        char hhmm[8];
        std::snprintf(hhmm, sizeof hhmm, "%02d%02d", time >> 8, time & 0xFF);
        n.setTime(hhmm);
    }
    n.setRstSent(detail::pascalText(r, 48, 7));
    n.setRstRcvd(detail::pascalText(r, 56, 7));
    n.NormalizeBand(detail::pascalText(r, 64, 5));
    n.NormalizeMode(detail::pascalText(r, 70, 5));
    if (isYes(detail::byteAt(r, 76)))
        n.setQslSent("Y");
    if (isYes(detail::byteAt(r, 77)))
        n.setQslRcvd("Y");
}

} // namespace

bool SwisslogReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, 0);
    detail::RecordFile file;
    if (!file.load(spec.FileName, kRecord) || file.count() == 0 || file.truncated())
        return false;
    spec.LogSize = static_cast<long long>(file.count()) - 1;
    if (context.logSizeOnly())
        return true;
    for (size_t i = 1; i < file.count() && !context.abortRequested(); ++i) {
        readQso(file.record(i), context.normalizer());
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
