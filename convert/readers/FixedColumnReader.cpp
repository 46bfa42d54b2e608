#include "convert/readers/FixedColumnReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "core/Text.h"

namespace qx7 {

using detail::columnChar;
using detail::trimmedColumns;

namespace {

char upperChar(std::string_view c)
{
    const char ch = c.empty() ? ' ' : c.front();
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}

// DXBase SDF: call 1-11, band 18-19, mode 20 (1 CW, 2 RTTY, 3 SSB), QSL received 21,
// date 22-27 "yymmdd", time 28-31, reports received 32-34 and sent 35-37, mark 38,
// comment 39-68 (a frequency in 56-64 when 66-68 say "KHZ"), QSL sent 90.
void readDxBase(std::string_view line, FieldNormalizer& n)
{
    n.setCall(trimmedColumns(line, 1, 11));
    n.setDate(FieldDate, trimmedColumns(line, 22, 27), "yymmdd");
    n.setTime(trimmedColumns(line, 28, 31));
    n.NormalizeBand(trimmedColumns(line, 18, 19));
    switch (upperChar(columnChar(line, 20))) {
    case '1':
        n.NormalizeMode("CW");
        break;
    case '2':
        n.NormalizeMode("RTTY");
        break;
    case '3':
        n.NormalizeMode("SSB");
        break;
    default:
        break;
    }
    n.setRstSent(trimmedColumns(line, 35, 37));
    n.setRstRcvd(trimmedColumns(line, 32, 34));
    if (upperChar(columnChar(line, 21)) == 'Y')
        n.setQslRcvd("Y");
    if (const char sent = upperChar(columnChar(line, 90)); sent == 'B' || sent == 'D')
        n.setQslSent(std::string(1, sent));
    if (upperChar(columnChar(line, 38)) == 'Y')
        n.setMark("Y");
    if (columnChar(line, 39) != " ")
        n.setComment(trimmedColumns(line, 39, 68));
    // The frequency is kept in kHz there; the log's frequency field holds MHz.
    if (toUpperAscii(detail::columns(line, 66, 68)) == "KHZ")
        n.FrequencyToBand(detail::khzToMhz(trimmedColumns(line, 56, 64)));
}

// Ham System: date 1-6 "ddmmyy", time 7-10, call 15-24, sent 25-27, received 32-34,
// band digit 39, mode digit 40, QSL letter 41.
void readHamSystem(std::string_view line, FieldNormalizer& n)
{
    static constexpr std::string_view bands[] = {"160M", "80M", "40M", "20M", "30M",
                                                 "15M",  "10M", "17M", "12M", "6M"};
    static constexpr std::string_view modes[] = {"CW",    "SSB",    "FM",   "RTTY",
                                                 "AMTOR", "PACTOR", "G-TOR"};
    n.setCall(trimmedColumns(line, 15, 24));
    n.setDate(FieldDate, trimmedColumns(line, 1, 6), "ddmmyy");
    n.setTime(trimmedColumns(line, 7, 10));
    if (const char b = upperChar(columnChar(line, 39)); b >= '0' && b <= '9')
        n.NormalizeBand(bands[b - '0']);
    if (const char m = upperChar(columnChar(line, 40)); m >= '1' && m <= '7')
        n.NormalizeMode(modes[m - '1']);
    n.setRstSent(trimmedColumns(line, 25, 27));
    n.setRstRcvd(trimmedColumns(line, 32, 34));
    const char qsl = upperChar(columnChar(line, 41));
    if (qsl == 'B' || qsl == 'S')
        n.setQslSent("Y");
    if (qsl == 'B' || qsl == 'R')
        n.setQslRcvd("Y");
}

// QG2QG ASC: date 1-6 "yymmdd", time 8-11, call 13-25, sent 26-28, received 30-32,
// band (MHz) 34-36, mode from 42 to the first space.
void readQg2qg(std::string_view line, FieldNormalizer& n)
{
    n.setCall(trimmedColumns(line, 13, 25));
    n.setDate(FieldDate, trimmedColumns(line, 1, 6), "yymmdd");
    n.setTime(trimmedColumns(line, 8, 11));
    n.NormalizeBand(trimmedColumns(line, 34, 36));
    const std::string_view mode = detail::fromColumn(line, 42);
    n.NormalizeMode(mode.substr(0, mode.find(' ')));
    n.setRstSent(trimmedColumns(line, 26, 28));
    n.setRstRcvd(trimmedColumns(line, 30, 32));
}

// FINTEST: date 1-6 "ddmmyy", time 8-11, call 13-23, sent 24-26 (a third report digit
// in 26 means CW), received 38-40, band 52-54.
void readFintest(std::string_view line, FieldNormalizer& n)
{
    n.setCall(trimmedColumns(line, 13, 23));
    n.setDate(FieldDate, trimmedColumns(line, 1, 6), "ddmmyy");
    n.setTime(trimmedColumns(line, 8, 11));
    n.NormalizeBand(trimmedColumns(line, 52, 54));
    n.NormalizeMode(columnChar(line, 26) != " " ? "CW" : "SSB");
    n.setRstSent(trimmedColumns(line, 24, 26));
    n.setRstRcvd(trimmedColumns(line, 38, 40));
}

// TRLog DAT: band 1-3, mode 4-7, date 8-16 "dd-MMM-yy", time 18-22 (":" in 20), call
// 30-40, sent 45-47, received 50-52.
void readTrLog(std::string_view line, FieldNormalizer& n)
{
    n.NormalizeBand(trimmedColumns(line, 1, 3));
    n.NormalizeMode(trimmedColumns(line, 4, 7));
    n.setDate(FieldDate, trimmedColumns(line, 8, 16), "dd-MMM-yy");
    n.setTime(trimmedColumns(line, 18, 22));
    n.setCall(trimmedColumns(line, 30, 40));
    n.setRstSent(trimmedColumns(line, 45, 47));
    n.setRstRcvd(trimmedColumns(line, 50, 52));
}

// SPRINT ASC: date 1-8 "mm-dd-yy", time 10-13, mode 15-18, band 20-22, call 24-37,
// sent 39-41, received 48-50.
void readSprint(std::string_view line, FieldNormalizer& n)
{
    n.setDate(FieldDate, trimmedColumns(line, 1, 8), "mm-dd-yy");
    n.setTime(trimmedColumns(line, 10, 13));
    n.NormalizeMode(trimmedColumns(line, 15, 18));
    n.NormalizeBand(trimmedColumns(line, 20, 22));
    n.setCall(trimmedColumns(line, 24, 37));
    n.setRstSent(trimmedColumns(line, 39, 41));
    n.setRstRcvd(trimmedColumns(line, 48, 50));
}

} // namespace

bool readFixedColumnLine(int logType, std::string_view line, FieldNormalizer& n)
{
    switch (logType) {
    case 16:
        readDxBase(line, n);
        return true;
    case 26:
        if (line.starts_with("--"))
            return false;
        readHamSystem(line, n);
        return true;
    case 31:
        readQg2qg(line, n);
        return true;
    case 32:
        readFintest(line, n);
        return true;
    case 10:
        if (columnChar(line, 20) != ":")
            return false;
        readTrLog(line, n);
        return true;
    case 43:
        if (columnChar(line, 2) == " ")
            return false;
        readSprint(line, n);
        return true;
    default:
        return false;
    }
}

bool FixedColumnReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    detail::useBandMode(spec, context, spec.LogType == 31 ? 1 : 0);
    LogLines lines;
    if (!detail::loadLines(spec, lines))
        return false;
    if (context.logSizeOnly())
        return true;
    // Ham System's first line names the station, not a QSO.
    const size_t first = spec.LogType == 26 ? 1 : 0;
    for (size_t i = first; i < lines.lines.size() && !context.abortRequested(); ++i)
        if (readFixedColumnLine(spec.LogType, lines.lines[i], context.normalizer()))
            context.QsoComplete(spec);
    return true;
}

} // namespace qx7
