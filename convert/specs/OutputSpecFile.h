#pragma once
// Output specifications (".qxeo" in the user folder): the fields a text-like output
// writes, in the user's order, and its text options, remembered per output type:
// "ascii1.qxeo" (19), "ascii2.qxeo" (20), "qe2qe.qxeo" (40), "xml.qxeo" (46).

#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <utility>
#include <vector>

namespace qx7 {

struct OutputSpecOptions
{
    std::string dateFormat = "yyyymmdd";
    int bandOrMHz = 0;  // 0 band in metres, 1 frequency (stored, changes no output)
    int textType = 0;   // 0 delimited, 1 fixed width
    int delimiter = 59; // 9, 59, 44 or 0 for none
    int qualifier = 0;  // 0, 34 or 39
    int headerRows = 0;
    // Field key and whether it is exported, in the user's order.
    std::vector<std::pair<std::string, bool>> fields;
};

// The file name for an output type; empty for types without one. "cabrillo.qxeo" and
// "adif.qxeo" are reserved for 27 and 45.
std::string outputSpecFileName(int logType);
// Whether the output takes a field list and options from such a file (19, 20, 40, 46).
bool usesOutputSpec(int logType);

// The 17 keys "CALL" to "XBND", all exported: the list when none is stored.
std::vector<std::pair<std::string, bool>> defaultExportFields();

// Reads a file; missing keys give the defaults, unknown field keys are dropped.
OutputSpecOptions readOutputSpec(const std::string& path);
// Rewrites the file ("Fields" erased and written anew). False when it cannot be saved.
bool writeOutputSpec(const std::string& path, const OutputSpecOptions& options);

// Copies the choices into the output: date format, band mode, text options and the
// exported keys in order as its field list (`FieldMap`).
void applyOutputSpec(const OutputSpecOptions& options, TQXLogSpec& output);

// What starting the output-spec page does: read the type's file from the user folder,
// write it back and copy it into the output. Types without a file are left alone.
void prepareOutputSpec(const std::string& userFolder, TQXLogSpec& output);

// The keys a writer exports: the output's field list, or the default list when empty.
std::vector<std::string> exportFieldKeys(const TQXLogSpec& output);

} // namespace qx7
