#pragma once
// Field values in records <-> UTF-8 text. One place knows how every field type is
// stored, so that reading, writing, filters and the CLI agree.

#include "dbase/DbfHeader_p.h"

#include <string>
#include <string_view>

namespace qx7::dbase::detail {

class MemoFile;

// The stored bytes of a field, right-trimmed for C fields (no code page conversion).
std::string_view rawField(const FieldInfo& f, const char* record);

// True when Visual FoxPro's null flag for the field is set.
bool isNullField(const DbfHeader& h, std::size_t field, const char* record);

// Text of a field: C and M right-trimmed and converted to UTF-8, N/F trimmed, D as
// "YYYYMMDD", L as "T", "F" or "" (unknown), T as "YYYY-MM-DD HH:MM:SS", I/Y/B as
// numbers. Null and blank values read as "".
std::string decodeField(const DbfHeader& h, std::size_t field, const char* record,
                        const MemoFile* memo, const std::string& table);

// True for T, t, Y, y in a logical field (and for non-blank, non-zero other fields).
bool decodeBool(const FieldInfo& f, const char* record);

// Stores `utf8` into the record. C fields are cut at the width; numbers that do not
// fit, malformed dates and numbers throw Error::Invalid; memo fields throw Unsupported.
void encodeField(const DbfHeader& h, std::size_t field, char* record, std::string_view utf8,
                 const std::string& table);

void encodeBool(const DbfHeader& h, std::size_t field, char* record, bool value,
                const std::string& table);

// A blank record: live flag and every field empty.
void blankRecord(const DbfHeader& h, char* record);

} // namespace qx7::dbase::detail
