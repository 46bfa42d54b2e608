#include "dbase/FieldCodec_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/Codepage.h"
#include "dbase/Error.h"
#include "dbase/MemoFile_p.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qx7::dbase::detail {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) {
        s.remove_suffix(1);
    }
    return s;
}

void civilFromJulian(long jd, int& y, int& m, int& d)
{
    const long a = jd + 32044;
    const long b = (4 * a + 3) / 146097;
    const long c = a - 146097 * b / 4;
    const long dd = (4 * c + 3) / 1461;
    const long e = c - 1461 * dd / 4;
    const long mm = (5 * e + 2) / 153;
    d = static_cast<int>(e - (153 * mm + 2) / 5 + 1);
    m = static_cast<int>(mm + 3 - 12 * (mm / 10));
    y = static_cast<int>(100 * b + dd - 4800 + mm / 10);
}

long julianFromCivil(int y, int m, int d)
{
    const int a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

std::string formatDateTime(long day, std::uint32_t ms)
{
    if (day <= 0) {
        return {};
    }
    int y = 0, m = 0, d = 0;
    civilFromJulian(day, y, m, d);
    const unsigned secs = ms / 1000;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02u:%02u:%02u", y, m, d, (secs / 3600) % 24,
                  (secs / 60) % 60, secs % 60);
    return buf;
}

std::string formatDouble(double v, int decimals)
{
    if (!std::isfinite(v)) {
        return {};
    }
    char buf[64];
    if (decimals > 0) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
        return buf;
    }
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

double level7Double(const unsigned char* p)
{
    unsigned char be[8];
    std::memcpy(be, p, 8);
    if (be[0] & 0x80) {
        be[0] &= 0x7F;
    } else {
        for (auto& c : be) {
            c = static_cast<unsigned char>(~c);
        }
    }
    std::uint64_t bits = 0;
    for (unsigned char c : be) {
        bits = (bits << 8) | c;
    }
    double v = 0;
    std::memcpy(&v, &bits, 8);
    return v;
}

std::uint32_t memoBlock(const FieldInfo& f, const char* record)
{
    const char* p = record + f.offset;
    if (f.width == 4) {
        return getU32le(p);
    }
    const std::string_view digits = trimmed(std::string_view(p, static_cast<std::size_t>(f.width)));
    std::uint32_t block = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), block);
    return block;
}

[[noreturn]] void invalid(const std::string& table, const FieldInfo& f, const std::string& cause)
{
    throw Error(Error::Kind::Invalid, table, "set field " + f.name, cause);
}

bool parseNumber(std::string_view text, double& out)
{
    const std::string s(trimmed(text));
    if (s.empty()) {
        return false;
    }
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(out);
}

bool parseDate(std::string_view text, int& y, int& m, int& d)
{
    std::string digits;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits.push_back(c);
        } else if (c != '-' && c != '/' && c != '.') {
            return false;
        }
    }
    if (digits.size() != 8) {
        return false;
    }
    y = std::stoi(digits.substr(0, 4));
    m = std::stoi(digits.substr(4, 2));
    d = std::stoi(digits.substr(6, 2));
    return m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

void putRightJustified(const FieldInfo& f, char* p, const std::string& text,
                       const std::string& table)
{
    if (text.size() > static_cast<std::size_t>(f.width)) {
        invalid(table, f,
                "\"" + text + "\" does not fit in " + std::to_string(f.width) + " places");
    }
    std::memset(p, ' ', static_cast<std::size_t>(f.width));
    std::memcpy(p + f.width - text.size(), text.data(), text.size());
}

void encodeBinary(const DbfHeader& h, const FieldInfo& f, char* p, std::string_view utf8,
                  const std::string& table)
{
    const bool blank = trimmed(utf8).empty();
    double v = 0;
    if (!blank && f.type != 'T' && !parseNumber(utf8, v)) {
        invalid(table, f, "\"" + std::string(utf8) + "\" is not a number");
    }
    if (f.type == 'I' && h.format != Format::DBase7) {
        putU32le(p, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(v))));
    } else if (f.type == 'I' || f.type == '+') {
        putU32be(p, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(v))) ^
                        0x80000000u);
    } else if (f.type == 'Y') {
        putU64le(p, static_cast<std::uint64_t>(std::llround(v * 10000.0)));
    } else if (f.type == 'B' && f.width == 8) {
        std::memcpy(p, &v, 8);
    } else if (f.type == 'T') {
        int y = 0, m = 0, d = 0;
        unsigned hh = 0, mi = 0, ss = 0;
        std::memset(p, 0, 8);
        if (blank) {
            return;
        }
        if (std::sscanf(std::string(utf8).c_str(), "%d-%d-%d %u:%u:%u", &y, &m, &d, &hh, &mi, &ss) <
            3) {
            invalid(table, f, "\"" + std::string(utf8) + "\" is not a date and time");
        }
        putU32le(p, static_cast<std::uint32_t>(julianFromCivil(y, m, d)));
        putU32le(p + 4, ((hh * 60 + mi) * 60 + ss) * 1000);
    } else {
        throw Error(Error::Kind::Unsupported, table, "set field " + f.name,
                    std::string("writing field type ") + f.type + " is not supported");
    }
}

} // namespace

std::string_view rawField(const FieldInfo& f, const char* record)
{
    std::string_view s(record + f.offset, static_cast<std::size_t>(f.width));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) {
        s.remove_suffix(1);
    }
    return s;
}

bool isNullField(const DbfHeader& h, std::size_t field, const char* record)
{
    const int bit = field < h.nullBit.size() ? h.nullBit[field] : -1;
    if (bit < 0 || h.nullFlagsOffset < 0 || bit / 8 >= h.nullFlagsWidth) {
        return false;
    }
    const auto byte = static_cast<unsigned char>(record[h.nullFlagsOffset + bit / 8]);
    return (byte >> (bit % 8)) & 1;
}

std::string decodeField(const DbfHeader& h, std::size_t field, const char* record,
                        const MemoFile* memo, const std::string& table)
{
    const FieldInfo& f = h.fields[field];
    if (isNullField(h, field, record)) {
        return {};
    }
    const auto* p = reinterpret_cast<const unsigned char*>(record + f.offset);
    const std::string_view raw(record + f.offset, static_cast<std::size_t>(f.width));
    const bool level7 = h.format == Format::DBase7;
    switch (f.type) {
    case 'C':
    case 'V':
        return h.codePage.toUtf8(rawField(f, record));
    case 'N':
    case 'F':
    case 'D':
        return std::string(trimmed(raw));
    case 'L': {
        const char c = static_cast<char>(std::toupper(p[0]));
        return c == 'T' || c == 'Y' ? "T" : (c == 'F' || c == 'N' ? "F" : "");
    }
    case 'M':
    case 'G':
    case 'P': {
        const std::uint32_t block = memoBlock(f, record);
        if (block == 0) {
            return {};
        }
        if (memo == nullptr || !memo->isOpen()) {
            throw Error(Error::Kind::NotFound, table, "read field " + f.name,
                        "the memo file is missing");
        }
        return h.codePage.toUtf8(memo->read(block));
    }
    case 'I':
    case '+':
        if (f.width != 4) {
            break;
        }
        if (level7 || f.type == '+') {
            return std::to_string(static_cast<std::int32_t>(getU32be(p) ^ 0x80000000u));
        }
        return std::to_string(static_cast<std::int32_t>(getU32le(p)));
    case 'Y':
        if (f.width == 8) {
            return formatDouble(
                static_cast<double>(static_cast<std::int64_t>(getU64le(p))) / 10000.0, 4);
        }
        break;
    case 'B':
    case 'O':
        if (f.width == 8 && (f.type == 'O' || (f.type == 'B' && !level7))) {
            double v = 0;
            if (f.type == 'O') {
                v = level7Double(p);
            } else {
                std::memcpy(&v, p, 8);
            }
            return formatDouble(v, f.decimals);
        }
        if (f.type == 'B' && memo != nullptr && memo->isOpen()) {
            return h.codePage.toUtf8(memo->read(memoBlock(f, record)));
        }
        break;
    case 'T':
        if (f.width == 8) {
            return formatDateTime(static_cast<long>(getU32le(p)), getU32le(p + 4));
        }
        break;
    case '@':
        if (f.width == 8) {
            return formatDateTime(static_cast<long>(getU32be(p)), getU32be(p + 4));
        }
        break;
    default:
        break;
    }
    return h.codePage.toUtf8(trimmed(raw));
}

bool decodeBool(const FieldInfo& f, const char* record)
{
    const std::string_view raw = rawField(f, record);
    if (f.type == 'L') {
        const char c = raw.empty() ? ' ' : raw[0];
        return c == 'T' || c == 't' || c == 'Y' || c == 'y';
    }
    const std::string_view t = trimmed(raw);
    return !t.empty() && t != "0";
}

namespace {

// Eight bytes a step: values are short, but there is one per field of every record.
bool isAscii(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

void encodeField(const DbfHeader& h, std::size_t field, char* record, std::string_view utf8,
                 const std::string& table)
{
    const FieldInfo& f = h.fields[field];
    char* p = record + f.offset;
    const auto width = static_cast<std::size_t>(f.width);
    switch (f.type) {
    case 'C': {
        // ASCII is the same in UTF-8 and in every code page a table may have, and it is
        // what most values are: no conversion.
        const bool ascii = isAscii(utf8);
        if (ascii) {
            const std::size_t n = std::min(utf8.size(), width);
            if (n > 0) { // an empty view may carry no pointer at all
                std::memcpy(p, utf8.data(), n);
            }
            std::memset(p + n, ' ', width - n);
            return;
        }
        const std::string bytes = h.codePage.fromUtf8(utf8, width);
        const std::size_t n = bytes.size();
        std::memcpy(p, bytes.data(), n);
        std::memset(p + n, ' ', width - n);
        return;
    }
    case 'L': {
        const std::string_view t = trimmed(utf8);
        const char c =
            t.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
        if (t.empty()) {
            *p = ' ';
        } else if (c == '?') {
            *p = '?';
        } else if (c == 'T' || c == 'Y' || c == '1') {
            *p = 'T';
        } else if (c == 'F' || c == 'N' || c == '0') {
            *p = 'F';
        } else {
            invalid(table, f, "\"" + std::string(utf8) + "\" is not a logical value");
        }
        return;
    }
    case 'N':
    case 'F': {
        if (trimmed(utf8).empty()) {
            std::memset(p, ' ', width);
            return;
        }
        double v = 0;
        if (!parseNumber(utf8, v)) {
            invalid(table, f, "\"" + std::string(utf8) + "\" is not a number");
        }
        char buf[80];
        std::snprintf(buf, sizeof buf, "%.*f", f.decimals, v);
        putRightJustified(f, p, buf, table);
        return;
    }
    case 'D': {
        int y = 0, m = 0, d = 0;
        if (trimmed(utf8).empty()) {
            std::memset(p, ' ', width);
            return;
        }
        if (width != 8 || !parseDate(trimmed(utf8), y, m, d)) {
            invalid(table, f, "\"" + std::string(utf8) + "\" is not a date (YYYYMMDD)");
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
        std::memcpy(p, buf, 8);
        return;
    }
    case 'M':
    case 'G':
    case 'P':
        throw Error(Error::Kind::Unsupported, table, "set field " + f.name,
                    "writing memo fields is not supported");
    default:
        encodeBinary(h, f, p, utf8, table);
        return;
    }
}

void encodeBool(const DbfHeader& h, std::size_t field, char* record, bool value,
                const std::string& table)
{
    const FieldInfo& f = h.fields[field];
    if (f.type == 'L') {
        record[f.offset] = value ? 'T' : 'F';
        return;
    }
    encodeField(h, field, record, value ? "T" : "F", table);
}

void blankRecord(const DbfHeader& h, char* record)
{
    std::memset(record, ' ', h.recordLength);
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const FieldInfo& f = h.fields[i];
        const bool binary = (f.type == 'I' || f.type == 'Y' || f.type == 'T' || f.type == '+' ||
                             f.type == '@' || f.type == 'O' || (f.type == 'B' && f.width == 8)) ||
                            ((f.type == 'M' || f.type == 'G' || f.type == 'P') && f.width == 4);
        if (binary) {
            std::memset(record + f.offset, 0, static_cast<std::size_t>(f.width));
        }
    }
    if (h.nullFlagsOffset > 0) {
        std::memset(record + h.nullFlagsOffset, 0, static_cast<std::size_t>(h.nullFlagsWidth));
    }
}

} // namespace qx7::dbase::detail
