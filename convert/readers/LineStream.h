#pragma once
// Text logs too big to hold whole are read a piece at a time, with the same result as
// LoadLogLines: a first pass decides the encoding (UTF-8 or Windows-1252) and counts
// the QSOs, a second one hands over the decoded lines in batches. Memory stays at a
// few megabytes whatever the size of the file.

#include "convert/specs/TQXLogSpec.h"

#include <functional>
#include <string_view>
#include <vector>

namespace qx7 {

struct LogFileScan
{
    bool utf8 = true; // else every byte is a Windows-1252 character
};

// The first pass: sets `spec.LogSize` and, where the format names it, `spec.CallSign`.
// Lines are counted on the raw bytes, which gives LoadLogLines' count for formats that
// look for a marker anywhere in a line (ADIF's <EOR>), not for those that look at a
// fixed column or at the first line. False when the file cannot be read.
bool ScanLogFile(TQXLogSpec& spec, LogFileScan& scan);

// The second pass: the lines of the file, decoded as `scan` says and split at CR/LF
// runs, in batches of consecutive lines. `consume` returns false to stop early. False
// when the file cannot be read.
using LineBatchConsumer = std::function<bool(const std::vector<std::string_view>& lines)>;
bool ReadLogLineBatches(const TQXLogSpec& spec, const LogFileScan& scan,
                        const LineBatchConsumer& consume);

// The size of the pieces read; tests make it small to put every boundary to work.
void setLogStreamPieceBytes(size_t bytes);

} // namespace qx7
