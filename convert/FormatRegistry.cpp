// The readers and writers of the log types, keyed by log-type code. Codes without an
// entry cannot be read (written): the engine reports failure for them.

#include "convert/AdifReader.h"
#include "convert/AdifWriter.h"
#include "convert/LogFormat.h"
#include "convert/Qx7LogReader.h"
#include "convert/Qx7LogWriter.h"
#include "convert/SizeEstimateReader.h"

#include <map>

namespace qx7 {

const LogReader* findReader(int logType)
{
    static const AdifReader adif;
    static const SizeEstimateReader sizeOnly;
    static const Qx7LogReader own;
    static const std::map<int, const LogReader*> readers = {
        {45, &adif}, {42, &own}, {24, &own}, {25, &sizeOnly}, {36, &sizeOnly},
    };
    const auto it = readers.find(logType);
    return it == readers.end() ? nullptr : it->second;
}

const LogWriter* findWriter(int logType)
{
    static const AdifWriter adif;
    static const Qx7LogWriter own;
    static const std::map<int, const LogWriter*> writers = {
        {45, &adif},
        {42, &own},
    };
    const auto it = writers.find(logType);
    return it == writers.end() ? nullptr : it->second;
}

} // namespace qx7
