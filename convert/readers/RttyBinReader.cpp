#include "convert/readers/RttyBinReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"

#include <cstdio>

namespace qx7 {

namespace {

constexpr size_t kRecord = 87;

// Record: in use when bytes 0-1 are 0; day number at 4-5, seconds at 6-9, band at 10,
// mode at 11, call (length byte + 18) at 12, report received at 31, report sent at 43
// (each the first two digits as a number; the third is always 9).
void readQso(std::string_view r, FieldNormalizer& n)
{
    static constexpr std::string_view bands[] = {"80M", "40M", "20M", "15M", "10M"};
    static constexpr std::string_view modes[] = {"RTTY", "ASCII", "AMTOR", "PACKET", "PACTOR"};
    n.setDate(FieldDate, rttyDate(detail::le16(r, 4)), "yyyymmdd");
    const uint32_t seconds = detail::le32(r, 6) % 86400;
    char time[8];
    std::snprintf(time, sizeof time, "%02u%02u", seconds / 3600, seconds / 60 % 60);
    n.setTime(time);
    if (const uint8_t band = detail::byteAt(r, 10); band < std::size(bands))
        n.NormalizeBand(bands[band]);
    if (const uint8_t mode = detail::byteAt(r, 11); mode < std::size(modes))
        n.NormalizeMode(modes[mode]);
    n.setCall(detail::pascalText(r, 12, 18));
    n.setRstRcvd(std::to_string(detail::byteAt(r, 31)) + "9");
    n.setRstSent(std::to_string(detail::byteAt(r, 43)) + "9");
}

} // namespace

std::string rttyDate(uint16_t dayNumber)
{
    // The program counts the day of month from 2; counting the day number one further
    // gives the same dates without a day beyond the month's end.
    long rest = static_cast<long>(dayNumber) + 1;
    int year = 1900;
    while (rest >= (year % 4 == 0 ? 366 : 365)) {
        rest -= year % 4 == 0 ? 366 : 365;
        ++year;
    }
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (month < 11) {
        const int length = lengths[month] + (month == 1 && year % 4 == 0 ? 1 : 0);
        if (rest < length)
            break;
        rest -= length;
        ++month;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month + 1, static_cast<int>(rest) + 1);
    return text;
}

bool RttyBinReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, 0);
    detail::RecordFile file;
    if (!file.load(spec.FileName, kRecord) || file.count() == 0 || file.truncated())
        return false;
    spec.LogSize = static_cast<long long>(file.count()) - 1;
    if (context.logSizeOnly())
        return true;
    for (size_t i = 1; i < file.count() && !context.abortRequested(); ++i) {
        const std::string_view r = file.record(i);
        if (detail::le16(r, 0) != 0)
            continue;
        readQso(r, context.normalizer());
        context.QsoComplete(spec);
    }
    return true;
}

} // namespace qx7
