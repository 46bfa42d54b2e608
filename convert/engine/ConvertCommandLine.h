#pragma once
// The headless conversions of qx7cli ("convert", "newlog", "macro") on top of the
// engine, kept free of Qt so that tests drive them the way the command line does.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace qx7 {

class ConversionEngine;
class Prompter;
struct Settings;

struct ConvertRequest
{
    std::vector<std::pair<int, std::string>> inputs; // log type, file
    int outputType = 0;
    std::string outputFile;
    std::string call;
    int writeMode = 2;
    std::string dateFrom, dateTo;
    bool notSentOnly = false;
    bool removeExchange = true; // as the wizard's box is ticked at first
    bool replaceReports = false;
    std::string specName;  // import specification for text and dBase inputs
    std::string saveMacro; // macro file to write before the run
};

inline constexpr const char* kConvertUsage =
    "convert --in TYPE:FILE [--in ...] --out TYPE:FILE [--call CALL] [--write-mode 0|1|2] "
    "[--from yyyymmdd] [--to yyyymmdd] [--not-sent-only] [--keep-exchange] "
    "[--replace-reports] [--spec NAME] [--save-macro FILE]";
inline constexpr const char* kNewLogUsage = "newlog FILE.adi NAME --call CALL";
inline constexpr const char* kMacroUsage = "macro list | macro run NAME";

// Nothing (and a message on `err`) when the words do not form a request.
std::optional<ConvertRequest> parseConvertArgs(const std::vector<std::string>& args,
                                               std::ostream& err);

// Each returns the process exit code: 0 done, 1 failed, 2 usage.
int runConvertRequest(ConversionEngine& engine, const Settings& settings,
                      const ConvertRequest& request, std::ostream& out, std::ostream& err);
int runNewLogArgs(ConversionEngine& engine, const Settings& settings, Prompter& prompter,
                  const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runMacroArgs(ConversionEngine& engine, const Settings& settings,
                 const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace qx7
