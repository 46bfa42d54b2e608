#pragma once
// Reads dBase logs of other programs (types 8, 11, 13, 37, 38, 39) through a dBase import
// specification: `FieldMap` lines "DBFFIELD=KEY" name which table field feeds which QX
// field. Logical fields give "Y" or "N", date fields "yyyymmdd".

#include "convert/engine/LogFormat.h"

namespace qx7 {

class DbaseSpecReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
