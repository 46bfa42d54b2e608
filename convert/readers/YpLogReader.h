#pragma once
// Reads YPLog exports (type 30): one QSO per line in 13 tab-separated columns, the band
// as a frequency in MHz and "C" marking confirmed QSL states.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class YpLogReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
