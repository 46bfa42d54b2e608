#pragma once
// One conversion as the Tools Wizard runs it: the list of input logs (each analysed when
// added), the output specification, and the run that reads them all and writes the
// output, reporting the protocol lines the wizard shows. Macros, the new-log operation
// and qx7cli use the same run so that every road behaves alike.

#include "convert/specs/TQXLogSpec.h"

#include <functional>
#include <string>
#include <vector>

namespace qx7 {

class ConversionEngine;
struct Settings;

struct RunResult
{
    bool aborted = false;
    bool writeOk = false;
    long long read = 0;
    long long readOk = 0;
    long long written = 0;
    std::vector<std::string> unreadLogs; // inputs whose reader failed
    // A macro whose input logs are all gone is not run: nothing is read or written.
    bool refused = false;
    std::vector<std::string> missingLogs;
    std::string errorLogPath; // empty when the run found no problem
};

class ConversionRun
{
public:
    using Protocol = std::function<void(const std::string&)>;

    ConversionRun(ConversionEngine& engine, const Settings& settings);

    // Adds a log as the wizard's "Add Log" does: a file already listed is not added
    // again; dBase types load their preset specification; the log is analysed for its
    // size (and call). False when it is listed already or cannot be read.
    bool addLog(const std::string& fileName, int logType, int outputType);
    // Adds a specification prepared by the caller (text and dBase logs with a mapping).
    bool addLog(TQXLogSpec spec, int outputType);
    void clear();
    // Takes one log off the list (and its QSOs off the total); false when not listed.
    bool removeLog(const std::string& fileName);
    const std::vector<TQXLogSpec>& logs() const { return m_logs; }
    std::vector<TQXLogSpec>& logs() { return m_logs; }
    long long totalQsos() const { return m_total; }

    // The station call of the first listed log that names one.
    std::string proposedCall() const;

    // Runs the conversion. `output` carries type, file, call, write mode, the options
    // and the date range; `copyOptions` hands the options and range to every input
    // (macro runs do not). A pending macro file is written before the logs are read.
    RunResult execute(TQXLogSpec output, const Protocol& protocol, bool copyOptions = true,
                      const std::string& macroFile = {});

    // Where a QX7 log named by the output file lives: log folder + name + ".qx7".
    std::string qx7DescriptorPath(const std::string& outputFile) const;

private:
    void prepareInputs(const TQXLogSpec& output, bool copyOptions);
    void report(const RunResult& result, long long total, const Protocol& protocol) const;

    ConversionEngine& m_engine;
    const Settings& m_settings;
    std::vector<TQXLogSpec> m_logs;
    long long m_total = 0;
};

} // namespace qx7
