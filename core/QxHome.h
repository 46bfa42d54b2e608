#pragma once
// The program folder ("QX home"): where "qx7.ini" and, by default, the data folders live.
// Chosen in this order: --home DIR, $QX7_HOME, the executable's folder when it holds a
// writable "qx7.ini" (a portable install), else $XDG_DATA_HOME/qx7 (~/.local/share/qx7).

#include <optional>
#include <string>

namespace qx7 {

// Returns the folder with a trailing "/"; creates it when missing.
std::string resolveQxHome(const std::optional<std::string>& homeOption,
                          const std::string& executableFolder);

// Adds a trailing separator when missing.
std::string withSeparator(std::string folder);

// Creates a folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& folder);

} // namespace qx7
