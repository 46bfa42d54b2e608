#include "convert/engine/ConvertCommandLine.h"

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConversionMacro.h"
#include "convert/engine/ConversionRun.h"
#include "convert/engine/LogTypes.h"
#include "convert/engine/NewLog.h"
#include "convert/specs/ImportSpecFile.h"
#include "convert/specs/OutputSpecFile.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "core/Text.h"
#include "store/LogTable.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <ostream>

namespace qx7 {

namespace {

bool parseInt(const std::string& text, int& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseTypedFile(const std::string& word, int& type, std::string& file)
{
    const size_t colon = word.find(':');
    if (colon == std::string::npos || colon + 1 >= word.size())
        return false;
    file = word.substr(colon + 1);
    return parseInt(word.substr(0, colon), type);
}

bool isDateLimit(const std::string& text)
{
    if (text.empty() || text.size() > 8)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// One option with a value; false (with a message) when the value is missing or bad.
bool takeValue(const std::vector<std::string>& args, size_t& i, std::string& value,
               std::ostream& err)
{
    if (i + 1 >= args.size()) {
        err << "missing value after " << args[i] << '\n';
        return false;
    }
    value = args[++i];
    return true;
}

bool applyOption(const std::vector<std::string>& args, size_t& i, ConvertRequest& r,
                 std::ostream& err)
{
    const std::string& word = args[i];
    std::string value;
    if (word == "--not-sent-only")
        return r.notSentOnly = true;
    if (word == "--remove-exchange") {
        r.removeExchange = true;
        return true;
    }
    if (word == "--keep-exchange") {
        r.removeExchange = false;
        return true;
    }
    if (word == "--replace-reports")
        return r.replaceReports = true;
    static const std::string_view valued[] = {"--in",   "--out", "--call", "--write-mode",
                                              "--from", "--to",  "--spec", "--save-macro"};
    if (std::find(std::begin(valued), std::end(valued), word) == std::end(valued)) {
        err << "unknown option " << word << '\n';
        return false;
    }
    if (!takeValue(args, i, value, err))
        return false;
    if (word == "--in" || word == "--out") {
        int type = 0;
        std::string file;
        if (!parseTypedFile(value, type, file)) {
            err << "expected TYPE:FILE after " << word << ", got \"" << value << "\"\n";
            return false;
        }
        if (word == "--in")
            r.inputs.emplace_back(type, file);
        else {
            r.outputType = type;
            r.outputFile = file;
        }
        return true;
    }
    if (word == "--call")
        r.call = toUpperAscii(trimmed(value));
    else if (word == "--write-mode") {
        if (!parseInt(value, r.writeMode) || r.writeMode < 0 || r.writeMode > 2) {
            err << "--write-mode takes 0, 1 or 2\n";
            return false;
        }
    } else if (word == "--from" || word == "--to") {
        if (!isDateLimit(value)) {
            err << word << " takes a date yyyymmdd\n";
            return false;
        }
        (word == "--from" ? r.dateFrom : r.dateTo) = value;
    } else if (word == "--spec")
        r.specName = value;
    else
        r.saveMacro = value;
    return true;
}

// A QX7 log named without a folder is one of the log folder, wherever qx7cli runs.
std::string inputFileName(const Settings& settings, int type, const std::string& file)
{
    if (type != LogType::Qx7 || std::filesystem::path(file).has_parent_path())
        return file;
    return logPaths(settings.QXLogPath, file).descriptor;
}

TQXLogSpec inputSpec(const Settings& settings, const ConvertRequest& r, int type,
                     const std::string& file)
{
    TQXLogSpec spec = makeLogSpec(inputFileName(settings, type, file), type);
    const auto row = findLogType(type);
    if (row && row->specKind != SpecKind::None) {
        LoadImportSpec(spec, settings.QXUserPath);
        if (!r.specName.empty()) {
            const IniFile ini(importSpecPath(settings.QXUserPath, r.specName, row->specKind));
            if (ini.existedOnLoad()) {
                spec.SpecName = r.specName;
                readImportSpec(ini, row->specKind, spec);
                spec.HasSpec = 1;
            }
        }
    }
    return spec;
}

TQXLogSpec outputSpec(const ConvertRequest& r, const std::string& call)
{
    TQXLogSpec out = makeLogSpec(r.outputFile, r.outputType);
    out.CallSign = call;
    out.WriteMode = static_cast<unsigned char>(r.writeMode);
    out.NotSentOnly = r.notSentOnly;
    out.RemoveExchange = r.removeExchange;
    out.ReplaceReports = r.replaceReports;
    out.DateFrom = r.dateFrom;
    out.DateTo = r.dateTo;
    return out;
}

bool validOwnCall(const std::string& call)
{
    if (call.size() <= 2 || call.size() > 16)
        return false;
    for (char c : call)
        if (!(c >= '/' && c <= '9') && !(c >= 'A' && c <= 'Z'))
            return false;
    return true;
}

// Without --call, a log that is added to keeps its own call; otherwise an input log may
// name one.
std::string callForRun(const ConversionRun& run, const ConvertRequest& r)
{
    if (r.outputType == LogType::Qx7 && r.writeMode != 2) {
        const std::string descriptor = run.qx7DescriptorPath(r.outputFile);
        std::error_code ec;
        if (std::filesystem::exists(descriptor, ec)) {
            try {
                const std::string call = trimmed(readLogDescriptor(descriptor).stationCall);
                if (!call.empty())
                    return call;
            } catch (const std::exception&) {
                // An unreadable descriptor is reported when the log is written.
            }
        }
    }
    return run.proposedCall();
}

ConversionRun::Protocol printer(std::ostream& out)
{
    return [&out](const std::string& line) { out << line << '\n'; };
}

int finish(const RunResult& result, std::ostream& out, std::ostream& err)
{
    for (const std::string& file : result.unreadLogs)
        err << "could not read " << file << '\n';
    if (!result.errorLogPath.empty())
        out << "Error log: " << result.errorLogPath << '\n';
    // A log read only in part has left QSOs out even though the rest was written.
    return result.aborted || !result.writeOk || !result.unreadLogs.empty() ? 1 : 0;
}

} // namespace

std::optional<ConvertRequest> parseConvertArgs(const std::vector<std::string>& args,
                                               std::ostream& err)
{
    ConvertRequest r;
    for (size_t i = 0; i < args.size(); ++i)
        if (!applyOption(args, i, r, err))
            return std::nullopt;
    if (r.inputs.empty() || r.outputFile.empty()) {
        err << "usage: qx7cli " << kConvertUsage << '\n';
        return std::nullopt;
    }
    return r;
}

int runConvertRequest(ConversionEngine& engine, const Settings& settings,
                      const ConvertRequest& request, std::ostream& out, std::ostream& err)
{
    const auto outType = findLogType(request.outputType);
    if (!outType || !findWriter(request.outputType)) {
        err << "log type " << request.outputType << " cannot be written\n";
        return 2;
    }
    ConversionRun run(engine, settings);
    for (const auto& [type, file] : request.inputs)
        if (!run.addLog(inputSpec(settings, request, type, file), request.outputType))
            err << "could not read " << file << " as log type " << type << '\n';
    if (run.logs().empty()) {
        err << "no input log could be read\n";
        return 1;
    }
    const std::string call = request.call.empty() ? callForRun(run, request) : request.call;
    if (outType->callNeeded && call.size() <= 2) {
        err << "the output needs your call sign (--call, more than two characters)\n";
        return 2;
    }
    TQXLogSpec output = outputSpec(request, call);
    // The output-spec page's choices, remembered per output type.
    prepareOutputSpec(settings.QXUserPath, output);
    const RunResult result = run.execute(output, printer(out), true, request.saveMacro);
    return finish(result, out, err);
}

int runNewLogArgs(ConversionEngine& engine, const Settings& settings, Prompter& prompter,
                  const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> words;
    std::string call;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--call" && i + 1 < args.size())
            call = toUpperAscii(trimmed(args[++i]));
        else
            words.push_back(args[i]);
    }
    if (words.size() != 2 || !validOwnCall(call)) {
        err << "usage: qx7cli " << kNewLogUsage
            << " (the call: more than two of the characters / 0-9 A-Z)\n";
        return 2;
    }
    const std::string& adif = words[0];
    const std::string& name = words[1];
    if (logBaseName(name).empty()) {
        err << "the log needs a name\n";
        return 2;
    }
    std::error_code ec; // a name too long for the file system is no existing log
    if (std::filesystem::exists(logPaths(settings.QXLogPath, name).descriptor, ec) &&
        prompter.ask(PromptIcon::Warning, "Log exists! Overwrite?",
                     PromptButton::Yes | PromptButton::Cancel) != PromptButton::Yes)
        return 1;
    out << "Reading: " << adif << '\n';
    std::string why;
    const std::string path = createLogFromAdif(engine, settings, adif, name, call, &why);
    const auto& c = engine.counters();
    out << c.readOk << " QSOs read OK of " << c.read << '\n';
    if (c.valuesChanged > 0)
        out << "         " << c.valuesChanged
            << " values changed to fit the log (see the error log).\n";
    if (!engine.errorLogPath().empty())
        out << "Error log: " << engine.errorLogPath() << '\n';
    if (path.empty()) {
        err << "no log was made from " << adif << ": " << why << '\n';
        return 1;
    }
    out << c.written << " QSOs written\n"
        << "New log: " << path << '\n';
    return 0;
}

int runMacroArgs(ConversionEngine& engine, const Settings& settings,
                 const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && args[0] == "list") {
        for (const std::string& name : listMacros(settings.QXUserPath))
            out << name << '\n';
        return 0;
    }
    if (args.size() != 2 || args[0] != "run") {
        err << "usage: qx7cli " << kMacroUsage << '\n';
        return 2;
    }
    const std::string path = macroPath(settings.QXUserPath, args[1]);
    if (!std::filesystem::exists(path)) {
        err << "no macro " << path << '\n';
        return 1;
    }
    ConversionRun run(engine, settings);
    std::vector<std::string> skipped;
    const RunResult result = performMacro(run, path, printer(out), &skipped);
    if (result.refused) {
        err << "the macro " << path;
        if (result.missingLogs.empty())
            err << " names no input log";
        else
            err << " names logs that do not exist:";
        for (const std::string& file : result.missingLogs)
            err << ' ' << file;
        err << "\nnothing was written\n";
        return 1;
    }
    for (const std::string& file : skipped)
        err << "could not read " << file << '\n';
    return finish(result, out, err);
}

} // namespace qx7
