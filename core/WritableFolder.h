#pragma once
// Asking a folder whether it takes new files before a run depends on it: a run that
// finds out halfway leaves half its work done (labels queued, a log not marked).

#include <string>

namespace qx7 {

// Empty when a file of a few kilobytes can be created, written, synced and removed in
// `folder`; else why not, naming the folder: it does not exist, it is a file, the disk
// is full or read-only, access is denied.
std::string whyFolderRefusesWrites(const std::string& folder);

} // namespace qx7
