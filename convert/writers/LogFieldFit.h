#pragma once
// What a QX7 log table keeps of a QSO's values. Its fields have fixed widths and hold
// Windows-1252 text, so a long sub-mode, manager or comment is cut and a character
// outside that code page becomes "?". The table format stays; the run reports every
// value that will not come back as it went in.

#include "convert/normalize/ImportRecord.h"

#include <string>
#include <vector>

namespace qx7 {

// What the log table gives back for `value` stored in that field (0 ... 16).
std::string storedLogText(int fieldNumber, std::string_view value);

// One text per value of `record` that the log table would change, such as
// "COMM cut to 60 characters: ...". Modes cut to the field width are not listed: the
// log reader knows them again by their first characters.
std::vector<std::string> valuesChangedByLog(const RecordView& record);

} // namespace qx7
