#include "core/WritableFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace qx7 {

std::string whyFolderRefusesWrites(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status))
        return "the folder " + folder + " does not exist";
    if (!fs::is_directory(status))
        return folder + " is a file, not a folder";
    const std::string probe =
        (fs::path(folder) / (".qx7-write-test" + std::to_string(::getpid()))).string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return "the folder " + folder + " cannot be written: " + std::strerror(errno);
    // An empty file may still fit on a full disk; a few blocks do not.
    const std::string block(16384, ' ');
    int failure = 0;
    const ssize_t n = ::write(fd, block.data(), block.size());
    if (n != static_cast<ssize_t>(block.size()))
        failure = n < 0 ? errno : ENOSPC;
    else if (::fsync(fd) != 0)
        failure = errno;
    ::close(fd);
    ::unlink(probe.c_str());
    if (failure != 0)
        return "the disk of the folder " + folder + " refuses writes: " + std::strerror(failure);
    return {};
}

} // namespace qx7
