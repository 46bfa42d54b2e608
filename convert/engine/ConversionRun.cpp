#include "convert/engine/ConversionRun.h"

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConversionMacro.h"
#include "convert/engine/LogTypes.h"
#include "convert/specs/ImportSpecFile.h"
#include "convert/specs/OutputSpecFile.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "store/LogTable.h"

#include <filesystem>

namespace qx7 {

namespace {

constexpr const char* kNineSpaces = "         ";

} // namespace

ConversionRun::ConversionRun(ConversionEngine& engine, const Settings& settings)
    : m_engine(engine), m_settings(settings)
{}

bool ConversionRun::addLog(const std::string& fileName, int logType, int outputType)
{
    TQXLogSpec spec = makeLogSpec(fileName, logType);
    if (const auto type = findLogType(logType); type && type->specKind == SpecKind::Dbase)
        LoadImportSpec(spec, m_settings.QXUserPath);
    return addLog(std::move(spec), outputType);
}

bool ConversionRun::addLog(TQXLogSpec spec, int outputType)
{
    for (const TQXLogSpec& listed : m_logs)
        if (equalsIgnoreCase(listed.FileName, spec.FileName))
            return false;
    m_engine.StartConversion(outputType, true);
    m_engine.setLogSizeOnly(true);
    const bool ok = m_engine.ReadLog(spec);
    m_engine.setLogSizeOnly(false);
    if (!ok)
        return false;
    m_total += spec.LogSize;
    if (spec.LogType == LogType::Qx7)
        m_logs.insert(m_logs.begin(), std::move(spec));
    else
        m_logs.push_back(std::move(spec));
    return true;
}

bool ConversionRun::removeLog(const std::string& fileName)
{
    for (auto it = m_logs.begin(); it != m_logs.end(); ++it)
        if (it->FileName == fileName) {
            m_total -= it->LogSize;
            m_logs.erase(it);
            return true;
        }
    return false;
}

void ConversionRun::clear()
{
    m_logs.clear();
    m_total = 0;
}

std::string ConversionRun::proposedCall() const
{
    for (const TQXLogSpec& spec : m_logs)
        if (!spec.CallSign.empty())
            return spec.CallSign;
    return {};
}

std::string ConversionRun::qx7DescriptorPath(const std::string& outputFile) const
{
    return logPaths(m_settings.QXLogPath, outputFile).descriptor;
}

void ConversionRun::prepareInputs(const TQXLogSpec& output, bool copyOptions)
{
    for (TQXLogSpec& spec : m_logs) {
        if (!copyOptions)
            continue;
        spec.DateFrom = output.DateFrom;
        spec.DateTo = output.DateTo;
        spec.NotSentOnly = output.NotSentOnly;
        spec.RemoveExchange = output.RemoveExchange;
        spec.ReplaceReports = output.ReplaceReports;
    }
}

RunResult ConversionRun::execute(TQXLogSpec output, const Protocol& protocol, bool copyOptions,
                                 const std::string& macroFile)
{
    m_engine.StartConversion(output.LogType);
    prepareInputs(output, copyOptions);
    // A macro keeps the text options of its output but not the field list.
    if (usesOutputSpec(output.LogType) && output.FieldMap.empty()) {
        const OutputSpecOptions stored = readOutputSpec(
            (std::filesystem::path(m_settings.QXUserPath) / outputSpecFileName(output.LogType))
                .string());
        for (const auto& [key, on] : stored.fields)
            if (on)
                output.FieldMap.push_back(key);
    }
    if (!macroFile.empty())
        writeMacro(macroFile, m_logs, output);
    const long long total = m_total;
    // An existing output log is not read through the import rules: the writer adds the
    // new QSOs to it and leaves its own as they are. It still counts as the first log,
    // so that the write mode decides between QSOs of the new logs as well.
    const bool updatesLog = output.LogType == LogType::Qx7 && output.WriteMode != 2 &&
                            std::filesystem::exists(qx7DescriptorPath(output.FileName));
    output.LogSize = 0;

    RunResult result;
    m_engine.StartConversion(output.LogType);
    m_engine.ClearImportBuffer();
    m_engine.setWriteMode(output.WriteMode);
    if (updatesLog)
        m_engine.beginInputLog();
    for (size_t i = 0; i < m_logs.size() && !m_engine.abortRequested(); ++i) {
        TQXLogSpec& spec = m_logs[i];
        protocol("Reading: " + spec.FileName);
        m_engine.beginInputLog();
        if (!m_engine.ReadLog(spec))
            result.unreadLogs.push_back(spec.FileName);
    }
    clear();
    const auto& counters = m_engine.counters();
    result.read = counters.read;
    result.readOk = counters.readOk;
    if (m_engine.abortRequested()) {
        m_engine.ClearImportBuffer();
        result.aborted = true;
        protocol("Import aborted.");
        return result;
    }
    protocol(std::to_string(result.readOk) + " QSOs read OK of " + std::to_string(total));
    if (result.read > result.readOk)
        protocol(kNineSpaces + std::to_string(result.read - result.readOk) + " read errors.");
    if (counters.doubtfulValues > 0)
        protocol(kNineSpaces + std::to_string(counters.doubtfulValues) +
                 " values with a length that cannot be right (see the error log).");
    if (counters.valuesChanged > 0)
        protocol(kNineSpaces + std::to_string(counters.valuesChanged) +
                 " values changed to fit the log (see the error log).");
    protocol(output.LogType == LogType::Applet
                 ? std::string("Writing: QE2QE Log Search Applet Files")
                 : "Writing: " + output.FileName);
    result.writeOk = m_engine.WriteOutput(output);
    // A writer that failed has left no file behind: nothing was written, and the
    // missing records are not dupes.
    result.written = result.writeOk ? m_engine.counters().written : 0;
    result.errorLogPath = m_engine.errorLogPath();
    if (!result.writeOk)
        protocol("Error writing: " + output.FileName);
    else if (result.readOk > result.written)
        protocol(kNineSpaces + std::to_string(result.readOk - result.written) + " dupes ignored.");
    protocol("Finished.");
    protocol(std::to_string(result.written) + " QSOs written");
    return result;
}

} // namespace qx7
