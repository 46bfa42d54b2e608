#pragma once
// Import specifications kept in the user folder: how the columns of a user's text, CSV
// or dBase log map onto the QX fields (".qxia" for text and CSV, ".qxid" for dBase),
// and the per-type memory of the last folder and specification used ("ImportPath",
// "ImportSpec" in "qx7.ini").

#include "convert/engine/LogTypes.h"
#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <vector>

namespace qx7 {

class IniFile;

// user folder + name + ".qxia" / ".qxid".
std::string importSpecPath(const std::string& userFolder, const std::string& name, SpecKind kind);
// The names of the specifications of that kind in the user folder, sorted, no extension.
std::vector<std::string> listImportSpecs(const std::string& userFolder, SpecKind kind);

// Reads options and field mapping into `spec`; a missing key keeps the log's current
// value or the stated default, an unknown field key maps the column to nothing.
void readImportSpec(const IniFile& file, SpecKind kind, TQXLogSpec& spec);
// Rewrites the file from the log's options and `FieldMap`. False when it cannot be saved.
bool writeImportSpec(const std::string& path, SpecKind kind, const TQXLogSpec& spec);

// For a dBase type with a built-in specification name: presets the name and, when its
// ".qxid" file exists in the user folder, loads it. True when a specification was loaded.
bool LoadImportSpec(TQXLogSpec& spec, const std::string& userFolder);

struct ImportMemory
{
    std::string folder;
    std::string specName;
};

void SaveImportPath(IniFile& ini, int logType, const std::string& folder,
                    const std::string& specName);
void SaveImportSpec(IniFile& ini, int logType, const std::string& specName);
// Type 42 always answers the log folder (and no specification name).
ImportMemory LoadImportPath(const IniFile& ini, int logType, const std::string& logFolder,
                            const std::string& tmpFolder);

} // namespace qx7
