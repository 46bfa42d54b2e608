#include "dbase/DbfHeader_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/Error.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <set>

// .dbf header, dBase III / IV / 5 and FoxPro (32 bytes, then 32-byte field descriptors):
//   0      version byte (see formatOf)
//   1-3    last update: year (dBase: year-1900; FoxPro writers: year%100), month, day
//   4-7    record count (u32)
//   8-9    header length: everything before the first record, including 0x0D
//   10-11  record length: 1 (deletion flag, ' ' or '*') + the field widths
//   14     incomplete-transaction flag; 15 encryption flag (both 0 when we write)
//   28     dBase: 0x01 a production .mdx exists; FoxPro: 0x01 structural .cdx,
//          0x02 memo, 0x04 database container
//   29     language driver id (0x57 = DBWINUS0, Windows-1252)
// Field descriptor (32 bytes):
//   0-10   name, NUL padded      11  type letter
//   12-15  VFP: offset of the field in the record
//   16     width (Clipper/FoxPro character fields: + 256 × byte 17)
//   17     decimals              18  VFP flags: 0x01 system, 0x02 nullable, 0x04 binary
//   30     ours: 'R' when a value is required (reserved and ignored by dBase tools)
//   31     dBase IV: 0x01 when the field has its own tag in the production .mdx
// The descriptors end with 0x0D. Visual FoxPro follows it with a 263-byte backlink.
//
// Level 7 (version 0x04, 0x8C with memo): bytes 0-31 as above, 32-63 language driver
// name ("DBWINUS0"), 64-67 reserved, descriptors from 68, 48 bytes each:
//   0-31 name, 32 type, 33 width, 34 decimals, 35-36 reserved, 37 production-mdx flag,
//   38-39 reserved, 40-43 next autoincrement value, 44 ours: 'R' required, 45-47 reserved.
// Field-property structures may follow the 0x0D; the header length covers them.

namespace qx7::dbase::detail {

namespace {

constexpr std::uint8_t kLdidWin1252 = 0x57;
constexpr std::uint8_t kTerminator = 0x0D;
constexpr std::uint8_t kRequiredMark = 'R';

[[noreturn]] void damaged(const std::string& table, const std::string& cause,
                          const std::string& where)
{
    throw Error(Error::Kind::Damaged, table, "read header", cause, where);
}

struct VersionInfo
{
    Format format;
    int level;
    MemoKind memo;
};

bool versionKnown(std::uint8_t v, VersionInfo& info)
{
    switch (v) {
    case 0x02:
        info = {Format::FoxBase, 0, MemoKind::None};
        return true;
    case 0x03:
        info = {Format::DBase3, 3, MemoKind::None};
        return true;
    case 0x04:
        info = {Format::DBase7, 7, MemoKind::None};
        return true;
    case 0x05:
        info = {Format::DBase4, 5, MemoKind::None};
        return true;
    case 0x30:
    case 0x31:
    case 0x32:
        info = {Format::VisualFoxPro, 0, MemoKind::Fpt};
        return true;
    case 0x43:
    case 0x63:
        info = {Format::DBase4, 4, MemoKind::None};
        return true;
    case 0x83:
        info = {Format::DBase3, 3, MemoKind::Dbt3};
        return true;
    case 0x8B:
    case 0xCB:
        info = {Format::DBase4, 4, MemoKind::Dbt4};
        return true;
    case 0x8C:
        info = {Format::DBase7, 7, MemoKind::Dbt4};
        return true;
    case 0xF5:
        info = {Format::FoxPro2, 0, MemoKind::Fpt};
        return true;
    case 0xFB:
        info = {Format::FoxBase, 0, MemoKind::Fpt};
        return true;
    default:
        return false;
    }
}

std::string trimName(std::string_view raw)
{
    const auto nul = raw.find('\0');
    std::string name(raw.substr(0, nul));
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return name;
}

std::string hex(std::size_t v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%zx", v);
    return buf;
}

// Clipper and FoxPro store character widths above 255 in the decimals byte.
void applyLongCharacterWidths(std::vector<FieldInfo>& fields, int recordLength)
{
    int sum = 1;
    for (const auto& f : fields) {
        sum += f.width;
    }
    if (sum == recordLength) {
        return;
    }
    int wide = 1;
    for (const auto& f : fields) {
        wide += f.type == 'C' ? f.width + 256 * f.decimals : f.width;
    }
    if (wide != recordLength) {
        return;
    }
    for (auto& f : fields) {
        if (f.type == 'C') {
            f.width += 256 * f.decimals;
            f.decimals = 0;
        }
    }
}

void layOutFields(DbfHeader& h, const std::vector<int>& vfpOffsets, const std::string& table)
{
    applyLongCharacterWidths(h.fields, h.recordLength);
    int offset = 1;
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        auto& f = h.fields[i];
        if (h.format == Format::VisualFoxPro && vfpOffsets[i] > 0) {
            f.offset = vfpOffsets[i];
        } else {
            f.offset = offset;
        }
        offset = f.offset + f.width;
        if (offset > h.recordLength) {
            damaged(table,
                    "field " + f.name + " ends past the record length " +
                        std::to_string(h.recordLength),
                    "field descriptor " + std::to_string(i + 1));
        }
    }
}

} // namespace

bool DbfHeader::hasMemoFields() const
{
    return std::any_of(fields.begin(), fields.end(), [](const FieldInfo& f) {
        return f.type == 'M' || f.type == 'G' || f.type == 'P';
    });
}

std::size_t declaredHeaderLength(std::string_view bytes)
{
    return bytes.size() < 32 ? 0 : getU16le(bytes.data() + 8);
}

DbfHeader parseDbfHeader(std::string_view bytes, std::uint64_t fileSize, const std::string& table)
{
    if (bytes.size() < 32) {
        damaged(table,
                "the file is shorter than a header (" + std::to_string(bytes.size()) + " bytes)",
                "offset 0");
    }
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    DbfHeader h;
    h.version = b[0];
    VersionInfo info{};
    if (!versionKnown(h.version, info)) {
        damaged(table, "unknown version byte " + hex(h.version), "offset 0");
    }
    h.format = info.format;
    h.level = info.level;
    h.memoKind = info.memo;
    const int year = b[1] >= 100 ? 1900 + b[1] : (b[1] < 80 ? 2000 + b[1] : 1900 + b[1]);
    h.lastUpdate = {year, b[2], b[3]};
    h.recordCount = getU32le(b + 4);
    h.headerLength = getU16le(b + 8);
    h.recordLength = getU16le(b + 10);
    h.tableFlags = b[28];
    h.ldid = b[29];
    const bool level7 = h.format == Format::DBase7;
    const std::size_t first = level7 ? 68 : 32;
    const std::size_t descSize = level7 ? 48 : 32;
    if (h.headerLength < first + 1 || h.headerLength > bytes.size()) {
        damaged(table, "header length " + std::to_string(h.headerLength) + " is impossible",
                "offset 8");
    }
    if (h.recordLength < 2) {
        damaged(table, "record length " + std::to_string(h.recordLength) + " is impossible",
                "offset 10");
    }
    if (h.version == 0x03 && (h.ldid != 0 || (h.tableFlags & 0x01) != 0)) {
        h.level = 4; // 0x03 with a language driver or an .mdx was written by dBase IV or later
    }
    if (level7) {
        h.languageDriver = trimName(bytes.substr(32, 32));
    }
    std::vector<int> vfpOffsets;
    std::size_t pos = first;
    bool terminated = false;
    while (pos < h.headerLength) {
        if (b[pos] == kTerminator) {
            terminated = true;
            break;
        }
        if (pos + descSize > h.headerLength) {
            break;
        }
        const unsigned char* d = b + pos;
        FieldInfo f;
        f.name = trimName(bytes.substr(pos, level7 ? 32 : 11));
        f.type = static_cast<char>(level7 ? d[32] : d[11]);
        f.width = level7 ? d[33] : d[16];
        f.decimals = level7 ? d[34] : d[17];
        f.hasOwnTag = (level7 ? d[37] : d[31]) == 0x01;
        f.required = (level7 ? d[44] : d[30]) == kRequiredMark;
        const std::string where = "field descriptor " + std::to_string(h.fields.size() + 1);
        if (f.name.empty() || f.width == 0 ||
            std::isprint(static_cast<unsigned char>(f.type)) == 0) {
            damaged(table, "a field descriptor is blank or has no width", where);
        }
        if (h.format == Format::VisualFoxPro && f.type == '0') {
            h.nullFlagsOffset = static_cast<int>(getU32le(d + 12));
            h.nullFlagsWidth = f.width;
        } else {
            f.nullable = h.format == Format::VisualFoxPro && (d[18] & 0x02) != 0;
            vfpOffsets.push_back(static_cast<int>(getU32le(d + 12)));
            h.fields.push_back(std::move(f));
        }
        pos += descSize;
    }
    (void)terminated; // some writers leave out the terminator; the header length rules
    if (h.fields.empty()) {
        damaged(table, "the table has no fields", "offset " + std::to_string(first));
    }
    layOutFields(h, vfpOffsets, table);
    if (h.nullFlagsOffset >= 0 &&
        (h.nullFlagsOffset < 1 || h.nullFlagsOffset + h.nullFlagsWidth > h.recordLength)) {
        damaged(table, "the null-flags field lies outside the record", "field descriptors");
    }
    int bit = 0;
    for (const auto& f : h.fields) {
        h.nullBit.push_back(f.nullable ? bit++ : -1);
        if (f.type == 'V' || f.type == 'Q') {
            ++bit;
        }
    }
    if (h.memoKind == MemoKind::None && h.hasMemoFields()) {
        h.memoKind = h.format == Format::DBase3 && h.level == 3 ? MemoKind::Dbt3 : MemoKind::Dbt4;
    }
    const std::uint64_t needed =
        h.headerLength + static_cast<std::uint64_t>(h.recordCount) * h.recordLength;
    if (needed > fileSize) {
        damaged(table,
                "the header counts " + std::to_string(h.recordCount) +
                    " records but the file holds " +
                    std::to_string((fileSize > h.headerLength ? fileSize - h.headerLength : 0) /
                                   h.recordLength),
                "offset 4");
    }
    return h;
}

std::vector<FieldDef> validateFieldDefs(std::vector<FieldDef> fields, Level level,
                                        const std::string& table)
{
    auto invalid = [&](const std::string& cause) {
        throw Error(Error::Kind::Invalid, table, "create", cause);
    };
    if (fields.empty()) {
        invalid("a table needs at least one field");
    }
    if (fields.size() > 255) {
        invalid("more than 255 fields");
    }
    const std::size_t maxName = level == Level::DBase7 ? 31 : 10;
    std::set<std::string> seen;
    int recordLength = 1;
    for (auto& f : fields) {
        std::transform(f.name.begin(), f.name.end(), f.name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const bool nameOk = !f.name.empty() && f.name.size() <= maxName &&
                            std::isalpha(static_cast<unsigned char>(f.name[0])) &&
                            std::all_of(f.name.begin(), f.name.end(), [](unsigned char c) {
                                return std::isalnum(c) || c == '_';
                            });
        if (!nameOk) {
            invalid("field name \"" + f.name + "\" is not a dBase name");
        }
        if (!seen.insert(f.name).second) {
            invalid("field " + f.name + " appears twice");
        }
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(f.type)));
        if (f.type == 'L') {
            f.width = 1;
            f.decimals = 0;
        } else if (f.type == 'C') {
            if (f.width < 1 || f.width > 254) {
                invalid("field " + f.name + " needs a width of 1 to 254");
            }
            f.decimals = 0;
        } else {
            throw Error(Error::Kind::Unsupported, table, "create",
                        std::string("field type ") + f.type + " cannot be created (C and L only)");
        }
        recordLength += f.width;
    }
    if (recordLength > 65535) {
        invalid("the record would be longer than 65535 bytes");
    }
    return fields;
}

std::string buildDbfHeader(Level level, const std::vector<FieldDef>& fields,
                           const std::vector<bool>& ownTag, bool hasIndex, Date date)
{
    const bool level7 = level == Level::DBase7;
    const std::size_t first = level7 ? 68 : 32;
    const std::size_t descSize = level7 ? 48 : 32;
    std::string h(first + descSize * fields.size() + 1, '\0');
    auto* b = reinterpret_cast<unsigned char*>(h.data());
    b[0] = level7 ? 0x04 : 0x03;
    b[1] = static_cast<unsigned char>(date.year - 1900);
    b[2] = static_cast<unsigned char>(date.month);
    b[3] = static_cast<unsigned char>(date.day);
    putU16le(b + 8, static_cast<std::uint16_t>(h.size()));
    int recordLength = 1;
    for (const auto& f : fields) {
        recordLength += f.width;
    }
    putU16le(b + 10, static_cast<std::uint16_t>(recordLength));
    b[28] = hasIndex ? 0x01 : 0x00;
    b[29] = kLdidWin1252;
    if (level7) {
        std::memcpy(b + 32, "DBWINUS0", 8);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        unsigned char* d = b + first + descSize * i;
        std::memcpy(d, fields[i].name.data(), fields[i].name.size());
        d[level7 ? 32 : 11] = static_cast<unsigned char>(fields[i].type);
        d[level7 ? 33 : 16] = static_cast<unsigned char>(fields[i].width);
        d[level7 ? 34 : 17] = static_cast<unsigned char>(fields[i].decimals);
        d[level7 ? 37 : 31] = ownTag[i] ? 0x01 : 0x00;
        d[level7 ? 44 : 30] = fields[i].required ? kRequiredMark : 0x00;
    }
    b[h.size() - 1] = kTerminator;
    return h;
}

Date today()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

} // namespace qx7::dbase::detail
