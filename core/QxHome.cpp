#include "core/QxHome.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace qx7 {

namespace fs = std::filesystem;

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool makeFolders(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

std::string resolveQxHome(const std::optional<std::string>& homeOption,
                          const std::string& executableFolder)
{
    std::string home;
    if (homeOption && !homeOption->empty()) {
        home = *homeOption;
    } else if (const char* env = std::getenv("QX7_HOME"); env && *env) {
        home = env;
    } else if (!executableFolder.empty() &&
               ::access((withSeparator(executableFolder) + "qx7.ini").c_str(), W_OK) == 0) {
        home = executableFolder;
    } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        home = std::string(xdg) + "/qx7";
    } else {
        const char* user = std::getenv("HOME");
        home = std::string(user && *user ? user : ".") + "/.local/share/qx7";
    }
    std::error_code ec;
    const fs::path absolute = fs::absolute(home, ec);
    home = ec ? home : absolute.lexically_normal().string();
    makeFolders(home);
    return withSeparator(home);
}

} // namespace qx7
