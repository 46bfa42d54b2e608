#pragma once
// Reads NA contest logs printed to ".PRN" files (type 12). A header line names the
// columns (" SENT " before " CALLSIGN " means the sent report precedes the call); a
// line with a digit on both sides of its first "/" holds a QSO starting at its date.

#include "convert/engine/LogFormat.h"

#include <string_view>

namespace qx7 {

class NaPrnReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
