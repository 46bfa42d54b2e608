#include "dbase/TempFiles.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <string>
#include <unistd.h>

namespace qx7::dbase {

namespace {

constexpr std::string_view kFileMark = ".~qx7-";
constexpr std::string_view kFileEnd = ".tmp";
constexpr std::string_view kFolderMark = ".qx7-tmp-";

// The decimal number that `text` consists of, 0 when it is anything else.
pid_t number(std::string_view text)
{
    if (text.empty() || text.size() > 9) {
        return 0;
    }
    pid_t n = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        n = n * 10 + (c - '0');
    }
    return n;
}

bool endsWith(std::string_view s, std::string_view end)
{
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

} // namespace

std::filesystem::path tempPathFor(const std::filesystem::path& target)
{
    auto p = target;
    p += std::string(kFileMark) + std::to_string(::getpid()) + std::string(kFileEnd);
    return p;
}

std::filesystem::path tempFolderIn(const std::filesystem::path& folder)
{
    const auto p = folder / (std::string(kFolderMark) + std::to_string(::getpid()));
    std::error_code ec;
    std::filesystem::create_directories(p, ec);
    return p;
}

pid_t tempFileOwner(std::string_view name)
{
    if (name.substr(0, kFolderMark.size()) == kFolderMark) {
        return number(name.substr(kFolderMark.size()));
    }
    if (endsWith(name, kFileEnd)) {
        const std::string_view body = name.substr(0, name.size() - kFileEnd.size());
        const std::size_t mark = body.rfind(kFileMark);
        if (mark != std::string_view::npos) {
            return number(body.substr(mark + kFileMark.size()));
        }
    }
    // Left by older versions of the atomic writers ("qx7.ini.tmp1234"). Their logs
    // written as "<log>_new<pid>" are not recognised: a real log may be named so.
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && name.substr(dot, 4) == ".tmp") {
        return number(name.substr(dot + 4));
    }
    return 0;
}

bool processRuns(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

int removeStaleTempFiles(const std::filesystem::path& folder)
{
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const pid_t owner = tempFileOwner(entry.path().filename().string());
        if (owner == 0 || owner == ::getpid() || processRuns(owner)) {
            continue;
        }
        std::error_code rec;
        if (std::filesystem::remove_all(entry.path(), rec) > 0 && !rec) {
            ++removed;
        }
    }
    return removed;
}

} // namespace qx7::dbase
