#pragma once
// Reads logs of QX version 4 (type 2): 31-byte records, record 0 holding the station
// call, every further record one QSO unless its flags say it is not one.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class QxV4Reader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
