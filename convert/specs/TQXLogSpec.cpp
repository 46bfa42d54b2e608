#include "convert/specs/TQXLogSpec.h"

#include <chrono>
#include <filesystem>

namespace qx7 {

TQXLogSpec makeLogSpec(const std::string& fileName, int logType)
{
    TQXLogSpec spec;
    spec.FileName = fileName;
    spec.LogType = logType;
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(fileName, ec);
    if (!ec) {
        const auto system = std::chrono::file_clock::to_sys(time);
        spec.FileDate = std::chrono::system_clock::to_time_t(system);
    }
    return spec;
}

} // namespace qx7
