#pragma once
// Reads the data files of Swisslog for DOS (type 9): 128-byte records after a header
// record, the date packed into 16 bits and the texts as Pascal strings.

#include "convert/engine/LogFormat.h"

namespace qx7 {

class SwisslogReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
