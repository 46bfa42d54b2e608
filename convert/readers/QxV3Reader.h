#pragma once
// Reads logs of QX version 3 (type 1): a ".QSL" file of 21-byte QSO records (record 0
// holds the station call) and a ".SRT" file of 13-byte records that give the order, the
// flags (QSL sent, mark, band, mode) and the number of the ".QSL" record to read.

#include "convert/engine/LogFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qx7 {

// The band texts of the band index (1-15) of version 3 and 4 logs; empty otherwise.
std::string_view qxOldBandText(int index);

// The date ("mmddyy") and time ("hhmm") packed as the decimal digits of one number:
// month, day, year, hour, minute; a number of other than 9 or 10 digits gives nothing.
struct PackedDateTime
{
    std::string mmddyy;
    std::string hhmm;
};
PackedDateTime unpackDateTime(uint32_t value);

class QxV3Reader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
