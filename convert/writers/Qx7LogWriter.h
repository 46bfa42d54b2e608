#pragma once
// Writes the buffer of a run as a QX7 log (type 42) in the log folder: the QSO table
// with its CALL, DATETIME and QMGR indexes and the descriptor with the own call. Write
// mode 2 makes the log anew; modes 0 and 1 add the buffer to an existing log, whose
// QSOs and footer lines stay as they are. The log is built under a temporary name and
// renamed into place when complete, so a failed run leaves an existing log as it was.

#include "convert/engine/LogFormat.h"

namespace qx7 {

bool WriteQx7Log(TQXLogSpec& output, WriteContext& context);

class Qx7LogWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteQx7Log(output, context);
    }
};

} // namespace qx7
