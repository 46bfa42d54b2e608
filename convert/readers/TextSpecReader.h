#pragma once
// Reads text and CSV logs (types 3 and 34) through the user's import specification:
// delimited or fixed-width columns, an optional text qualifier and header rows, and
// the column-to-field mapping of `FieldMap` ("KEY;width", "nil" for a skipped column).

#include "convert/engine/LogFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// The shown text when a specification-driven log has no mapping to read it by.
inline constexpr const char* kNoSpecification = "No specification defined for log ";

// The values of one delimited line. A column that starts with the qualifier runs to
// the closing qualifier (a doubled qualifier stands for itself), so delimiters inside
// it stay in the value; an empty column between two delimiters is kept as empty, except
// that runs of spaces count as one delimiter when the space delimits.
std::vector<std::string> splitDelimited(std::string_view line, char delimiter, char qualifier);
// The values of one fixed-width line, one per width.
std::vector<std::string> splitFixed(std::string_view line, const std::vector<int>& widths,
                                    char delimiter, char qualifier);

class TextSpecReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
