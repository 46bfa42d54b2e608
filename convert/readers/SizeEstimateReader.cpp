#include "convert/readers/SizeEstimateReader.h"

#include "convert/readers/LineLoader.h"

#include <filesystem>

namespace qx7 {

bool SizeEstimateReader::read(TQXLogSpec& spec, ReadContext&) const
{
    std::error_code ec;
    const auto size = static_cast<long long>(std::filesystem::file_size(spec.FileName, ec));
    if (ec)
        return false;
    if (spec.LogType == 36) {
        spec.LogSize = (size - 750) / 125;
        return false;
    }
    LogLines lines;
    TQXLogSpec probe = spec;
    if (!LoadLogLines(probe, lines, 4) || lines.lines.size() < 4)
        return false;
    const long long lineLength = static_cast<long long>(lines.lines[3].size()) - 3;
    if (lineLength > 0)
        spec.LogSize = size / lineLength;
    return false;
}

} // namespace qx7
