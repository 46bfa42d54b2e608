#include "convert/writers/ExportField.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "core/DateFormat.h"
#include "core/Text.h"

namespace qx7 {

namespace {

std::string_view trimView(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' ||
                          s.back() == '\n' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::string formattedDate(std::string_view ymd, std::string_view format)
{
    const auto date = parseYmd(ymd);
    if (!date)
        return {};
    if (format == "yyyymmdd")
        return std::string(ymd);
    return formatDateTime(format, *date);
}

std::string rawField(const RecordView& r, int field, bool trim, std::string_view dateFormat)
{
    switch (field) {
    case FieldCall:
        return trim ? std::string(r.call()) : padRight(r.call(), 16);
    case FieldDate:
        return formattedDate(r.date(), dateFormat);
    case FieldBand:
        return trim ? std::string(bandTextOfCode(r.band())) : padRight(bandTextOfCode(r.band()), 5);
    case FieldMode:
        return trim ? std::string(modeTextOfCode(r.mode())) : padRight(modeTextOfCode(r.mode()), 5);
    case FieldTime:
        return std::string(r.time());
    case FieldRstSent:
        return std::string(r.rstSent());
    case FieldRstRcvd:
        return std::string(r.rstRcvd());
    case FieldQslSent:
        return std::string(1, r.qslSent());
    case FieldQslRcvd:
        return std::string(1, r.qslRcvd());
    case FieldMark:
        return std::string(1, r.mark());
    default:
        if (field < 0 || field >= FieldCount)
            return {};
        return trimmed(r.segment(field));
    }
}

} // namespace

std::string GetExportField(const RecordView& record, int fieldNumber, bool trim,
                           std::string_view dateFormat)
{
    std::string value = rawField(record, fieldNumber, trim, dateFormat);
    return trim ? trimmed(value) : value;
}

std::string GetExportField(const RecordView& record, std::string_view key, bool trim,
                           std::string_view dateFormat)
{
    return GetExportField(record, importFieldNumber(key), trim, dateFormat);
}

std::string_view exportValue(const RecordView& r, int field, std::string& scratch)
{
    switch (field) {
    case FieldCall:
        return trimView(r.call());
    case FieldDate:
        return parseYmd(r.date()) ? r.date() : std::string_view();
    case FieldTime:
        return trimView(r.time());
    case FieldBand:
        return bandTextOfCode(r.band());
    case FieldMode:
        return modeTextOfCode(r.mode());
    case FieldRstSent:
        return trimView(r.rstSent());
    case FieldRstRcvd:
        return trimView(r.rstRcvd());
    case FieldQslSent:
    case FieldQslRcvd:
    case FieldMark:
        scratch.assign(1, field == FieldMark      ? r.mark()
                          : field == FieldQslSent ? r.qslSent()
                                                  : r.qslRcvd());
        return trimView(scratch);
    default: {
        if (field < 0 || field >= FieldCount)
            return {};
        const std::string_view stored = r.segmentView(field);
        if (!needsDecoding(stored))
            return trimView(stored);
        scratch = decodeSegmentValue(stored);
        return trimView(scratch);
    }
    }
}

} // namespace qx7
