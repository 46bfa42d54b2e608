#include "convert/readers/AdifReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/LineStream.h"
#include "core/Text.h"

#include <optional>

namespace qx7 {

namespace {

enum class Target
{
    Call,
    Date,
    Time,
    Band,
    Mode,
    SubMode,
    RstSent,
    RstRcvd,
    QslSent,
    QslRcvd,
    DateSent,
    DateRcvd,
    Dxcc,
    Freq,
    Manager,
    Comment,
    BandRx,
    FreqRx,
    Skip
};

constexpr size_t kWhole = std::string_view::npos;

struct TagRow
{
    std::string_view prefix;
    Target target;
    size_t maxLength;
};

// A declared length past this is no value's: refused before anything is cut with it.
constexpr size_t kLongestValue = 1u << 20;

// The receive band and frequency of a split or satellite QSO stand in for the QSO's
// own only when the record has none.
constexpr TagRow kReceiveRows[] = {
    {"<BAND_RX", Target::BandRx, kWhole},
    {"<FREQ_RX", Target::FreqRx, kWhole},
};

// First match wins, so QSL_SENT_VIA counts as QSL_SENT.
constexpr TagRow kRows[] = {
    {"<CALL", Target::Call, kWhole},         {"<QSO_DATE", Target::Date, kWhole},
    {"<TIME_ON", Target::Time, 4},           {"<BAND", Target::Band, kWhole},
    {"<MODE", Target::Mode, kWhole},         {"<SUBMODE", Target::SubMode, kWhole},
    {"<RST_SENT", Target::RstSent, 6},       {"<RST_RCVD", Target::RstRcvd, 6},
    {"<QSL_SENT", Target::QslSent, 1},       {"<QSL_RCVD", Target::QslRcvd, 1},
    {"<QSLSDATE", Target::DateSent, kWhole}, {"<QSLRDATE", Target::DateRcvd, kWhole},
    {"<DXCC", Target::Dxcc, kWhole},         {"<FREQ", Target::Freq, kWhole},
    {"<QSL_VIA", Target::Manager, kWhole},
};

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool startsWithUpper(std::string_view text, std::string_view upperPrefix)
{
    if (text.size() < upperPrefix.size())
        return false;
    for (size_t i = 0; i < upperPrefix.size(); ++i)
        if (upperAscii(text[i]) != upperPrefix[i])
            return false;
    return true;
}

// Tags and values are short: a plain loop beats a library call here.
size_t findChar(std::string_view text, char c, size_t from = 0)
{
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == c)
            return i;
    return std::string_view::npos;
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "<" + field name + ":" + length, or the end of a record or header: the next field,
// which no value may run into. Text such as "<b>" inside a value is no field.
bool tagStartsAt(std::string_view text, size_t pos)
{
    if (pos >= text.size() || text[pos] != '<')
        return false;
    const std::string_view from = text.substr(pos);
    if (startsWithUpper(from, "<EOR>") || startsWithUpper(from, "<EOH>"))
        return true;
    size_t i = pos + 1;
    while (i < text.size() && isNameChar(text[i]))
        ++i;
    return i > pos + 1 && i + 1 < text.size() && text[i] == ':' && text[i + 1] >= '0' &&
           text[i + 1] <= '9';
}

size_t nextTagStart(std::string_view text, size_t from, size_t limit)
{
    for (size_t i = from; i < limit && i < text.size(); ++i)
        if (tagStartsAt(text, i))
            return i;
    return std::string_view::npos;
}

// A value ends well where only blanks stand before the next "<" or the line end.
bool endsWell(std::string_view text, size_t end)
{
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    return end >= text.size() || text[end] == '<';
}

// The bytes that hold the value of declared length `length` at the start of `text`.
// ADIF counts characters, but some programs count the bytes of UTF-8 text. Whichever
// count ends the value well without running into the next field is taken; `doubtful`
// says that neither could be right, and the value then stops before the next field.
size_t valueSpan(std::string_view text, size_t length, bool& doubtful)
{
    doubtful = false;
    const size_t byChars = utf8Prefix(text, length).size();
    size_t byBytes = std::min(length, text.size());
    while (byBytes > 0 && byBytes < text.size() && isContinuation(text[byBytes]))
        --byBytes;
    const size_t tagInChars = nextTagStart(text, 0, byChars);
    if (tagInChars == std::string_view::npos &&
        (endsWell(text, byChars) || byBytes == byChars || !endsWell(text, byBytes)))
        return byChars;
    if (byBytes <= tagInChars && endsWell(text, byBytes))
        return byBytes;
    if (tagInChars == std::string_view::npos)
        return byChars;
    doubtful = true;
    return tagInChars;
}

struct Recognised
{
    Target target;
    size_t maxLength;
};

class AdifLineParser
{
public:
    AdifLineParser(TQXLogSpec& spec, ReadContext& context)
        : m_spec(spec), m_context(context), m_normalizer(context.normalizer()),
          m_commentTag(toUpperAscii(context.adifCommentTag()))
    {
        m_commentName = std::string_view(m_commentTag).substr(0, m_commentTag.find('>'));
    }

    // False when a tag's length is not a number.
    bool parseLine(std::string_view rest);

private:
    std::optional<Recognised> recognise(std::string_view tag) const;
    bool readField(std::string_view& rest, const Recognised& field);
    void apply(Target target, std::string_view value);
    void applyDate(int fieldNumber, std::string_view value);
    void endRecord();

    TQXLogSpec& m_spec;
    ReadContext& m_context;
    FieldNormalizer& m_normalizer;
    std::string m_commentTag;
    std::string_view m_commentName; // "<" + the whole field name
    std::string m_upper;
    // Of the record being read: whether it has its own band and frequency, and the
    // receive band and frequency that stand in when it has not.
    bool m_hasBand = false;
    bool m_hasFreq = false;
    std::string m_bandRx;
    std::string m_freqRx;
};

// The field name of a tag text starting at "<" is the whole of it up to ":" or ">".
bool sameFieldName(std::string_view tag, std::string_view upperName)
{
    return startsWithUpper(tag, upperName) && tag.size() > upperName.size() &&
           (tag[upperName.size()] == ':' || tag[upperName.size()] == '>');
}

std::optional<Recognised> AdifLineParser::recognise(std::string_view tag) const
{
    // Most tags are told apart by their first letter: only the names that share it are
    // compared in full.
    if (tag.size() < 2)
        return std::nullopt;
    const char first = upperAscii(tag[1]);
    for (const TagRow& row : kReceiveRows)
        if (row.prefix[1] == first && sameFieldName(tag, row.prefix))
            return Recognised{row.target, row.maxLength};
    for (const TagRow& row : kRows) {
        if (row.prefix[1] != first || !startsWithUpper(tag, row.prefix))
            continue;
        // QSO_DATE_OFF is the day the QSO ended; taking it as the QSO date would move
        // every QSO across midnight to the wrong day.
        if (row.target == Target::Date && startsWithUpper(tag, "<QSO_DATE_OFF"))
            return std::nullopt;
        return Recognised{row.target, row.maxLength};
    }
    if (m_commentName.size() > 1 && m_commentName[1] == first && sameFieldName(tag, m_commentName))
        return Recognised{Target::Comment, kWhole};
    if (first == 'S' && (startsWithUpper(tag, "<SAT_MODE") || startsWithUpper(tag, "<SAT_NAME")))
        return Recognised{Target::Skip, kWhole};
    return std::nullopt;
}

bool AdifLineParser::parseLine(std::string_view rest)
{
    while (!rest.empty() && !m_context.abortRequested()) {
        if (rest.front() == '<') {
            if (startsWithUpper(rest, "<EOR>")) {
                endRecord();
                rest.remove_prefix(5);
            } else if (const auto field = recognise(rest)) {
                if (!readField(rest, *field))
                    return false;
            } else {
                rest.remove_prefix(1);
            }
        }
        const size_t next = findChar(rest, '<');
        if (next == std::string_view::npos)
            break;
        rest.remove_prefix(next);
    }
    return true;
}

void AdifLineParser::endRecord()
{
    if (!m_hasBand && !m_bandRx.empty())
        m_normalizer.NormalizeBand(m_bandRx);
    if (!m_hasFreq && !m_freqRx.empty())
        m_normalizer.FrequencyToBand(m_freqRx);
    m_context.QsoComplete(m_spec);
    m_hasBand = m_hasFreq = false;
    m_bandRx.clear();
    m_freqRx.clear();
}

bool AdifLineParser::readField(std::string_view& rest, const Recognised& field)
{
    const size_t close = findChar(rest, '>');
    if (close == std::string_view::npos) {
        rest = {};
        return true;
    }
    const std::string_view tag = rest.substr(0, close + 1);
    // "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>": every digit of the length counts.
    const size_t colon = findChar(tag, ':');
    if (colon == std::string_view::npos)
        return false;
    size_t length = 0;
    size_t digits = 0;
    size_t i = colon + 1;
    for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9'; ++i, ++digits)
        if (digits < 10)
            length = length * 10 + static_cast<size_t>(tag[i] - '0');
    if (digits == 0)
        return false;
    const std::string_view name = tag.substr(1, colon - 1);
    const std::string_view after = rest.substr(close + 1);
    if (length > kLongestValue) {
        m_context.noteValueProblem(std::string(name) + ": length " +
                                   std::string(tag.substr(colon + 1, i - colon - 1)) +
                                   " refused, value not read");
        rest = after;
        return true;
    }
    bool doubtful = false;
    const size_t span = valueSpan(after, length, doubtful);
    if (doubtful)
        m_context.noteValueProblem(std::string(name) + ": length " + std::to_string(length) +
                                   " runs into the next field, value cut before it");
    if (length > 0) {
        const std::string_view text = after.substr(0, span);
        std::string_view value = text;
        if (field.maxLength != kWhole)
            value = utf8Prefix(text, field.maxLength);
        const bool keepCase = field.target == Target::Comment || field.target == Target::Skip ||
                              (!m_commentName.empty() && sameFieldName(tag, m_commentName));
        if (keepCase) {
            apply(field.target, value);
        } else {
            m_upper.assign(value);
            for (char& c : m_upper)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 32);
            apply(field.target, m_upper);
        }
    }
    rest = after.substr(span);
    return true;
}

void AdifLineParser::applyDate(int fieldNumber, std::string_view value)
{
    const size_t length = utf8Length(value);
    if (length == 6)
        m_normalizer.setDate(fieldNumber, value, "yymmdd");
    else if (length == 8)
        m_normalizer.setDate(fieldNumber, value, "yyyymmdd");
}

void AdifLineParser::apply(Target target, std::string_view value)
{
    FieldNormalizer& n = m_normalizer;
    const char first = value.empty() ? '\0' : value.front();
    switch (target) {
    case Target::Call:
        n.setCall(value);
        break;
    case Target::Date:
        applyDate(FieldDate, value);
        break;
    case Target::Time:
        n.setTime(value);
        break;
    case Target::Band:
        m_hasBand = true;
        n.NormalizeBand(value);
        break;
    case Target::BandRx:
        m_bandRx.assign(value);
        break;
    case Target::FreqRx:
        m_freqRx.assign(value);
        break;
    case Target::Mode:
        n.NormalizeMode(value);
        break;
    case Target::SubMode:
        n.setSubMode(value);
        break;
    case Target::RstSent:
        n.setRstSent(value);
        break;
    case Target::RstRcvd:
        n.setRstRcvd(value);
        break;
    case Target::QslSent:
        if (first == '!' || first == 'I')
            n.setQslSent("!");
        else if (first == 'T' || first == 'Y')
            n.setQslSent("Y");
        else if (first == 'R')
            n.setMark("Y");
        break;
    case Target::QslRcvd:
        if (first == '!' || first == 'I')
            n.setQslRcvd("!");
        else if (first == 'R' || first == 'T' || first == 'Y')
            n.setQslRcvd("Y");
        break;
    case Target::DateSent:
        applyDate(FieldDateSent, value);
        break;
    case Target::DateRcvd:
        applyDate(FieldDateRcvd, value);
        break;
    case Target::Dxcc:
        n.setDigitsSegment(FieldDxcc, value);
        break;
    case Target::Freq:
        m_hasFreq = true;
        n.FrequencyToBand(value);
        break;
    case Target::Manager:
        n.setManager(value);
        break;
    case Target::Comment:
        n.setComment(value);
        break;
    case Target::Skip:
        break;
    }
}

} // namespace

const std::vector<std::string_view>& adifCommentChoices()
{
    static const std::vector<std::string_view> choices = {
        "<COMMENT> Comment field for QSO",
        "<ADDRESS> As it will appear on the mailing label",
        "<ARRL_SECT> ARRL section",
        "<CNTY> US County (STATE,COUNTY)",
        "<CONT> Continent: NA, SA, EU, AF, OC, AS",
        "<CONTEST_ID> Contest Identifier -- CQWW, ARRLDX, etc.",
        "<CQZ> CQ Zone",
        "<DXCC> Numeric identifiers from ARRL",
        "<GRIDSQUARE>",
        "<IOTA> Example: NA-001",
        "<ITUZ> ITU Zone",
        "<NAME> Name",
        "<NOTES> Long text",
        "<OPERATOR> Callsign of person logging the QSO",
        "<PFX> WPX prefix",
        "<QSLMSG> Personal short message to appear on QSL card",
        "<QSLRDATE> QSL Rcvd Date",
        "<QSLSDATE> QSL Sent Date",
        "<QSL_VIA> via QSL Manager",
        "<QTH>",
        "<SAT_MODE> Satellite Mode",
        "<SAT_NAME> Name of satellite",
        "<SRX> Received serial number for a contest QSO",
        "<STATE> US state",
        "<STX> Transmitted serial number for a contest QSO",
        "<TEN_TEN> TenTen Number",
        "<VE_PROV> 2-letter abbreviations: AB, BC...",
    };
    return choices;
}

std::string commentTagOf(std::string_view choice)
{
    const size_t close = choice.find('>');
    return std::string(close == std::string_view::npos ? choice : choice.substr(0, close + 1));
}

namespace {

// One parser for the whole file, however its lines arrive; false when a tag's length is
// not a number.
bool parseLines(AdifLineParser& parser, const std::vector<std::string_view>& lines,
                ReadContext& context)
{
    for (std::string_view line : lines) {
        if (context.abortRequested())
            break;
        if (!parser.parseLine(line))
            return false;
    }
    return true;
}

} // namespace

bool AdifReader::readLines(const std::vector<std::string_view>& lines, TQXLogSpec& spec,
                           ReadContext& context)
{
    AdifLineParser parser(spec, context);
    return parseLines(parser, lines, context);
}

bool AdifReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    spec.BandMode = 0;
    // Streamed: a log of a million QSOs is never held whole, only its accepted QSOs.
    LogFileScan scan;
    if (!ScanLogFile(spec, scan))
        return false;
    if (context.logSizeOnly())
        return true;
    AdifLineParser parser(spec, context);
    bool ok = true;
    const bool readOk =
        ReadLogLineBatches(spec, scan, [&](const std::vector<std::string_view>& lines) {
            ok = parseLines(parser, lines, context);
            return ok && !context.abortRequested();
        });
    return ok && readOk;
}

} // namespace qx7
