#pragma once
// Small rules every table of the store layer follows.

#include "dbase/Schema.h"

#include <string>
#include <string_view>

namespace qx7 {

// The dBase level new tables get from the setting "BDEDBaseLevel" (5 and 7 as such,
// anything else level 4).
dbase::Level tableLevel(int setting);

// `utf8` cut or padded with blanks to `width` characters. Tables store one byte a
// character (Windows-1252), so the parts of a composite index key ("CALL+DATEFROM+MGR")
// must be padded in characters, never in UTF-8 bytes.
std::string padToWidth(std::string_view utf8, size_t width);

} // namespace qx7
