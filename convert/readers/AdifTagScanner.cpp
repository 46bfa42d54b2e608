#include "convert/readers/AdifTagScanner.h"

#include "convert/normalize/ImportRecord.h"
#include "core/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace qx7 {

namespace {

constexpr size_t kWhole = std::string_view::npos;

struct TagRow
{
    std::string_view prefix;
    AdifField target;
    size_t maxLength;
};

// A declared length past this is no value's: refused before anything is cut with it.
constexpr size_t kLongestValue = 1u << 20;

// The receive band and frequency of a split or satellite QSO stand in for the QSO's
// own only when the record has none.
constexpr TagRow kReceiveRows[] = {
    {"<BAND_RX", AdifField::BandRx, kWhole},
    {"<FREQ_RX", AdifField::FreqRx, kWhole},
};

// First match wins, so QSL_SENT_VIA counts as QSL_SENT.
constexpr TagRow kRows[] = {
    {"<CALL", AdifField::Call, kWhole},         {"<QSO_DATE", AdifField::Date, kWhole},
    {"<TIME_ON", AdifField::Time, 4},           {"<BAND", AdifField::Band, kWhole},
    {"<MODE", AdifField::Mode, kWhole},         {"<SUBMODE", AdifField::SubMode, kWhole},
    {"<RST_SENT", AdifField::RstSent, 6},       {"<RST_RCVD", AdifField::RstRcvd, 6},
    {"<QSL_SENT", AdifField::QslSent, 1},       {"<QSL_RCVD", AdifField::QslRcvd, 1},
    {"<QSLSDATE", AdifField::DateSent, kWhole}, {"<QSLRDATE", AdifField::DateRcvd, kWhole},
    {"<DXCC", AdifField::Dxcc, kWhole},         {"<FREQ", AdifField::Freq, kWhole},
    {"<QSL_VIA", AdifField::Manager, kWhole},
};

constexpr char upperAscii(char c)
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

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// A high bit in every byte of `word` equal to `c`; past the first such byte there may
// be false ones, so only the lowest counts.
uint64_t bytesEqual(uint64_t word, char c)
{
    const uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighBits;
}

// The first `c` of `text` from `from` on, eight bytes a step: the next tag or bracket
// is rarely more than a few dozen bytes on, too near for memchr to pay.
size_t findChar(std::string_view text, char c, size_t from = 0)
{
    size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= text.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if (const uint64_t hits = bytesEqual(word, c))
                return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
        }
    }
    for (; i < text.size(); ++i)
        if (text[i] == c)
            return i;
    return std::string_view::npos;
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
// as many bytes as characters, with no UTF-8 to count. With `noOpen`, a "<" among them
// answers false as well. Eight bytes a step.
bool asciiRun(std::string_view text, size_t length, bool noOpen = false)
{
    if (length > text.size() || (length < text.size() && isContinuation(text[length])))
        return false;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighBits) != 0 || (noOpen && bytesEqual(word, '<') != 0))
            return false;
    }
    for (; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80 || (noOpen && text[i] == '<'))
            return false;
    return true;
}

// Plain: whole ASCII characters without a "<". valueSpan() then takes exactly those
// bytes, whichever way the length was counted.
bool isPlainValue(std::string_view text, size_t length)
{
    return asciiRun(text, length, true);
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
    AdifField target;
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

// "<EOR>" in any case at the start of `tag`.
bool isEndOfRecord(std::string_view tag)
{
    return tag.size() >= 5 && tag[4] == '>' &&
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
        return find(keyOf(tag, name));
    }
    // The same without the name's span: the first ":" or ">" of the tag is taken for
    // its end. Only a name of name characters is ever kept, so a spelling found this
    // way has that span; `name` is set to it.
    const Result* findByEnd(std::string_view tag, NameSpan& name) const
    {
        constexpr size_t kWords = 3;
        static_assert(kWords * 8 == TagName::kMax);
        if (std::endian::native != std::endian::little || tag.size() <= 1 + TagName::kMax)
            return nullptr;
        Key key;
        std::memcpy(key.words.data(), tag.data() + 1, TagName::kMax);
        size_t size = TagName::kMax;
        for (size_t k = 0; k < kWords; ++k) {
            uint64_t& word = key.words[k];
            if (size < TagName::kMax) {
                word = 0;
                continue;
            }
            if (const uint64_t ends = bytesEqual(word, ':') | bytesEqual(word, '>')) {
                const size_t at = static_cast<size_t>(std::countr_zero(ends)) / 8;
                size = 8 * k + at;
                word = at == 0 ? 0 : word & (~0ull >> (64 - 8 * at));
            }
        }
        if (size == 0 || size >= TagName::kMax)
            return nullptr;
        const char after = tag[1 + size];
        key.sizeAndAfter = size << 8 | static_cast<unsigned char>(after);
        const Result* known = find(key);
        if (known)
            name = NameSpan{size, after};
        return known;
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
    const Result* find(const Key& key) const
    {
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

// The field name of a tag text starting at "<" is the whole of it up to ":" or ">".
bool sameFieldName(std::string_view tag, std::string_view upperName)
{
    return startsWithUpper(tag, upperName) && tag.size() > upperName.size() &&
           (tag[upperName.size()] == ':' || tag[upperName.size()] == '>');
}

// The field at the start of `rest`, which is then moved past its value. False when
// its length is not a number.
bool readField(std::string_view& rest, NameSpan tagName, const Recognised& field,
               AdifRecordBuilder& builder)
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
        builder.problem(std::string(name) + ": length " +
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
            builder.problem(std::string(name) + ": length " + std::to_string(length) +
                            " runs into the next field, value cut before it");
    }
    if (length > 0) {
        std::string_view value = after.substr(0, span);
        if (field.maxLength != kWhole)
            value = plain ? value.substr(0, std::min(span, field.maxLength))
                          : utf8Prefix(value, field.maxLength);
        builder.field(field.target, value, !field.keepCase);
    }
    rest = after.substr(span);
    return true;
}

} // namespace

// What the tag names of a file stand for: the fixed rows, the comment tag chosen in the
// settings, and the spellings met so far.
class AdifTagScanner::Names
{
public:
    explicit Names(const std::string& commentTag) : m_commentTag(toUpperAscii(commentTag))
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

    // What the tag at the start of `tag` stands for, by way of the cache.
    const std::optional<Recognised>& recognised(std::string_view tag, NameSpan name);
    // The same for a spelling met before, found without the name's span; `name` is
    // set when it is found.
    const std::optional<Recognised>* known(std::string_view tag, NameSpan& name) const
    {
        return cacheable() ? m_cache.findByEnd(tag, name) : nullptr;
    }

private:
    std::optional<Recognised> recognise(std::string_view tag, const TagName& name) const;
    bool isCommentTag(std::string_view tag, const TagName& name) const;
    // A comment tag of other than name characters is compared with the text itself.
    bool cacheable() const { return !m_plainCommentName.empty() || m_commentName.size() <= 1; }

    std::string m_commentTag;
    std::string_view m_commentName; // "<" + the whole field name
    // The name without "<" when it is made of name characters only, as nearly every
    // setting's is; otherwise the comment tag is compared with the text.
    std::string_view m_plainCommentName;
    TagNameCache m_cache;
    std::optional<Recognised> m_uncached;
};

// The comment tag chosen in the settings, compared as a whole field name.
bool AdifTagScanner::Names::isCommentTag(std::string_view tag, const TagName& name) const
{
    if (!m_plainCommentName.empty())
        return name.is(m_plainCommentName);
    return m_commentName.size() > 1 && tag.size() > 1 && m_commentName[1] == upperAscii(tag[1]) &&
           sameFieldName(tag, m_commentName);
}

std::optional<Recognised> AdifTagScanner::Names::recognise(std::string_view tag,
                                                           const TagName& name) const
{
    if (tag.size() < 2)
        return std::nullopt;
    const auto keepCase = [&](AdifField target) {
        return target == AdifField::Comment || target == AdifField::Skip || isCommentTag(tag, name);
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
        if (row.target == AdifField::Date && name.startsWith("QSO_DATE_OFF"))
            return std::nullopt;
        return Recognised{row.target, row.maxLength, keepCase(row.target)};
    }
    if (isCommentTag(tag, name))
        return Recognised{AdifField::Comment, kWhole, true};
    if (first == 'S' && (name.startsWith("SAT_MODE") || name.startsWith("SAT_NAME")))
        return Recognised{AdifField::Skip, kWhole, true};
    return std::nullopt;
}

const std::optional<Recognised>& AdifTagScanner::Names::recognised(std::string_view tag,
                                                                   NameSpan name)
{
    if (cacheable())
        if (const auto* known = m_cache.find(tag, name))
            return *known;
    m_uncached = recognise(tag, TagName(tag));
    if (cacheable())
        m_cache.add(tag, name, m_uncached);
    return m_uncached;
}

AdifTagScanner::AdifTagScanner(const std::string& commentTag)
    : m_names(std::make_unique<Names>(commentTag))
{}

AdifTagScanner::~AdifTagScanner() = default;

bool AdifTagScanner::scanLine(std::string_view rest, AdifRecordBuilder& builder)
{
    if (builder.stopped())
        return true;
    while (!rest.empty()) {
        if (rest.front() == '<') {
            if (isEndOfRecord(rest)) {
                builder.endRecord();
                if (builder.stopped()) // only a finished QSO can stop the read
                    return true;
                rest.remove_prefix(5);
            } else {
                NameSpan name;
                const std::optional<Recognised>* field = m_names->known(rest, name);
                if (!field) {
                    name = spanName(rest);
                    field = &m_names->recognised(rest, name);
                }
                if (*field) {
                    if (!readField(rest, name, **field, builder))
                        return false;
                } else {
                    rest.remove_prefix(1 + name.size); // a name holds no "<"
                }
            }
        }
        const size_t next = findChar(rest, '<');
        if (next == std::string_view::npos)
            break;
        rest.remove_prefix(next);
    }
    return true;
}

} // namespace qx7
