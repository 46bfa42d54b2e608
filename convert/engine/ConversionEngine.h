#pragma once
// The conversion engine: reads input logs through the reader of their type, normalizes
// and checks every QSO, writes problems to the error log, collects the accepted QSOs in
// one sorted buffer and writes it with the writer of the output type. The data module
// holds one; the Tools Wizard, macros, the new-log dialog and qx7cli drive it.
//
// A run: StartConversion, then for each input log beginInputLog + ReadLog, then
// WriteOutput. Counters and the error log stay readable until the next StartConversion.

#include "convert/engine/ErrorLog.h"
#include "convert/engine/ImportBuffer.h"
#include "convert/engine/LogFormat.h"
#include "convert/normalize/FieldNormalizer.h"

#include <string>

namespace qx7 {

class Progress;
class Prompter;
struct Settings;

struct ConversionCounters
{
    long long toRead = 0;  // size of the log being read
    long long read = 0;    // QSOs handed to the per-QSO step (checked)
    long long readOk = 0;  // of those, QSOs that passed the checks
    long long toWrite = 0; // records in the buffer when writing started
    long long written = 0;
    long long valuesChanged = 0;  // values the output log cannot hold as they came
    long long doubtfulValues = 0; // values whose declared length could not be right
    int logsRead = 0;             // input logs begun in this run
    int percent = 0;              // last progress reported
    int step = 5;
};

class ConversionEngine : public ReadContext, public WriteContext
{
public:
    // `settings` is read live: folders, "AdifComment", "ImportDupes", dBase level.
    ConversionEngine(const Settings& settings, Progress& progress, Prompter& prompter);
    ConversionEngine(const ConversionEngine&) = delete;
    ConversionEngine& operator=(const ConversionEngine&) = delete;

    // Starts a run for that output type: record layout, counters, error log, flags.
    void StartConversion(int outputType, bool analysisOnly = false);
    // Empties the buffer and takes the current "ImportDupes" setting.
    void ClearImportBuffer();
    // Counts one more input log of this run (the merge rules apply from the second one).
    void beginInputLog() { ++m_counters.logsRead; }
    // Reads one log into the buffer; true when its reader succeeded.
    bool ReadLog(TQXLogSpec& spec);
    void QsoComplete(TQXLogSpec& spec) override;
    // Writes the buffer with the writer of the output type, saves the error log if there
    // is one, and empties the buffer. True when the writer succeeded.
    bool WriteOutput(TQXLogSpec& output);
    void WriteProgress(TQXLogSpec& output, size_t index) override;

    // Write mode of the run: 0 update existing records, 1 keep them, 2 overwrite.
    void setWriteMode(int mode) { m_writeMode = mode; }
    int writeMode() const { return m_writeMode; }
    void setLogSizeOnly(bool on) { m_logSizeOnly = on; }
    // The window that shows this run's progress (the wizard, the new-log dialog...).
    void setProgress(Progress& progress) { m_progress = &progress; }
    Progress& progress() const { return *m_progress; }
    void requestAbort() { m_abort = true; }

    const ConversionCounters& counters() const { return m_counters; }
    // -1 while this run found no problem, else the number of error rows.
    long long errorCount() const { return m_errorLog.count(); }
    const ErrorLog& errorLog() const { return m_errorLog; }
    // Where the last WriteOutput saved the error log; empty when none was saved.
    const std::string& errorLogPath() const { return m_errorLogPath; }
    size_t bufferSize() const { return m_buffer.size(); }
    bool analysisOnly() const { return m_analysisOnly; }

    // ReadContext / WriteContext
    FieldNormalizer& normalizer() override { return m_normalizer; }
    bool abortRequested() const override { return m_abort; }
    bool logSizeOnly() const override { return m_logSizeOnly; }
    const std::string& adifCommentTag() const override;
    const std::string& logFolder() const override;
    Prompter& prompter() override { return m_prompter; }
    void noteValueProblem(std::string_view text) override;
    std::vector<std::string_view> bufferRecords() const override { return m_buffer.sorted(); }
    RecordLayout layout() const override { return m_normalizer.record().layout(); }
    int dbaseLevel() const override;
    void reportWriteFailure(const std::string& why) override { m_writeFailure = why; }
    // Why the last WriteOutput failed; empty when the writer gave no reason.
    const std::string& writeFailure() const { return m_writeFailure; }

private:
    unsigned findProblems();
    void listValueNotes(const TQXLogSpec& spec, unsigned problems);
    void store(const TQXLogSpec& spec);
    void reportProgress(long long done, long long total);

    const Settings& m_settings;
    Progress* m_progress;
    Prompter& m_prompter;
    FieldNormalizer m_normalizer;
    ImportBuffer m_buffer;
    ErrorLog m_errorLog;
    std::string m_errorLogPath;
    std::string m_writeFailure;
    ConversionCounters m_counters;
    int m_outputType = 0;
    std::vector<std::string> m_valueNotes; // of the QSO being read
    int m_writeMode = 2;
    bool m_analysisOnly = false;
    bool m_logSizeOnly = false;
    bool m_abort = false;
    const TQXLogSpec* m_reservedFor = nullptr; // the log the buffer has grown for
};

} // namespace qx7
