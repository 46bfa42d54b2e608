#include "convert/readers/QwBinReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"

namespace qx7 {

namespace {

constexpr size_t kRecord = 62;
constexpr size_t kHeaderRecords = 20;

// Record: time (length byte + 4) at 2, date (length byte + 6, "yymmdd") at 7, call
// (length byte + text) at 14, VHF comment (length byte + 6) at 29, band number at 36,
// report sent (16 bits) at 37, report received (32 bits) at 41, deleted when 49 is set.
void readQso(std::string_view r, bool vhf, FieldNormalizer& n)
{
    static constexpr std::string_view hf[] = {"", "160M", "80M", "40M", "20M", "15M", "10M"};
    static constexpr std::string_view vhfBands[] = {"", "2M", "70CM", "23CM", "13CM"};
    n.setTime(detail::pascalText(r, 2, 4));
    std::string date = detail::pascalText(r, 7, 6);
    // A first digit "8" stands for the years from 2000.
    if (!date.empty() && date.front() == '8')
        date.front() = '0';
    n.setDate(FieldDate, date, "yymmdd");
    n.setCall(detail::pascalText(r, 14, 14));
    const uint8_t band = detail::byteAt(r, 36);
    if (vhf && band < std::size(vhfBands))
        n.NormalizeBand(vhfBands[band]);
    else if (!vhf && band < std::size(hf))
        n.NormalizeBand(hf[band]);
    const uint16_t sent = detail::le16(r, 37);
    n.NormalizeMode(sent >= 60 ? "CW" : "SSB");
    n.setRstSent(std::to_string(sent));
    n.setRstRcvd(std::to_string(detail::le32(r, 41)));
    if (vhf)
        n.setComment(detail::pascalText(r, 29, 6));
}

// The program leaves unused records with a blank call.
bool hasCall(std::string_view r)
{
    const uint8_t length = std::min<uint8_t>(detail::byteAt(r, 14), 14);
    for (size_t i = 0; i < length; ++i)
        if (detail::byteAt(r, 15 + i) > ' ')
            return true;
    return false;
}

} // namespace

bool QwBinReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, 0);
    detail::RecordFile file;
    if (!file.load(spec.FileName, kRecord) || file.count() < kHeaderRecords || file.truncated())
        return false;
    spec.CallSign = detail::pascalText(file.record(0), 14, 14);
    const bool vhf = detail::byteAt(file.record(5), 36) == 0;
    spec.LogSize = static_cast<long long>(file.count() - kHeaderRecords);
    if (context.logSizeOnly())
        return true;
    for (size_t i = kHeaderRecords; i < file.count() && !context.abortRequested(); ++i) {
        const std::string_view r = file.record(i);
        if (detail::byteAt(r, 49) != 0 || !hasCall(r))
            continue;
        readQso(r, vhf, context.normalizer());
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
