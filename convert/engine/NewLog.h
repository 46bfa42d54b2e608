#pragma once
// Making a new QX7 log from an ADIF file, as the new-log dialog does without its
// window: read the file (abortable), then write the log with the given own call.

#include <string>

namespace qx7 {

class ConversionEngine;
struct Settings;

// Returns the new log's path (log folder + name, no extension), or empty when the read
// was aborted or the log could not be written. `saveAs` may carry a folder and an
// extension; only its file name counts. A file that yields no QSO makes no log, so it
// never replaces one. `why`, when given, receives the reason of an empty result.
std::string createLogFromAdif(ConversionEngine& engine, const Settings& settings,
                              const std::string& adifFile, const std::string& saveAs,
                              const std::string& call, std::string* why = nullptr);

} // namespace qx7
