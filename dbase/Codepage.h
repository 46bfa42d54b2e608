#pragma once
// Windows-1252 <-> UTF-8. Tables store Windows-1252 (language driver "DBWINUS0");
// everything above the engine speaks UTF-8. The five byte values Windows-1252 leaves
// undefined map to the C1 controls of the same value, so every byte survives a round trip.

#include <string>
#include <string_view>

namespace qx7::dbase {

// Every byte becomes one character; never fails.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold, and bytes that are not valid UTF-8,
// become '?'. The result has exactly one byte per input character.
std::string utf8ToCp1252(std::string_view utf8);

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

} // namespace qx7::dbase
