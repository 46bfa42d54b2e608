#include "convert/normalize/ImportRecord.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace qx7 {

namespace {

constexpr std::string_view kCallFirstImage = "|20            =NNN            ";
constexpr std::string_view kDateFirstImage = "20          |  =NNN            ";
constexpr char kOpenBrace = '\x01';
constexpr char kCloseBrace = '\x02';

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string_view utf8Prefix(std::string_view text, size_t chars, size_t maxBytes)
{
    // ASCII, most of every log, is a byte per character: the prefix is its first bytes
    // unless a stray continuation byte follows them and so belongs to the last one.
    const size_t n = std::min({chars, text.size(), maxBytes});
    size_t ascii = 0;
    while (ascii < n && static_cast<unsigned char>(text[ascii]) < 0x80)
        ++ascii;
    if (ascii == n && (n == text.size() || !isContinuation(text[n])))
        return text.substr(0, n);
    size_t pos = 0;
    size_t count = 0;
    while (pos < text.size() && count < chars) {
        size_t next = pos + 1;
        while (next < text.size() && isContinuation(text[next]))
            ++next;
        if (next > maxBytes)
            break;
        pos = next;
        ++count;
    }
    return text.substr(0, pos);
}

size_t utf8Length(std::string_view text)
{
    size_t count = 0;
    for (char c : text)
        if (!isContinuation(c))
            ++count;
    return count;
}

std::string encodeSegmentValue(std::string_view value)
{
    std::string out(value);
    for (char& c : out) {
        if (c == '{')
            c = kOpenBrace;
        else if (c == '}')
            c = kCloseBrace;
    }
    return out;
}

bool needsDecoding(std::string_view stored)
{
    for (char c : stored)
        if (c == kOpenBrace || c == kCloseBrace)
            return true;
    return false;
}

std::string decodeSegmentValue(std::string_view stored)
{
    std::string out(stored);
    for (char& c : out) {
        if (c == kOpenBrace)
            c = '{';
        else if (c == kCloseBrace)
            c = '}';
    }
    return out;
}

RecordView::RecordView(std::string_view text, RecordLayout layout, size_t pipe)
    : m_text(text), m_layout(layout)
{
    m_pipe = pipe != std::string_view::npos ? pipe : text.find('|');
    if (m_pipe == std::string_view::npos)
        return;
    m_band = layout == RecordLayout::CallFirst ? m_pipe + 13 : m_pipe + 1;
    m_valid = m_band + ImportRecord::kFixedAfterBand <= text.size() &&
              (layout == RecordLayout::CallFirst || m_pipe >= 12);
}

std::string_view RecordView::cut(size_t pos, size_t length) const
{
    if (!m_valid || pos >= m_text.size())
        return {};
    return m_text.substr(pos, length);
}

std::string_view RecordView::call() const
{
    if (!m_valid)
        return {};
    return m_layout == RecordLayout::CallFirst ? m_text.substr(0, m_pipe)
                                               : m_text.substr(12, m_pipe - 12);
}

std::string_view RecordView::date() const
{
    return cut(m_layout == RecordLayout::CallFirst ? m_pipe + 1 : 0, 8);
}

std::string_view RecordView::time() const
{
    return cut(m_layout == RecordLayout::CallFirst ? m_pipe + 9 : 8, 4);
}

std::string_view RecordView::rstSent() const
{
    return cut(m_band + 6, 6);
}

std::string_view RecordView::rstRcvd() const
{
    return cut(m_band + 12, 6);
}

std::string_view RecordView::key() const
{
    return m_valid ? m_text.substr(0, m_band + 2) : m_text.substr(0, m_text.find('='));
}

void RecordView::parseSegments() const
{
    m_segmentsParsed = true;
    if (!m_valid)
        return;
    // Segments follow one another as "{n:value}"; values hold no braces.
    size_t pos = m_band + ImportRecord::kFixedAfterBand;
    while (pos + 3 < m_text.size() && m_text[pos] == '{') {
        size_t p = pos + 1;
        int number = 0;
        while (p < m_text.size() && m_text[p] >= '0' && m_text[p] <= '9' && number < 1000)
            number = number * 10 + (m_text[p++] - '0');
        if (p >= m_text.size() || m_text[p] != ':')
            return;
        const size_t end = m_text.find('}', p + 1);
        if (end == std::string_view::npos)
            return;
        if (number < kSegmentNumbers && !(m_segmentsFound & (1u << number))) {
            m_segmentsFound |= 1u << number;
            m_segmentAt[static_cast<size_t>(number)] = static_cast<uint32_t>(p + 1);
            m_segmentSize[static_cast<size_t>(number)] = static_cast<uint32_t>(end - p - 1);
        }
        pos = end + 1;
    }
}

bool RecordView::hasSegment(int fieldNumber) const
{
    if (!m_segmentsParsed)
        parseSegments();
    return fieldNumber >= 0 && fieldNumber < kSegmentNumbers &&
           (m_segmentsFound & (1u << fieldNumber)) != 0;
}

std::string_view RecordView::segmentView(int fieldNumber) const
{
    if (!hasSegment(fieldNumber))
        return {};
    const auto n = static_cast<size_t>(fieldNumber);
    return m_text.substr(m_segmentAt[n], m_segmentSize[n]);
}

std::string RecordView::segment(int fieldNumber) const
{
    return decodeSegmentValue(segmentView(fieldNumber));
}

ImportRecord::ImportRecord(RecordLayout layout) : m_layout(layout)
{
    reset();
}

void ImportRecord::setLayout(RecordLayout layout)
{
    m_layout = layout;
    reset();
}

void ImportRecord::reset()
{
    m_text = m_layout == RecordLayout::CallFirst ? kCallFirstImage : kDateFirstImage;
    m_pipe = m_layout == RecordLayout::CallFirst ? 0 : 12;
}

size_t ImportRecord::bandPos() const
{
    return m_layout == RecordLayout::CallFirst ? m_pipe + 13 : m_pipe + 1;
}

bool ImportRecord::hasCall() const
{
    return m_layout == RecordLayout::CallFirst ? m_pipe != 0 : m_pipe != 12;
}

void ImportRecord::insertCall(std::string_view call)
{
    if (hasCall() || call.empty())
        return;
    m_text.insert(m_layout == RecordLayout::CallFirst ? 0 : 12, call);
    m_pipe += call.size();
}

// Puts `value` into the `width` positions at `pos`, cut or padded with blanks.
void ImportRecord::putFixed(size_t pos, size_t width, std::string_view value)
{
    const size_t n = std::min(width, value.size());
    char* at = m_text.data() + pos;
    if (n > 0)
        std::memcpy(at, value.data(), n);
    std::memset(at + n, ' ', width - n);
}

void ImportRecord::setDate(std::string_view yyyymmdd)
{
    putFixed(datePos(), 8, yyyymmdd);
}

void ImportRecord::setTime(std::string_view hhmm)
{
    putFixed(datePos() + 8, 4, hhmm);
}

void ImportRecord::putReport(size_t pos, std::string_view report)
{
    putFixed(pos, 6, utf8Prefix(report, 6, 6));
}

void ImportRecord::appendSegment(int fieldNumber, std::string_view value)
{
    char number[12];
    const auto end = std::to_chars(number, number + sizeof number, fieldNumber).ptr;
    const size_t digits = static_cast<size_t>(end - number);
    // Grown once and written in place: a record gets several segments, every QSO.
    const size_t from = m_text.size();
    m_text.resize(from + digits + value.size() + 3);
    char* out = m_text.data() + from;
    *out++ = '{';
    std::memcpy(out, number, digits);
    out += digits;
    *out++ = ':';
    for (const char c : value)
        *out++ = c == '{' ? kOpenBrace : c == '}' ? kCloseBrace : c;
    *out = '}';
}

} // namespace qx7
