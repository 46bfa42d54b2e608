#include "convert/readers/ReaderSupport.h"

#include "convert/normalize/FieldNormalizer.h"
#include "core/Text.h"

namespace qx7::detail {

namespace {

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of character `index` (from 0); the size when the line is shorter.
size_t offsetOfChar(std::string_view line, size_t index)
{
    size_t pos = 0;
    for (size_t n = 0; n < index && pos < line.size(); ++n) {
        ++pos;
        while (pos < line.size() && isContinuation(line[pos]))
            ++pos;
    }
    return pos;
}

// Length in bytes of the white space at the front of `text`, 0 when there is none.
size_t spaceAt(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto b = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char c = b(0);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D))
        return 1;
    if (text.size() >= 2 && c == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0))
        return 2;
    if (text.size() < 3)
        return 0;
    const unsigned cp = ((c & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    if ((c & 0xF0) != 0xE0)
        return 0;
    const bool space = cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 ||
                       cp == 0x2029 || cp == 0x202F || cp == 0x205F || cp == 0x3000;
    return space ? 3 : 0;
}

} // namespace

std::string_view columns(std::string_view line, size_t from, size_t to)
{
    if (from < 1 || to < from)
        return {};
    const size_t begin = offsetOfChar(line, from - 1);
    const std::string_view rest = line.substr(begin);
    return rest.substr(0, offsetOfChar(rest, to - from + 1));
}

std::string trimmedColumns(std::string_view line, size_t from, size_t to)
{
    return std::string(trimSpaces(columns(line, from, to)));
}

std::string_view columnChar(std::string_view line, size_t col)
{
    const std::string_view c = columns(line, col, col);
    return c.empty() ? std::string_view(" ") : c;
}

std::string_view fromColumn(std::string_view line, size_t from)
{
    return from < 1 ? line : line.substr(offsetOfChar(line, from - 1));
}

std::vector<std::string_view> splitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < text.size()) {
        if (const size_t skip = spaceAt(text.substr(pos))) {
            pos += skip;
            continue;
        }
        const size_t start = pos;
        while (pos < text.size() && spaceAt(text.substr(pos)) == 0)
            ++pos;
        words.push_back(text.substr(start, pos - start));
    }
    return words;
}

std::string_view trimSpaces(std::string_view text)
{
    while (const size_t skip = spaceAt(text))
        text.remove_prefix(skip);
    // Trailing: find the end of the last word.
    size_t end = 0;
    for (size_t pos = 0; pos < text.size();) {
        if (const size_t skip = spaceAt(text.substr(pos))) {
            pos += skip;
            continue;
        }
        ++pos;
        end = pos;
    }
    return text.substr(0, end);
}

std::string khzToMhz(std::string_view khz)
{
    const size_t point = khz.find_first_of(".,");
    std::string whole(khz.substr(0, point));
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : khz.substr(point + 1);
    if (whole.empty() || whole.size() > 12)
        return {};
    for (char c : whole)
        if (c < '0' || c > '9')
            return {};
    for (char c : fraction)
        if (c < '0' || c > '9')
            return {};
    while (whole.size() < 4)
        whole.insert(whole.begin(), '0');
    std::string mhz = whole.substr(0, whole.size() - 3);
    mhz.erase(0, std::min(mhz.find_first_not_of('0'), mhz.size() - 1));
    return mhz + "." + whole.substr(whole.size() - 3) + std::string(fraction);
}

void useBandMode(TQXLogSpec& spec, ReadContext& context, int bandMode)
{
    spec.BandMode = bandMode;
    FieldNormalizer& n = context.normalizer();
    n.startLog(bandMode, n.fixedComment());
}

bool loadLines(TQXLogSpec& spec, LogLines& lines)
{
    return LoadLogLines(spec, lines);
}

bool readTextLog(TQXLogSpec& spec, ReadContext& context, int bandMode,
                 const std::function<bool(std::string_view line, FieldNormalizer& n)>& readLine)
{
    useBandMode(spec, context, bandMode);
    LogLines lines;
    if (!loadLines(spec, lines))
        return false;
    if (context.logSizeOnly())
        return true;
    for (std::string_view line : lines.lines) {
        if (context.abortRequested())
            break;
        if (readLine(line, context.normalizer()))
            context.QsoComplete(spec);
    }
    return true;
}

bool RecordFile::load(const std::string& path, size_t recordSize)
{
    m_size = recordSize == 0 ? 1 : recordSize;
    return readWholeFile(path, m_bytes);
}

uint8_t byteAt(std::string_view record, size_t offset)
{
    return offset < record.size() ? static_cast<uint8_t>(record[offset]) : 0;
}

uint16_t le16(std::string_view record, size_t offset)
{
    return static_cast<uint16_t>(byteAt(record, offset) | byteAt(record, offset + 1) << 8);
}

uint32_t le32(std::string_view record, size_t offset)
{
    return static_cast<uint32_t>(le16(record, offset)) |
           static_cast<uint32_t>(le16(record, offset + 2)) << 16;
}

std::string pascalText(std::string_view record, size_t offset, size_t maxChars)
{
    if (offset >= record.size())
        return {};
    const size_t length = std::min<size_t>(byteAt(record, offset), maxChars);
    const std::string_view raw = record.substr(offset + 1, length);
    return trimmed(toUtf8Guessing(raw));
}

std::string paddedText(std::string_view record, size_t offset, size_t width)
{
    if (offset >= record.size())
        return {};
    std::string_view raw = record.substr(offset, width);
    const size_t nul = raw.find('\0');
    if (nul != std::string_view::npos)
        raw = raw.substr(0, nul);
    return trimmed(toUtf8Guessing(raw));
}

} // namespace qx7::detail
