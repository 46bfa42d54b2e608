#pragma once
// Reads the text logs that keep one QSO per line in fixed columns: DXBase SDF (16),
// Ham System (26), QG2QG ASC (31), FINTEST (32), TRLog DAT (10) and SPRINT ASC (43).
// Each type's columns are written down beside the code that reads them.

#include "convert/engine/LogFormat.h"

#include <string_view>

namespace qx7 {

// Hands one line of that type to the normalizer; false when the line is no QSO.
bool readFixedColumnLine(int logType, std::string_view line, FieldNormalizer& n);

class FixedColumnReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
