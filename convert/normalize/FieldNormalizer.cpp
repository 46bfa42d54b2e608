#include "convert/normalize/FieldNormalizer.h"

#include "convert/normalize/BandRules.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/ManagerRules.h"
#include "convert/normalize/ModeRules.h"
#include "convert/normalize/ParseDate.h"
#include "core/Text.h"

namespace qx7 {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view s)
{
    for (char c : s)
        if (!isDigit(c))
            return false;
    return true;
}

} // namespace

std::string padRight(std::string_view text, size_t width)
{
    std::string out(text);
    const size_t length = utf8Length(text);
    if (length < width)
        out.append(width - length, ' ');
    return out;
}

FieldNormalizer::FieldNormalizer(RecordLayout layout) : m_record(layout)
{
    resetRecord();
}

void FieldNormalizer::startLog(int bandMode, std::string_view fixedComment)
{
    m_bandMode = bandMode;
    m_lastBandInMetres = bandMode != 1;
    m_fixedComment = trimmed(fixedComment);
}

void FieldNormalizer::setLayout(RecordLayout layout)
{
    m_record.setLayout(layout);
    resetRecord();
}

void FieldNormalizer::resetRecord()
{
    m_record.reset();
    m_errorBandText.assign(6, ' ');
    m_errorModeText.assign(12, ' ');
}

void FieldNormalizer::setErrorBandText(std::string_view text)
{
    m_errorBandText = padRight(text, 6);
}

void FieldNormalizer::setErrorModeText(std::string_view text)
{
    m_errorModeText = padRight(text, 12);
}

void FieldNormalizer::SetImportField(std::string_view key, std::string_view value,
                                     std::string_view dateFormat)
{
    setField(importFieldNumber(key), value, dateFormat);
}

void FieldNormalizer::setField(int fieldNumber, std::string_view value, std::string_view dateFormat)
{
    switch (fieldNumber) {
    case FieldCall:
        setCall(value);
        break;
    case FieldDate:
    case FieldDateSent:
    case FieldDateRcvd:
        setDate(fieldNumber, value, dateFormat);
        break;
    case FieldTime:
        setTime(value);
        break;
    case FieldBand:
        NormalizeBand(value);
        break;
    case FieldMode:
        NormalizeMode(value);
        break;
    case FieldSubMode:
        setSubMode(value);
        break;
    case FieldRstSent:
        setRstSent(value);
        break;
    case FieldRstRcvd:
        setRstRcvd(value);
        break;
    case FieldQslSent:
        setQslSent(value);
        break;
    case FieldQslRcvd:
        setQslRcvd(value);
        break;
    case FieldManager:
        setManager(value);
        break;
    case FieldComment:
        setComment(value);
        break;
    case FieldFreq:
        FrequencyToBand(value);
        break;
    case FieldDxcc:
    case FieldCrossBand:
        setDigitsSegment(fieldNumber, value);
        break;
    case FieldMark:
        setMark(value);
        break;
    default:
        break;
    }
}

void FieldNormalizer::setCall(std::string_view value)
{
    const std::string call = toUpperAscii(trimmed(value));
    m_record.insertCall(utf8Prefix(call, 16));
}

void FieldNormalizer::setDate(int fieldNumber, std::string_view value, std::string_view format)
{
    const std::string text = trimmed(value);
    if (text.empty() || format.empty())
        return;
    const std::string ymd = ParseDate(text, format);
    if (fieldNumber == FieldDate) {
        if (!ymd.empty())
            m_record.setDate(ymd);
        return;
    }
    m_record.appendSegment(fieldNumber, ymd);
}

void FieldNormalizer::setTime(std::string_view value)
{
    std::string digits;
    for (char c : trimmed(value)) {
        if (isDigit(c))
            digits += c;
        if (digits.size() == 4)
            break;
    }
    // A value without any digit is no time at all; taking it as 0000 would pass the
    // time check with a time nobody logged.
    if (digits.empty())
        return;
    digits.insert(0, 4 - digits.size(), '0');
    m_record.setTime(digits);
}

void FieldNormalizer::NormalizeBand(std::string_view value)
{
    std::string band = toUpperAscii(trimmed(value));
    for (char& c : band)
        if (c == ',')
            c = '.';
    if (band.empty())
        return;
    if (band == "SAT" || band == "999") {
        m_record.setBand(']');
        return;
    }
    if (const size_t mhz = band.find("MHZ"); mhz != std::string::npos) {
        band.erase(mhz, 3);
        if (!band.empty() && band.back() == ' ')
            band.pop_back();
    }
    bool set = false;
    if (m_bandMode == -1)
        set = bandOrFrequency(band);
    else if (m_bandMode == 0)
        set = bandMetresOnly(band);
    else if (m_bandMode == 1)
        set = bandMhzOnly(band);
    if (!set)
        setErrorBandText(trimmed(value));
}

bool FieldNormalizer::bandFromTable(const std::string& value)
{
    const char code = bandCodeFromTableText(value);
    if (code == ' ')
        return false;
    m_record.setBand(code);
    return true;
}

bool FieldNormalizer::bandOrFrequency(const std::string& value)
{
    if (value.find('M') != std::string::npos || value.find("SAT") != std::string::npos) {
        if (bandFromTable(value)) {
            m_lastBandInMetres = true;
            return true;
        }
    }
    if (value.find('.') != std::string::npos) {
        FrequencyToBand(value);
        if (m_record.view().band() != ' ')
            return true;
    } else if (const char code = bandCodeFromWholeMhz(value); code != ' ') {
        m_record.setBand(code);
        m_lastBandInMetres = false;
        return true;
    }
    if (const char code = bandCodeFromMetres(value); code != ' ') {
        m_record.setBand(code);
        m_lastBandInMetres = true;
        return true;
    }
    if (value == "10" || value == "30") {
        const bool metres = m_lastBandInMetres;
        m_record.setBand((value == "10") == metres ? 'K' : 'F');
        return true;
    }
    return false;
}

bool FieldNormalizer::bandMetresOnly(const std::string& value)
{
    if (value.find('M') != std::string::npos)
        return bandFromTable(value);
    const char code = bandCodeMetresOnly(value);
    if (code == ' ')
        return false;
    m_record.setBand(code);
    return true;
}

bool FieldNormalizer::bandMhzOnly(const std::string& value)
{
    if (value.find('.') != std::string::npos) {
        FrequencyToBand(value);
        return m_record.view().band() != ' ';
    }
    const char code = bandCodeMhzOnly(value);
    if (code == ' ')
        return false;
    m_record.setBand(code);
    return true;
}

void FieldNormalizer::FrequencyToBand(std::string_view value)
{
    std::string freq = toUpperAscii(trimmed(value));
    if (freq.empty())
        return;
    const bool bandBlank = m_record.view().band() == ' ';
    if (freq == "SAT" && bandBlank) {
        m_record.setBand(']');
        return;
    }
    for (char c : freq)
        if (!isDigit(c) && c != ',' && c != '.')
            return;
    bool seenPoint = false;
    for (size_t i = 0; i < freq.size(); ++i) {
        if (freq[i] != ',' && freq[i] != '.')
            continue;
        if (seenPoint) {
            freq.resize(i);
            break;
        }
        freq[i] = '.';
        seenPoint = true;
    }
    m_record.appendSegment(FieldFreq, freq);
    if (bandBlank)
        m_record.setBand(bandCodeFromFrequency(freq));
}

void FieldNormalizer::NormalizeMode(std::string_view value)
{
    const std::string mode = toUpperAscii(trimmed(value));
    if (mode.empty()) {
        setErrorModeText("empty!");
        return;
    }
    const ModeMatch match = matchMode(mode);
    if (match.code == ' ') {
        setErrorModeText(mode);
        return;
    }
    m_record.setMode(match.code);
    if (match.withSubMode)
        m_record.appendSegment(FieldSubMode, mode);
}

void FieldNormalizer::setSubMode(std::string_view value)
{
    const std::string text = trimmed(value);
    if (!text.empty())
        m_record.appendSegment(FieldSubMode, text);
}

void FieldNormalizer::setRstSent(std::string_view value)
{
    m_record.setRstSent(trimmed(value));
}

void FieldNormalizer::setRstRcvd(std::string_view value)
{
    m_record.setRstRcvd(trimmed(value));
}

void FieldNormalizer::setQslSent(std::string_view value)
{
    if (value.empty())
        return;
    const char c = value.front();
    if (c == '!' || c == 'B' || c == 'D' || c == 'N' || c == 'Y')
        m_record.setQslSent(c);
    else if (c == 'S')
        m_record.setQslSent('Y');
}

void FieldNormalizer::setQslRcvd(std::string_view value)
{
    if (value.empty())
        return;
    const char c = value.front();
    if (c == '!' || c == 'B' || c == 'D' || c == 'N' || c == 'Y')
        m_record.setQslRcvd(c);
    else if (c == 'R')
        m_record.setQslRcvd('Y');
}

void FieldNormalizer::setMark(std::string_view value)
{
    if (!value.empty() && (value.front() == '1' || value.front() == 'J' || value.front() == 'Y'))
        m_record.setMark('Y');
}

void FieldNormalizer::setManager(std::string_view value)
{
    if (const auto manager = managerFromField(value))
        m_record.appendSegment(FieldManager, *manager);
}

void FieldNormalizer::setManagerFromViaText(std::string_view text)
{
    if (const auto manager = managerFromViaText(text))
        m_record.appendSegment(FieldManager, *manager);
}

void FieldNormalizer::setComment(std::string_view value)
{
    const std::string text = trimmed(m_fixedComment.empty() ? value : m_fixedComment);
    if (!text.empty())
        m_record.appendSegment(FieldComment, text);
}

void FieldNormalizer::setDigitsSegment(int fieldNumber, std::string_view value)
{
    const std::string text = trimmed(value);
    if (!text.empty() && allDigits(text))
        m_record.appendSegment(fieldNumber, text);
}

void FieldNormalizer::appendFixedCommentIfMissing()
{
    if (!m_fixedComment.empty() && !m_record.view().hasSegment(FieldComment))
        m_record.appendSegment(FieldComment, m_fixedComment);
}

std::string FieldNormalizer::fixReport(std::string_view stored, int length,
                                       const ReportOptions& options) const
{
    const size_t l = static_cast<size_t>(length);
    if (options.replaceReports)
        return std::string("599").substr(0, l);
    std::string text(stored);
    text.resize(6, ' ');
    const bool rPlusDigits = text[0] == 'R' && isDigit(text[1]) && isDigit(text[2]);
    if (rPlusDigits || text[2] == 'A' || text[3] == 'A')
        return trimmed(text);
    if (options.removeExchange && text[l] != '+')
        text.resize(l);
    std::string kept;
    for (char c : trimmed(text))
        if (c == '+' || isDigit(c))
            kept += c;
    return kept;
}

void FieldNormalizer::FixReports(const ReportOptions& options)
{
    const RecordView view = m_record.view();
    const int length = reportLength(view.mode());
    if (length == 0)
        return;
    const std::string sent = fixReport(view.rstSent(), length, options);
    const std::string rcvd = fixReport(view.rstRcvd(), length, options);
    m_record.setRstSent(sent);
    m_record.setRstRcvd(rcvd);
}

} // namespace qx7
