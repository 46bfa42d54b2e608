#pragma once
// What the readers of foreign logs share: columns counted in characters, words split at
// any Unicode space, kHz turned into MHz, the band mode a format reads its bands with,
// and records of binary logs with their little-endian numbers and length-prefixed texts.

#include "convert/engine/LogFormat.h"
#include "convert/readers/LineLoader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::detail {

// Characters `from` to `to` of a line, counted from 1 (UTF-8 aware); shorter lines give
// what they have.
std::string_view columns(std::string_view line, size_t from, size_t to);
std::string trimmedColumns(std::string_view line, size_t from, size_t to);
// The character at column `col` (from 1); a space beyond the line's end.
std::string_view columnChar(std::string_view line, size_t col);
// The line from column `from` on.
std::string_view fromColumn(std::string_view line, size_t from);

// Words separated by runs of white space: ASCII blanks and every Unicode space
// (no-break spaces included).
std::vector<std::string_view> splitWords(std::string_view text);
// Leading and trailing white space of that kind removed.
std::string_view trimSpaces(std::string_view text);

// "14025" or "14025.5" (kHz) as "14.025" or "14.0255" (MHz); empty when not a number.
std::string khzToMhz(std::string_view khz);

// The band mode a fixed format reads its bands with, for the normalizer and the log.
void useBandMode(TQXLogSpec& spec, ReadContext& context, int bandMode);

// Loads the text log; false when it cannot be read.
bool loadLines(TQXLogSpec& spec, LogLines& lines);

// The common walk of a line-based log: band mode, load, stop after the size in a
// size-only run, then each line until an abort. `readLine` fills the normalizer and
// answers whether the line was a QSO, which is then completed.
bool readTextLog(TQXLogSpec& spec, ReadContext& context, int bandMode,
                 const std::function<bool(std::string_view line, FieldNormalizer& n)>& readLine);

// A file of fixed-size records read whole.
class RecordFile
{
public:
    // False when the file cannot be read.
    bool load(const std::string& path, size_t recordSize);
    size_t count() const { return m_bytes.size() / m_size; }
    // A trailing part record means the file was cut off.
    bool truncated() const { return m_bytes.size() % m_size != 0; }
    std::string_view record(size_t index) const
    {
        return std::string_view(m_bytes).substr(index * m_size, m_size);
    }

private:
    std::string m_bytes;
    size_t m_size = 1;
};

uint8_t byteAt(std::string_view record, size_t offset);
uint16_t le16(std::string_view record, size_t offset);
uint32_t le32(std::string_view record, size_t offset);
// A Pascal string: a length byte and up to `maxChars` characters; Windows-1252 bytes
// are turned into UTF-8.
std::string pascalText(std::string_view record, size_t offset, size_t maxChars);
// A space- or NUL-padded text of `width` bytes, trimmed.
std::string paddedText(std::string_view record, size_t offset, size_t width);

} // namespace qx7::detail
