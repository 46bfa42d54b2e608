#include "convert/readers/AdifReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/LineStream.h"
#include "core/Text.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

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

constexpr char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

void upperAsciiInPlace(char* text, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        text[i] = upperAscii(text[i]);
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

// Most searches end within a few bytes, which are looked at one by one; a longer one
// goes on with memchr.
size_t findChar(std::string_view text, char c, size_t from = 0)
{
    const size_t near = std::min(text.size(), from + 16);
    for (size_t i = from; i < near; ++i)
        if (text[i] == c)
            return i;
    if (near >= text.size())
        return std::string_view::npos;
    const void* hit = std::memchr(text.data() + near, c, text.size() - near);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data())
               : std::string_view::npos;
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

constexpr bool isNameChar(char c)
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
    const std::string_view within = text.substr(0, std::min(limit, text.size()));
    for (size_t i = findChar(within, '<', from); i != std::string_view::npos;
         i = findChar(within, '<', i + 1))
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

// Whether the first `length` bytes are ASCII and whole characters: the value then has
// as many bytes as characters, with no UTF-8 to count. Eight bytes a step.
bool asciiRun(std::string_view text, size_t length)
{
    if (length > text.size() || (length < text.size() && isContinuation(text[length])))
        return false;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0)
            return false;
    }
    for (; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kOpens = kOnes * static_cast<unsigned char>('<');

// A high bit in every byte of `word` that is a "<"; past the first such byte there may
// be false ones, so only the lowest counts.
uint64_t openBytes(uint64_t word)
{
    const uint64_t x = word ^ kOpens;
    return (x - kOnes) & ~x & kHighBits;
}

// The first "<" of `text`, eight bytes a step: the next tag is rarely more than a few
// dozen bytes on, too near for memchr to pay.
size_t findOpen(std::string_view text)
{
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= text.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if (const uint64_t hits = openBytes(word))
                return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
        }
    }
    for (; i < text.size(); ++i)
        if (text[i] == '<')
            return i;
    return std::string_view::npos;
}

// Whether the first `length` bytes are whole ASCII characters without a "<": then
// valueSpan() takes exactly those, whichever way the length was counted.
bool isPlainValue(std::string_view text, size_t length)
{
    if (length > text.size() || (length < text.size() && isContinuation(text[length])))
        return false;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighBits) != 0 || openBytes(word) != 0)
            return false;
    }
    for (; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80 || text[i] == '<')
            return false;
    return true;
}

// The bytes that hold the value of declared length `length` at the start of `text`.
// ADIF counts characters, but some programs count the bytes of UTF-8 text. Whichever
// count ends the value well without running into the next field is taken; `doubtful`
// says that neither could be right, and the value then stops before the next field.
size_t valueSpan(std::string_view text, size_t length, bool& doubtful)
{
    doubtful = false;
    const size_t byChars = asciiRun(text, length) ? length : utf8Prefix(text, length).size();
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
    bool keepCase; // the comment and the fields skipped keep their letters as they are
};

// Name characters upper-cased, 0 for every other byte.
constexpr std::array<char, 256> kNameUpper = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        if (isNameChar(ch))
            table[static_cast<size_t>(c)] = upperAscii(ch);
    }
    return table;
}();

// The field name of a tag, upper-cased once and then compared with every candidate
// without going back to the text.
struct TagName
{
    static constexpr size_t kMax = 24;
    std::array<char, kMax> upper;
    size_t size = 0; // name characters after the "<", at most kMax
    char after = 0;  // the byte after them; 0 at the end of the text or past kMax

    explicit TagName(std::string_view tag)
    {
        size_t i = 1;
        while (i < tag.size() && size < kMax) {
            const char u = kNameUpper[static_cast<unsigned char>(tag[i])];
            if (u == 0)
                break;
            upper[size++] = u;
            ++i;
        }
        after = size < kMax && i < tag.size() ? tag[i] : '\0';
    }
    // `prefix` without its "<", upper-case.
    bool startsWith(std::string_view prefix) const
    {
        if (prefix.size() > size)
            return false;
        for (size_t k = 0; k < prefix.size(); ++k) // a few bytes: no call for them
            if (upper[k] != prefix[k])
                return false;
        return true;
    }
    // The whole field name, ended by ":" or ">".
    bool is(std::string_view name) const
    {
        return size == name.size() && (after == ':' || after == '>') && startsWith(name);
    }
};

// The rows whose prefix starts with that letter, as bits of kRows.
constexpr std::array<uint32_t, 256> kRowsByLetter = [] {
    std::array<uint32_t, 256> bits{};
    for (size_t i = 0; i < std::size(kRows); ++i)
        bits[static_cast<unsigned char>(kRows[i].prefix[1])] |= 1u << i;
    return bits;
}();

// How far the field name of a tag reaches, as TagName counts it, without copying it.
struct NameSpan
{
    size_t size = 0; // name characters after the "<", at most TagName::kMax
    char after = 0;  // the byte after them; 0 at the end of the text or past kMax
};

NameSpan spanName(std::string_view tag)
{
    const size_t end = std::min(tag.size(), 1 + TagName::kMax);
    size_t i = 1;
    while (i < end && kNameUpper[static_cast<unsigned char>(tag[i])] != 0)
        ++i;
    NameSpan name{i - 1, '\0'};
    if (name.size < TagName::kMax && i < tag.size())
        name.after = tag[i];
    return name;
}

bool isEndOfRecord(std::string_view tag, NameSpan name)
{
    return name.size == 3 && name.after == '>' &&
           kNameUpper[static_cast<unsigned char>(tag[1])] == 'E' &&
           kNameUpper[static_cast<unsigned char>(tag[2])] == 'O' &&
           kNameUpper[static_cast<unsigned char>(tag[3])] == 'R';
}

// What each tag name, spelt as in the file, stands for. A log repeats a few dozen names
// a million times, so each spelling is recognised once and then found by its bytes.
class TagNameCache
{
public:
    using Result = std::optional<Recognised>;

    // The entry of that spelling; null when it is not known (yet) or cannot be kept.
    const Result* find(std::string_view tag, NameSpan name) const
    {
        if (name.size == 0 || name.size >= TagName::kMax)
            return nullptr;
        const Key key = keyOf(tag, name);
        for (size_t probe = 0, slot = key.slot(); probe < kSlots;
             ++probe, slot = (slot + 1) % kSlots) {
            const Entry& e = m_entries[slot];
            if (!e.used)
                return nullptr;
            if (e.key == key)
                return &e.result;
        }
        return nullptr;
    }
    void add(std::string_view tag, NameSpan name, const Result& result)
    {
        if (name.size == 0 || name.size >= TagName::kMax || m_count >= kSlots / 2)
            return; // a file of ever new names is recognised the long way
        const Key key = keyOf(tag, name);
        size_t slot = key.slot();
        while (m_entries[slot].used)
            slot = (slot + 1) % kSlots;
        m_entries[slot] = Entry{true, key, result};
        ++m_count;
    }

private:
    static constexpr size_t kSlots = 128;
    struct Key
    {
        std::array<uint64_t, 3> words{}; // the name's bytes, zero past its end
        uint64_t sizeAndAfter = 0;
        bool operator==(const Key&) const = default;
        size_t slot() const
        {
            const uint64_t h = (words[0] ^ words[1] * 31 ^ sizeAndAfter) * 0x9E3779B97F4A7C15ull;
            return static_cast<size_t>(h >> 57) % kSlots;
        }
    };
    struct Entry
    {
        bool used = false;
        Key key;
        Result result;
    };
    static Key keyOf(std::string_view tag, NameSpan name)
    {
        Key key;
        std::memcpy(key.words.data(), tag.data() + 1, name.size);
        key.sizeAndAfter = name.size << 8 | static_cast<unsigned char>(name.after);
        return key;
    }

    std::array<Entry, kSlots> m_entries{};
    size_t m_count = 0;
};

// Finds the fields of a line and their values. What becomes of them is the sink's: it
// applies them at once, or records them for the thread that builds the QSOs. A sink has
// stopped(), field(target, value), endRecord() and problem(text).
class AdifTagScanner
{
public:
    explicit AdifTagScanner(const std::string& commentTag) : m_commentTag(toUpperAscii(commentTag))
    {
        m_commentName = std::string_view(m_commentTag).substr(0, m_commentTag.find('>'));
        const std::string_view bare =
            m_commentName.substr(std::min<size_t>(1, m_commentName.size()));
        const bool plain = m_commentName.size() > 1 && m_commentName[0] == '<' &&
                           bare.size() < TagName::kMax &&
                           std::all_of(bare.begin(), bare.end(), isNameChar);
        if (plain)
            m_plainCommentName = bare;
    }

    // False when a tag's length is not a number.
    template <class Sink>
    bool scanLine(std::string_view rest, Sink& sink);

private:
    std::optional<Recognised> recognise(std::string_view tag, const TagName& name) const;
    // recognise() for the tag at the start of `tag`, by way of the cache.
    const std::optional<Recognised>& recognised(std::string_view tag, NameSpan name);
    bool isCommentTag(std::string_view tag, const TagName& name) const;
    template <class Sink>
    bool readField(std::string_view& rest, NameSpan tagName, const Recognised& field, Sink& sink);

    std::string m_commentTag;
    std::string_view m_commentName; // "<" + the whole field name
    // The name without "<" when it is made of name characters only, as nearly every
    // setting's is; otherwise the comment tag is compared with the text.
    std::string_view m_plainCommentName;
    TagNameCache m_cache;
    std::optional<Recognised> m_uncached;
};

// Puts the fields found into the QSO being read and hands each finished QSO on.
class AdifRecordBuilder
{
public:
    AdifRecordBuilder(TQXLogSpec& spec, ReadContext& context)
        : m_spec(spec), m_context(context), m_normalizer(context.normalizer())
    {}

    bool stopped() const { return m_context.abortRequested(); }
    void field(Target target, std::string_view value);
    // As a scanner's sink: `upper` asks for the value's ASCII letters upper-cased.
    void field(Target target, std::string_view value, bool upper)
    {
        if (!upper)
            return field(target, value);
        m_upper.assign(value);
        upperAsciiInPlace(m_upper.data(), m_upper.size());
        field(target, m_upper);
    }
    void endRecord();
    void problem(std::string_view text) { m_context.noteValueProblem(text); }

private:
    void applyDate(int fieldNumber, std::string_view value);

    TQXLogSpec& m_spec;
    ReadContext& m_context;
    FieldNormalizer& m_normalizer;
    // Of the record being read: whether it has its own band and frequency, and the
    // receive band and frequency that stand in when it has not.
    bool m_hasBand = false;
    bool m_hasFreq = false;
    std::string m_bandRx;
    std::string m_freqRx;
    std::string m_upper;
};

// The field name of a tag text starting at "<" is the whole of it up to ":" or ">".
bool sameFieldName(std::string_view tag, std::string_view upperName)
{
    return startsWithUpper(tag, upperName) && tag.size() > upperName.size() &&
           (tag[upperName.size()] == ':' || tag[upperName.size()] == '>');
}

// The comment tag chosen in the settings, compared as a whole field name.
bool AdifTagScanner::isCommentTag(std::string_view tag, const TagName& name) const
{
    if (!m_plainCommentName.empty())
        return name.is(m_plainCommentName);
    return m_commentName.size() > 1 && tag.size() > 1 && m_commentName[1] == upperAscii(tag[1]) &&
           sameFieldName(tag, m_commentName);
}

std::optional<Recognised> AdifTagScanner::recognise(std::string_view tag, const TagName& name) const
{
    if (tag.size() < 2)
        return std::nullopt;
    const auto keepCase = [&](Target target) {
        return target == Target::Comment || target == Target::Skip || isCommentTag(tag, name);
    };
    const char first = name.size > 0 ? name.upper[0] : '\0';
    for (const TagRow& row : kReceiveRows)
        if (row.prefix[1] == first && name.is(row.prefix.substr(1)))
            return Recognised{row.target, row.maxLength, keepCase(row.target)};
    // Only the names that share the tag's first letter are compared.
    for (uint32_t rows = kRowsByLetter[static_cast<unsigned char>(first)]; rows != 0;
         rows &= rows - 1) {
        const TagRow& row = kRows[static_cast<size_t>(std::countr_zero(rows))];
        if (!name.startsWith(row.prefix.substr(1)))
            continue;
        // QSO_DATE_OFF is the day the QSO ended; taking it as the QSO date would move
        // every QSO across midnight to the wrong day.
        if (row.target == Target::Date && name.startsWith("QSO_DATE_OFF"))
            return std::nullopt;
        return Recognised{row.target, row.maxLength, keepCase(row.target)};
    }
    if (isCommentTag(tag, name))
        return Recognised{Target::Comment, kWhole, true};
    if (first == 'S' && (name.startsWith("SAT_MODE") || name.startsWith("SAT_NAME")))
        return Recognised{Target::Skip, kWhole, true};
    return std::nullopt;
}

const std::optional<Recognised>& AdifTagScanner::recognised(std::string_view tag, NameSpan name)
{
    // A comment tag of other than name characters is compared with the text itself.
    const bool cacheable = !m_plainCommentName.empty() || m_commentName.size() <= 1;
    if (cacheable)
        if (const auto* known = m_cache.find(tag, name))
            return *known;
    m_uncached = recognise(tag, TagName(tag));
    if (cacheable)
        m_cache.add(tag, name, m_uncached);
    return m_uncached;
}

template <class Sink>
bool AdifTagScanner::scanLine(std::string_view rest, Sink& sink)
{
    while (!rest.empty() && !sink.stopped()) {
        if (rest.front() == '<') {
            const NameSpan name = spanName(rest);
            if (isEndOfRecord(rest, name)) {
                sink.endRecord();
                rest.remove_prefix(5);
            } else if (const auto& field = recognised(rest, name)) {
                if (!readField(rest, name, *field, sink))
                    return false;
            } else {
                rest.remove_prefix(1 + name.size); // a name holds no "<"
            }
        }
        const size_t next = findOpen(rest);
        if (next == std::string_view::npos)
            break;
        rest.remove_prefix(next);
    }
    return true;
}

void AdifRecordBuilder::endRecord()
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

template <class Sink>
bool AdifTagScanner::readField(std::string_view& rest, NameSpan tagName, const Recognised& field,
                               Sink& sink)
{
    // "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>": every digit of the length counts. The
    // name was read already: when a ":" ends it, the length follows at once.
    size_t colon = std::string_view::npos;
    size_t close = std::string_view::npos;
    size_t length = 0;
    size_t digits = 0;
    size_t i = 0;
    const auto readLength = [&] {
        for (i = colon + 1; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i, ++digits)
            if (digits < 10)
                length = length * 10 + static_cast<size_t>(rest[i] - '0');
    };
    if (tagName.after == ':') {
        colon = 1 + tagName.size; // name characters hold no ":" and no ">"
        readLength();
        close = i < rest.size() && rest[i] == '>' ? i : findChar(rest, '>', i);
    } else {
        close = findChar(rest, '>');
        if (close != std::string_view::npos)
            colon = findChar(rest.substr(0, close), ':');
        if (colon != std::string_view::npos)
            readLength();
    }
    if (close == std::string_view::npos) {
        rest = {};
        return true;
    }
    const std::string_view tag = rest.substr(0, close + 1);
    if (colon == std::string_view::npos || digits == 0)
        return false;
    const std::string_view name = tag.substr(1, colon - 1);
    const std::string_view after = rest.substr(close + 1);
    if (length > kLongestValue) {
        sink.problem(std::string(name) + ": length " +
                     std::string(tag.substr(colon + 1, i - colon - 1)) +
                     " refused, value not read");
        rest = after;
        return true;
    }
    // Nearly every value is plain: its length counts bytes and characters alike.
    const bool plain = isPlainValue(after, length);
    size_t span = length;
    if (!plain) {
        bool doubtful = false;
        span = valueSpan(after, length, doubtful);
        if (doubtful)
            sink.problem(std::string(name) + ": length " + std::to_string(length) +
                         " runs into the next field, value cut before it");
    }
    if (length > 0) {
        std::string_view value = after.substr(0, span);
        if (field.maxLength != kWhole)
            value = plain ? value.substr(0, std::min(span, field.maxLength))
                          : utf8Prefix(value, field.maxLength);
        sink.field(field.target, value, !field.keepCase);
    }
    rest = after.substr(span);
    return true;
}

void AdifRecordBuilder::applyDate(int fieldNumber, std::string_view value)
{
    const size_t length = utf8Length(value);
    if (length == 6)
        m_normalizer.setDate(fieldNumber, value, "yymmdd");
    else if (length == 8)
        m_normalizer.setDate(fieldNumber, value, "yyyymmdd");
}

void AdifRecordBuilder::field(Target target, std::string_view value)
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

// The fields of a batch of lines as the scanning thread found them, to be applied in
// order by the thread that builds the QSOs. Values are copied: the lines are gone by
// the time they are applied.
struct ScannedBatch
{
    enum class Kind : uint8_t
    {
        Field,
        EndRecord,
        Problem
    };
    struct Event
    {
        Kind kind;
        Target target;
        size_t offset; // into text
        size_t size;
    };
    std::string text;
    std::vector<Event> events;
    bool badLength = false; // scanning stopped at a tag whose length is not a number

    void clear()
    {
        text.clear();
        events.clear();
        badLength = false;
    }
};

class BatchRecorder
{
public:
    BatchRecorder(ScannedBatch& batch, const std::atomic<bool>& stop) : m_batch(batch), m_stop(stop)
    {}

    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    void field(Target target, std::string_view value, bool upper)
    {
        const size_t at = m_batch.text.size();
        add(ScannedBatch::Kind::Field, target, value);
        if (upper)
            upperAsciiInPlace(m_batch.text.data() + at, value.size());
    }
    void endRecord() { add(ScannedBatch::Kind::EndRecord, Target::Skip, {}); }
    void problem(std::string_view text) { add(ScannedBatch::Kind::Problem, Target::Skip, text); }

private:
    void add(ScannedBatch::Kind kind, Target target, std::string_view value)
    {
        m_batch.events.push_back({kind, target, m_batch.text.size(), value.size()});
        m_batch.text.append(value);
    }

    ScannedBatch& m_batch;
    const std::atomic<bool>& m_stop;
};

// False when the build was stopped before the batch's end.
bool replay(const ScannedBatch& batch, AdifRecordBuilder& builder)
{
    for (const ScannedBatch::Event& e : batch.events) {
        if (builder.stopped())
            return false;
        const std::string_view value(batch.text.data() + e.offset, e.size);
        switch (e.kind) {
        case ScannedBatch::Kind::Field:
            builder.field(e.target, value);
            break;
        case ScannedBatch::Kind::EndRecord:
            builder.endRecord();
            break;
        case ScannedBatch::Kind::Problem:
            builder.problem(value);
            break;
        }
    }
    return true;
}

// Scanned batches passed from the scanning thread to the building one, a few at most
// on their way, so memory stays that of a few pieces of the file.
class BatchPipe
{
public:
    std::unique_ptr<ScannedBatch> takeEmpty()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_full.size() < kAhead || m_stop.load(); });
        if (m_stop.load())
            return nullptr;
        if (m_free.empty())
            return std::make_unique<ScannedBatch>();
        auto batch = std::move(m_free.back());
        m_free.pop_back();
        batch->clear();
        return batch;
    }
    void put(std::unique_ptr<ScannedBatch> batch)
    {
        {
            std::lock_guard lock(m_mutex);
            m_full.push_back(std::move(batch));
        }
        m_changed.notify_all();
    }
    void finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
    }
    // The next batch in order; null once the scanning thread has finished and all
    // batches were taken.
    std::unique_ptr<ScannedBatch> next()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_full.empty() || m_finished; });
        if (m_full.empty())
            return nullptr;
        auto batch = std::move(m_full.front());
        m_full.pop_front();
        m_changed.notify_all();
        return batch;
    }
    void giveBack(std::unique_ptr<ScannedBatch> batch)
    {
        std::lock_guard lock(m_mutex);
        m_free.push_back(std::move(batch));
    }
    void requestStop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
    }
    const std::atomic<bool>& stopFlag() const { return m_stop; }

private:
    static constexpr size_t kAhead = 2;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<ScannedBatch>> m_full;
    std::vector<std::unique_ptr<ScannedBatch>> m_free;
    bool m_finished = false;
    std::atomic<bool> m_stop{false};
};

} // namespace

bool AdifReader::readLines(const std::vector<std::string_view>& lines, TQXLogSpec& spec,
                           ReadContext& context)
{
    AdifTagScanner scanner(context.adifCommentTag());
    AdifRecordBuilder builder(spec, context);
    for (std::string_view line : lines) {
        if (context.abortRequested())
            break;
        if (!scanner.scanLine(line, builder))
            return false;
    }
    return true;
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
    // Two threads: one reads the file and finds the fields, this one builds, checks
    // and keeps the QSOs (and so alone talks to the engine and its progress).
    AdifTagScanner scanner(context.adifCommentTag());
    AdifRecordBuilder builder(spec, context);
    const TQXLogSpec file = spec;
    BatchPipe pipe;
    bool readOk = true;
    std::exception_ptr failure;
    std::thread scanning([&] {
        try {
            readOk =
                ReadLogLineBatches(file, scan, [&](const std::vector<std::string_view>& lines) {
                    auto batch = pipe.takeEmpty();
                    if (!batch)
                        return false;
                    BatchRecorder recorder(*batch, pipe.stopFlag());
                    for (std::string_view line : lines) {
                        if (recorder.stopped())
                            break;
                        if (!scanner.scanLine(line, recorder)) {
                            batch->badLength = true;
                            break;
                        }
                    }
                    const bool goOn = !batch->badLength;
                    pipe.put(std::move(batch));
                    return goOn;
                });
        } catch (...) {
            failure = std::current_exception();
        }
        pipe.finish();
    });
    struct Joiner
    {
        BatchPipe& pipe;
        std::thread& thread;
        ~Joiner()
        {
            pipe.requestStop();
            if (thread.joinable())
                thread.join();
        }
    } joiner{pipe, scanning};
    bool ok = true;
    while (auto batch = pipe.next()) {
        if (!replay(*batch, builder))
            break;
        if (batch->badLength) {
            ok = false;
            break;
        }
        pipe.giveBack(std::move(batch));
    }
    pipe.requestStop();
    scanning.join();
    if (failure)
        std::rethrow_exception(failure);
    return ok && readOk;
}

} // namespace qx7
