#pragma once
// Text logs are read whole and split into lines at any run of CR and LF, so no line is
// empty. The loader also counts the QSOs the way each log type counts them, which gives
// the log size shown before a conversion and the progress during it.

#include "convert/specs/TQXLogSpec.h"

#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

struct LogLines
{
    std::string text;                    // the whole file as UTF-8
    std::vector<std::string_view> lines; // views into `text`
};

// Whether the bytes are well-formed UTF-8, which decides how a log is decoded. Parts cut
// at line breaks can be checked one by one: a break never falls inside a character.
bool isLogTextUtf8(std::string_view bytes);

// Bytes that are valid UTF-8 stay as they are (without a leading byte-order mark);
// anything else is read as Windows-1252.
std::string decodeLogText(std::string bytes);

// Splits `text` at CR/LF runs into at most `maxLines` views.
void splitLines(std::string_view text, std::vector<std::string_view>& lines,
                size_t maxLines = std::numeric_limits<size_t>::max());

// The QSO count of a text log of that type, and the station call for types whose
// files name it (empty otherwise). Counts every line, not only the stored ones.
long long countLogLines(int logType, std::string_view text, std::string* stationCall);
long long countLogLines(int logType, const std::vector<std::string_view>& lines,
                        std::string* stationCall);

// The records of ADIF text: its "<EOR>" marks, whatever lines hold them.
long long countAdifRecords(std::string_view text);

// Reads the file of `spec`, stores at most `maxLines` lines and sets `spec.LogSize` and,
// where the format names it, `spec.CallSign`. False when the file cannot be read.
bool LoadLogLines(TQXLogSpec& spec, LogLines& out,
                  size_t maxLines = std::numeric_limits<size_t>::max());

// A whole file as bytes; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

} // namespace qx7
