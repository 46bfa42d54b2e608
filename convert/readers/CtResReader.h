#pragma once
// Reads CT result files (type 4, ".RES"): one QSO per line, a date in the first nine
// columns and then words read from the left: time, QSO number, band, mode (older files
// have none and tell CW from SSB by the report), call and report.

#include "convert/engine/LogFormat.h"

#include <string_view>

namespace qx7 {

void readCtResLine(std::string_view line, FieldNormalizer& n);

class CtResReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
