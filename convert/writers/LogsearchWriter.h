#pragma once
// Writes Logsearch text (47 without, 48 with date and time): one line per QSO with the
// call, the band and a one-letter mode; with date and time, "DATE yymmdd" lines and a
// time part that gives only the digits that changed since the previous QSO.

#include "convert/engine/LogFormat.h"

#include <string>

namespace qx7 {

// The time part of a QSO at `time` after one at `last` ("" before the first QSO of a day).
std::string logsearchTimePart(std::string_view time, std::string_view last);

bool WriteLogsearch(TQXLogSpec& output, WriteContext& context);

class LogsearchWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteLogsearch(output, context);
    }
};

} // namespace qx7
