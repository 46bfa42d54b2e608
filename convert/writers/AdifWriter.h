#pragma once
// Writes the buffer of a conversion run as ADIF (log type 45): a fixed header, then one
// QSO per line with lower-case tags, character lengths and a space after every value.

#include "convert/engine/LogFormat.h"
#include "store/AdifJournal.h" // the header and element syntax shared with the print-run journal

#include <string>

namespace qx7 {

inline constexpr const char* kAdifHeaderTitle = kAdifExportTitle;

// One record as a line (without its line end).
std::string adifRecordLine(const RecordView& record);
void appendAdifRecord(std::string& line, const RecordView& record);

// Writes the whole file through a temporary file; false when it cannot be written.
bool WriteAdifLog(TQXLogSpec& output, WriteContext& context);

class AdifWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteAdifLog(output, context);
    }
};

} // namespace qx7
