#pragma once
// Writes a Cabrillo log (type 27): a header naming the user's call and one QSO line per
// record in the fixed columns of the Cabrillo QSO template.

#include "convert/engine/LogFormat.h"

#include <string>

namespace qx7 {

// The QSO line of one record for the own call.
std::string cabrilloQsoLine(const RecordView& record, std::string_view ownCall);

bool WriteCabrillo(TQXLogSpec& output, WriteContext& context);

class CabrilloWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteCabrillo(output, context);
    }
};

} // namespace qx7
