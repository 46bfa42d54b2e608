#include "convert/normalize/FieldNormalizer.h"

#include "convert/normalize/BandRules.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/ManagerRules.h"
#include "convert/normalize/ModeRules.h"
#include "convert/normalize/ParseDate.h"
#include "core/Text.h"

#include <algorithm>
#include <cstring>

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

// What trimmed() keeps, as a view: blanks and tabs off the front, those and line ends
// and NULs off the back.
std::string_view trimView(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' ||
                          s.back() == '\n' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

void upperInPlace(std::string& s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
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
    if (m_record.hasCall())
        return;
    m_scratch.assign(trimView(value));
    upperInPlace(m_scratch);
    m_record.insertCall(utf8Prefix(m_scratch, 16));
}

void FieldNormalizer::setDate(int fieldNumber, std::string_view value, std::string_view format)
{
    const std::string_view text = trimView(value);
    if (text.empty() || format.empty())
        return;
    char buffer[8];
    std::string_view ymd;
    std::string parsed;
    if (!parsePlainDate(text, format, buffer, ymd)) {
        parsed = ParseDate(text, format);
        ymd = parsed;
    }
    if (fieldNumber == FieldDate) {
        if (!ymd.empty())
            m_record.setDate(ymd);
        return;
    }
    m_record.appendSegment(fieldNumber, ymd);
}

void FieldNormalizer::setTime(std::string_view value)
{
    char digits[4];
    size_t n = 0;
    for (char c : trimView(value)) {
        if (isDigit(c))
            digits[n++] = c;
        if (n == 4)
            break;
    }
    // A value without any digit is no time at all; taking it as 0000 would pass the
    // time check with a time nobody logged.
    if (n == 0)
        return;
    char four[4] = {'0', '0', '0', '0'};
    std::memcpy(four + 4 - n, digits, n);
    m_record.setTime(std::string_view(four, 4));
}

void FieldNormalizer::NormalizeBand(std::string_view value)
{
    std::string& band = m_bandScratch;
    band.assign(trimView(value));
    upperInPlace(band);
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
    std::string& freq = m_scratch;
    freq.assign(trimView(value));
    upperInPlace(freq);
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
    std::string& mode = m_scratch;
    mode.assign(trimView(value));
    upperInPlace(mode);
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
    const std::string_view text = trimView(value);
    if (!text.empty())
        m_record.appendSegment(FieldSubMode, text);
}

void FieldNormalizer::setRstSent(std::string_view value)
{
    m_record.setRstSent(trimView(value));
}

void FieldNormalizer::setRstRcvd(std::string_view value)
{
    m_record.setRstRcvd(trimView(value));
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
    const std::string_view text = trimView(m_fixedComment.empty() ? value : m_fixedComment);
    if (!text.empty())
        m_record.appendSegment(FieldComment, text);
}

void FieldNormalizer::setDigitsSegment(int fieldNumber, std::string_view value)
{
    const std::string_view text = trimView(value);
    if (!text.empty() && allDigits(text))
        m_record.appendSegment(fieldNumber, text);
}

void FieldNormalizer::appendFixedCommentIfMissing()
{
    if (!m_fixedComment.empty() && !m_record.view().hasSegment(FieldComment))
        m_record.appendSegment(FieldComment, m_fixedComment);
}

// The report as the mode's standard length keeps it, into `out`; its length returned.
size_t FieldNormalizer::fixReport(std::string_view stored, size_t length,
                                  const ReportOptions& options, char (&out)[6])
{
    if (options.replaceReports) {
        const size_t n = std::min<size_t>(length, 3);
        std::memcpy(out, "599", n);
        return n;
    }
    char text[6];
    const size_t have = std::min<size_t>(stored.size(), 6);
    std::memcpy(text, stored.data(), have);
    std::memset(text + have, ' ', 6 - have);
    const bool rPlusDigits = text[0] == 'R' && isDigit(text[1]) && isDigit(text[2]);
    if (rPlusDigits || text[2] == 'A' || text[3] == 'A') {
        const std::string_view kept = trimView(std::string_view(text, 6));
        std::memcpy(out, kept.data(), kept.size());
        return kept.size();
    }
    const size_t end = options.removeExchange && text[length] != '+' ? length : 6;
    size_t n = 0;
    for (size_t i = 0; i < end; ++i)
        if (text[i] == '+' || isDigit(text[i]))
            out[n++] = text[i];
    return n;
}

void FieldNormalizer::FixReports(const ReportOptions& options)
{
    const RecordView view = m_record.view();
    const int length = reportLength(view.mode());
    if (length == 0)
        return;
    char sent[6], rcvd[6];
    const size_t sentSize = fixReport(view.rstSent(), static_cast<size_t>(length), options, sent);
    const size_t rcvdSize = fixReport(view.rstRcvd(), static_cast<size_t>(length), options, rcvd);
    m_record.setRstSent(std::string_view(sent, sentSize));
    m_record.setRstRcvd(std::string_view(rcvd, rcvdSize));
}

} // namespace qx7
