#pragma once
// Temporary files: written aside, then renamed over the real file. Their names carry
// the writer's process id and an ending no listing takes for a real file (a table, log,
// layout, PDF): "<target>.~qx7-<pid>.tmp", or for a group of files that must keep their
// own names until they move in (a log's .dbf, .mdx and .qx7), a hidden folder
// ".qx7-tmp-<pid>" beside them. A process killed while writing leaves them behind; the
// next start removes those whose process no longer runs.

#include <filesystem>
#include <string_view>
#include <sys/types.h>

namespace qx7::dbase {

// "<target>.~qx7-<pid>.tmp" in the target's folder, so the rename stays on one disk.
std::filesystem::path tempPathFor(const std::filesystem::path& target);
// "<folder>/.qx7-tmp-<pid>"; created when missing.
std::filesystem::path tempFolderIn(const std::filesystem::path& folder);

// The process id a temporary name carries, 0 when `fileName` is not one. Also knows
// "<file>.tmp<pid>", the name older versions gave.
pid_t tempFileOwner(std::string_view fileName);
bool processRuns(pid_t pid);

// Removes from `folder` (not below it) the temporary files and folders of processes
// that no longer run. Returns how many it removed; errors are skipped.
int removeStaleTempFiles(const std::filesystem::path& folder);

} // namespace qx7::dbase
