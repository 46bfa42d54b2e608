#pragma once
// One QSO under conversion, kept as the text line the import buffer sorts and compares:
// a key part (call, date, time, band code, mode code) and, after the first "=", the
// flags, the two reports and appended "{number:value}" segments. Two layouts exist;
// the output type of a run decides which one every record uses.
//
//   call-first  "|20            =NNN            "  call | date time band mode = ...
//   date-first  "20          |  =NNN            "  date time call | band mode = ...
//
// Every fixed position after the call is counted from the first "|".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx7 {

enum class RecordLayout
{
    CallFirst,
    DateFirst
};

// Read access to a record text, live or stored in the import buffer.
class RecordView
{
public:
    // Finds the first "|"; `pipe` may be given when the caller knows it.
    RecordView(std::string_view text, RecordLayout layout, size_t pipe = std::string_view::npos);

    // False when the text is too short to hold the fixed positions.
    bool valid() const { return m_valid; }
    std::string_view text() const { return m_text; }
    std::string_view call() const;
    std::string_view date() const;
    std::string_view time() const;
    char band() const { return at(m_band); }
    char mode() const { return at(m_band + 1); }
    char qslSent() const { return at(m_band + 3); }
    char qslRcvd() const { return at(m_band + 4); }
    char mark() const { return at(m_band + 5); }
    std::string_view rstSent() const;
    std::string_view rstRcvd() const;
    // The text before the first "=": call, date, time, band and mode.
    std::string_view key() const;
    // The value of the first segment of that field number, as it was appended.
    bool hasSegment(int fieldNumber) const;
    std::string segment(int fieldNumber) const;
    // The same as stored (see encodeSegmentValue); empty when there is none.
    std::string_view segmentView(int fieldNumber) const;

private:
    static constexpr int kSegmentNumbers = 18;

    char at(size_t pos) const { return pos < m_text.size() ? m_text[pos] : ' '; }
    std::string_view cut(size_t pos, size_t length) const;
    void parseSegments() const;

    std::string_view m_text;
    RecordLayout m_layout;
    size_t m_pipe = 0;
    size_t m_band = 0;
    bool m_valid = false;
    // Found on first use: the first segment of every field number.
    mutable bool m_segmentsParsed = false;
    mutable uint32_t m_segmentsFound = 0;
    // Offsets and sizes, left unset until found: a view is made for every record,
    // most of them never asked for a segment.
    mutable std::array<uint32_t, kSegmentNumbers> m_segmentAt;
    mutable std::array<uint32_t, kSegmentNumbers> m_segmentSize;
};

class ImportRecord
{
public:
    static constexpr size_t kFixedAfterBand = 18; // band ... report received

    explicit ImportRecord(RecordLayout layout = RecordLayout::DateFirst);

    RecordLayout layout() const { return m_layout; }
    void setLayout(RecordLayout layout);
    // Back to the fresh image of the current layout.
    void reset();

    const std::string& text() const { return m_text; }
    // Where the call ends: a call may hold a "|" of its own, so it is not looked for.
    size_t pipe() const { return m_pipe; }
    // The record as another ImportRecord of the same layout had it.
    void assign(std::string_view text, size_t pipe)
    {
        m_text.assign(text);
        m_pipe = pipe;
    }
    RecordView view() const { return RecordView(m_text, m_layout, m_pipe); }
    size_t bandPos() const;

    // Only the first call of a QSO is taken.
    bool hasCall() const;
    void insertCall(std::string_view call);
    void setDate(std::string_view yyyymmdd);
    void setTime(std::string_view hhmm);
    void setBand(char code) { m_text[bandPos()] = code; }
    void setMode(char code) { m_text[bandPos() + 1] = code; }
    void setQslSent(char flag) { m_text[bandPos() + 3] = flag; }
    void setQslRcvd(char flag) { m_text[bandPos() + 4] = flag; }
    void setMark(char flag) { m_text[bandPos() + 5] = flag; }
    // Six positions each; longer text is cut at a character boundary, shorter padded.
    void setRstSent(std::string_view report) { putReport(bandPos() + 6, report); }
    void setRstRcvd(std::string_view report) { putReport(bandPos() + 12, report); }
    void appendSegment(int fieldNumber, std::string_view value);

private:
    size_t datePos() const { return m_layout == RecordLayout::CallFirst ? m_pipe + 1 : 0; }
    void putReport(size_t pos, std::string_view report);
    void putFixed(size_t pos, size_t width, std::string_view value);

    RecordLayout m_layout;
    std::string m_text;
    size_t m_pipe = 0;
};

// Segment values may hold any text; the braces that delimit segments are kept out of
// them so that a comment such as "see {5:x}" cannot pose as another field.
std::string encodeSegmentValue(std::string_view value);
std::string decodeSegmentValue(std::string_view stored);
bool needsDecoding(std::string_view stored);

// The longest prefix of at most `chars` UTF-8 characters (and `maxBytes` bytes).
std::string_view utf8Prefix(std::string_view text, size_t chars,
                            size_t maxBytes = std::string_view::npos);
size_t utf8Length(std::string_view text);

} // namespace qx7
