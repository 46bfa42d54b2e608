#pragma once
// The .dbf header: parsed from bytes (so the fuzzer can reach it without files) and
// built for new tables. Layouts are written down in DbfHeader.cpp beside the code.

#include "dbase/Schema.h"
#include "dbase/TableCodePage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase::detail {

enum class MemoKind
{
    None,
    Dbt3, // dBase III: 512-byte blocks, text ends with 0x1A
    Dbt4, // dBase IV/5/7: blocks carry an 8-byte header with the length
    Fpt   // FoxPro: big-endian block header with type and length
};

struct DbfHeader
{
    std::uint8_t version = 0;
    Format format = Format::DBase3;
    int level = 4;
    Date lastUpdate;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint8_t tableFlags = 0; // byte 28: 0x01 production index (dBase) / structural CDX
    std::uint8_t ldid = 0;
    std::string languageDriver; // level 7 only
    // How the text is stored: from a .cpg file beside the table, else from the language
    // driver byte; Windows-1252 when neither says or the code page is not known here.
    CodePage codePage;
    bool codePageKnown = true;
    std::string codePageOrigin = "language driver";
    std::vector<FieldInfo> fields;
    // Visual FoxPro's hidden null-flag field: offset into the record (after the deletion
    // flag), its width, and for each field the bit that says "null" (-1 for none).
    int nullFlagsOffset = -1;
    int nullFlagsWidth = 0;
    std::vector<int> nullBit;
    MemoKind memoKind = MemoKind::None;

    bool hasMemoFields() const;
    bool hasProductionIndex() const
    {
        return (tableFlags & 0x01) != 0 && format != Format::VisualFoxPro &&
               format != Format::FoxPro2;
    }
};

// Reads the first 32 bytes' header length; returns 0 when `bytes` is too short.
std::size_t declaredHeaderLength(std::string_view bytes);

// Parses a whole header (at least declaredHeaderLength bytes). Throws Error::Damaged,
// naming `table`, when the header contradicts itself or `fileSize`.
DbfHeader parseDbfHeader(std::string_view bytes, std::uint64_t fileSize, const std::string& table);

// A new table's header; fields must already be validated (see validateFieldDefs).
std::string buildDbfHeader(Level level, const std::vector<FieldDef>& fields,
                           const std::vector<bool>& ownTag, bool hasIndex, Date today);

// Normalises names to upper case and checks names, types and widths for `level`.
std::vector<FieldDef> validateFieldDefs(std::vector<FieldDef> fields, Level level,
                                        const std::string& table);

Date today();

} // namespace qx7::dbase::detail
