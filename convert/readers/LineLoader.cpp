#include "convert/readers/LineLoader.h"

#include "core/Text.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace qx7 {

namespace {

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool containsIgnoreCase(std::string_view line, std::string_view upperNeedle)
{
    if (line.size() < upperNeedle.size())
        return false;
    for (size_t i = 0; i + upperNeedle.size() <= line.size(); ++i) {
        size_t k = 0;
        while (k < upperNeedle.size() &&
               (line[i + k] == upperNeedle[k] ||
                (line[i + k] >= 'a' && line[i + k] <= 'z' && line[i + k] - 32 == upperNeedle[k])))
            ++k;
        if (k == upperNeedle.size())
            return true;
    }
    return false;
}

bool isEorAt(std::string_view line, size_t pos)
{
    if (pos + 5 > line.size())
        return false;
    const char* p = line.data() + pos;
    return p[0] == '<' && (p[1] | 0x20) == 'e' && (p[2] | 0x20) == 'o' && (p[3] | 0x20) == 'r' &&
           p[4] == '>';
}

// Records, not lines: a file may hold many records on one line (or all of them).
// A "<" comes every few bytes in ADIF, too often for a call to memchr each: eight bytes
// are looked at a step, and only where one of them may be a "<" is it checked.
long long countEor(std::string_view line)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    constexpr uint64_t kOpen = kOnes * static_cast<unsigned char>('<');
    long long count = 0;
    size_t i = 0;
    // Byte k of a word is bits 8k..8k+7 on a little-endian machine only.
    const size_t words = std::endian::native == std::endian::little ? line.size() : 0;
    for (; i + 8 <= words; i += 8) {
        uint64_t word;
        std::memcpy(&word, line.data() + i, 8);
        const uint64_t x = word ^ kOpen;
        // A high bit for every zero byte of x (and maybe for the byte after one, which
        // isEorAt turns down).
        for (uint64_t hits = (x - kOnes) & ~x & kHigh; hits != 0; hits &= hits - 1)
            count += isEorAt(line, i + static_cast<size_t>(std::countr_zero(hits)) / 8);
    }
    for (; i < line.size(); ++i)
        count += isEorAt(line, i);
    return count;
}

bool beginsWithQso(std::string_view line)
{
    size_t pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return containsIgnoreCase(line.substr(pos, 4), "QSO:");
}

bool hasSlashBetweenDigits(std::string_view line)
{
    for (size_t i = 1; i + 1 < line.size(); ++i)
        if (line[i] == '/' && isDigit(line[i - 1]) && isDigit(line[i + 1]))
            return true;
    return false;
}

std::string firstWordAfter(std::string_view line, std::string_view marker)
{
    const std::string upper = toUpperAscii(line);
    const size_t pos = upper.find(marker);
    std::string rest = trimmed(line.substr(pos + marker.size()));
    return rest.substr(0, rest.find(' '));
}

} // namespace

// Well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF). Log files are
// mostly ASCII, which is skipped 32 or eight bytes at a time.
bool isLogTextUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        if (end - p >= 32) {
            uint64_t w[4];
            std::memcpy(w, p, 32);
            if (((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ull) == 0) {
                p += 32;
                continue;
            }
        }
        if (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else
            return false;
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int k = 2; k < length; ++k)
            if (p[k] < 0x80 || p[k] > 0xBF)
                return false;
        p += length;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    return ok;
}

std::string decodeLogText(std::string bytes)
{
    if (isLogTextUtf8(bytes)) {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.erase(0, 3);
        return bytes;
    }
    return cp1252ToUtf8(bytes);
}

long long countAdifRecords(std::string_view text)
{
    return countEor(text);
}

void splitLines(std::string_view text, std::vector<std::string_view>& lines, size_t maxLines)
{
    size_t pos = 0;
    while (pos < text.size() && lines.size() < maxLines) {
        while (pos < text.size() && isBreak(text[pos]))
            ++pos;
        if (pos >= text.size())
            break;
        // The first LF, then a CR before it: searching for a CR over the rest of the
        // text would read the whole file again for every line of a file without CRs.
        const char* from = text.data() + pos;
        const size_t left = text.size() - pos;
        const void* lf = std::memchr(from, '\n', left);
        size_t end =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
        if (const void* cr = std::memchr(from, '\r', end - pos))
            end = static_cast<size_t>(static_cast<const char*>(cr) - text.data());
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
}

long long countLogLines(int logType, std::string_view text, std::string* stationCall)
{
    std::vector<std::string_view> lines;
    splitLines(text, lines);
    return countLogLines(logType, lines, stationCall);
}

long long countLogLines(int logType, const std::vector<std::string_view>& lines,
                        std::string* stationCall)
{
    long long count = 0;
    switch (logType) {
    case 45:
        for (auto line : lines)
            count += countEor(line);
        break;
    case 10:
        for (auto line : lines)
            count += line.size() >= 20 && line[19] == ':';
        break;
    case 12:
        for (auto line : lines) {
            count += hasSlashBetweenDigits(line);
            if (stationCall && containsIgnoreCase(line, "CALLSIGN:"))
                *stationCall = firstWordAfter(line, "CALLSIGN:");
        }
        break;
    case 26:
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i == 0) {
                if (stationCall && lines[0].size() > 14)
                    *stationCall = trimmed(lines[0].substr(14, 10));
                continue;
            }
            count += !lines[i].starts_with("--");
        }
        break;
    case 27:
        // Only lines that begin with "QSO:" are QSOs; "X-QSO:" lines and QTCs are not.
        for (auto line : lines) {
            count += beginsWithQso(line);
            if (stationCall && containsIgnoreCase(line, "CALLSIGN:") && line.size() > 10)
                *stationCall = trimmed(line.substr(10));
        }
        break;
    case 43:
        for (auto line : lines)
            count += line.size() >= 2 && line[1] != ' ';
        break;
    default:
        count = static_cast<long long>(lines.size());
        break;
    }
    return count;
}

bool LoadLogLines(TQXLogSpec& spec, LogLines& out, size_t maxLines)
{
    out.lines.clear();
    std::string bytes;
    if (!readWholeFile(spec.FileName, bytes))
        return false;
    out.text = decodeLogText(std::move(bytes));
    std::string call;
    if (maxLines == std::numeric_limits<size_t>::max()) {
        splitLines(out.text, out.lines);
        spec.LogSize = countLogLines(spec.LogType, out.lines, &call);
    } else {
        splitLines(out.text, out.lines, maxLines);
        spec.LogSize = countLogLines(spec.LogType, out.text, &call);
    }
    if (!call.empty())
        spec.CallSign = call;
    return true;
}

} // namespace qx7
