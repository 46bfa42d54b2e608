#pragma once
// Writes the text layouts (19 sorted by date, 20 sorted by call): the chosen fields in
// the chosen order, delimited or in fixed-width columns, with an optional text qualifier
// and a header row of the field keys.

#include "convert/engine/LogFormat.h"

#include <string_view>

namespace qx7 {

// The column width of a field in fixed-width files.
size_t fixedWidthOf(std::string_view key);

bool WriteTextLog(TQXLogSpec& output, WriteContext& context);

class TextLogWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteTextLog(output, context);
    }
};

} // namespace qx7
