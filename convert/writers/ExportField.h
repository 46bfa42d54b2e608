#pragma once
// Field values of an import record as the writers put them into their files.

#include "convert/normalize/ImportRecord.h"

#include <string>
#include <string_view>

namespace qx7 {

// The value of one field ("CALL" ... "MARK") of `record`. Untrimmed, the call is padded
// to 16, band and mode to 5 characters; "DATE" is formatted with `dateFormat`; segment
// fields give their first segment's text. Unknown keys give an empty text.
std::string GetExportField(const RecordView& record, std::string_view key, bool trim,
                           std::string_view dateFormat);
std::string GetExportField(const RecordView& record, int fieldNumber, bool trim,
                           std::string_view dateFormat);

// The trimmed value with dates as "yyyymmdd", as the ADIF and QX7 writers take it,
// without copying where the record holds the text as it is; `scratch` holds it
// otherwise. Valid while the record and `scratch` are.
std::string_view exportValue(const RecordView& record, int fieldNumber, std::string& scratch);

} // namespace qx7
