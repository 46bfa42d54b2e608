#pragma once
// Reads the program's own logs: QX7 logs (type 42) and the version-6 logs (type 24)
// that have the same table layout with fewer fields. The given file is the log's
// descriptor; the QSO table of the same name lies beside it.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class Qx7LogReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
