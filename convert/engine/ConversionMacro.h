#pragma once
// Conversion macros (".qxm" in the user folder): the input logs and the output of a
// wizard conversion, saved so that the same conversion can be run again with one click.

#include "convert/engine/ConversionRun.h"
#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <vector>

namespace qx7 {

struct ConversionMacro
{
    std::vector<TQXLogSpec> inputs; // only FileName and LogType are read back
    TQXLogSpec output;
};

// Writes every key of the inputs and the output. False when the file cannot be saved.
bool writeMacro(const std::string& path, const std::vector<TQXLogSpec>& inputs,
                const TQXLogSpec& output);
ConversionMacro readMacro(const std::string& path);
// The macro names (file names without ".qxm") in the user folder, sorted.
std::vector<std::string> listMacros(const std::string& userFolder);
std::string macroPath(const std::string& userFolder, const std::string& name);

// The input files of the macro that no longer exist, in the macro's order.
std::vector<std::string> missingMacroInputs(const ConversionMacro& macro);

// Adds the macro's inputs to `run` as "Add Log" would and runs the conversion with the
// macro's output, always overwriting, and without handing the options to the inputs.
// Inputs that can no longer be read are left out (listed in `skipped`). When no input
// file exists any more the macro is refused (`refused`, `missingLogs`) and writes nothing:
// an empty output would replace the last good one.
RunResult performMacro(ConversionRun& run, const std::string& path,
                       const ConversionRun::Protocol& protocol,
                       std::vector<std::string>* skipped = nullptr);

} // namespace qx7
