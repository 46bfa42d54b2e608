#pragma once
// Text inside the program is UTF-8. Files and tables may hold Windows-1252; these
// helpers convert at the boundary (the table engine's conversions are reused).

#include "dbase/Codepage.h"

#include <string>
#include <string_view>

namespace qx7 {

using dbase::cp1252ToUtf8;
using dbase::isValidUtf8;
using dbase::utf8ToCp1252;

// Text read from a file: kept when it is valid UTF-8, else taken as Windows-1252.
inline std::string toUtf8Guessing(std::string_view bytes)
{
    return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

std::string toUpperAscii(std::string_view s);
std::string trimRight(std::string_view s);
std::string trimmed(std::string_view s);
// A message box text on one line: every CR LF becomes one blank.
std::string oneLineText(std::string_view s);

} // namespace qx7
