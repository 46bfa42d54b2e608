#pragma once
// Log types whose QSOs cannot be read but whose size can be guessed from the file, so
// that the wizard shows a count: the reader always reports failure.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class SizeEstimateReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
