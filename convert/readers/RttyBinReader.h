#pragma once
// Reads the ".BIN" logs of the RTTY contest program (type 7): 87-byte records after a
// header record, dates as day numbers and times as seconds since midnight.

#include "convert/engine/LogFormat.h"

#include <cstdint>
#include <string>

namespace qx7 {

// The "yyyymmdd" of a day number counted from 1 January 1900, in the program's calendar
// (every fourth year a leap year, 1900 included).
std::string rttyDate(uint16_t dayNumber);

class RttyBinReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
