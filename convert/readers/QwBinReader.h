#pragma once
// Reads the ".BIN" logs of QW (type 33): 62-byte records, the first 20 a header that
// names the station and tells an HF log from a VHF log, the rest QSOs.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class QwBinReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
