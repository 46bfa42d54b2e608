#pragma once
// Reads HAM-LOG (type 29), a FoxPro table in one of two layouts: the older one with
// CALL, DATE, UTC, MHZ and one QSL status letter, the newer (German) one with CALLSIGN,
// DATUM, AZEIT, FREQ and separate sent and received QSL fields.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class HamLogReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
