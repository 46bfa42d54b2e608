#pragma once
// Mode texts of foreign logs mapped onto the mode table: exact table names first, then
// aliases, where a whole-word alias beats a prefix alias of an earlier row.

#include <string_view>

namespace qx7 {

struct ModeMatch
{
    char code = ' ';          // ' ' when the mode is not recognised
    bool withSubMode = false; // the input is kept as the sub-mode (PSK31 under PSK)
};

// `upper` is trimmed and upper-cased.
ModeMatch matchMode(std::string_view upper);

} // namespace qx7
