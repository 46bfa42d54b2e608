#include "convert/engine/ConversionEngine.h"

#include "convert/engine/LogTypes.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/writers/LogFieldFit.h"
#include "core/DateFormat.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "core/Text.h"

namespace qx7 {

namespace {

bool twoDigits(std::string_view s, size_t pos, int& value)
{
    if (s.size() < pos + 2 || s[pos] < '0' || s[pos] > '9' || s[pos + 1] < '0' || s[pos + 1] > '9')
        return false;
    value = (s[pos] - '0') * 10 + (s[pos + 1] - '0');
    return true;
}

bool validTime(std::string_view time)
{
    int hours = 0, minutes = 0;
    return twoDigits(time, 0, hours) && twoDigits(time, 2, minutes) && hours <= 23 && minutes <= 59;
}

bool validCall(std::string_view call)
{
    if (call.empty())
        return false;
    for (char c : call)
        if (!(c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

} // namespace

ConversionEngine::ConversionEngine(const Settings& settings, Progress& progress, Prompter& prompter)
    : m_settings(settings), m_progress(&progress), m_prompter(prompter),
      m_buffer(RecordLayout::DateFirst, settings.ImportDupes)
{}

const std::string& ConversionEngine::adifCommentTag() const
{
    return m_settings.AdifCommentTag;
}

const std::string& ConversionEngine::logFolder() const
{
    return m_settings.QXLogPath;
}

int ConversionEngine::dbaseLevel() const
{
    return m_settings.BDEDBaseLevel;
}

void ConversionEngine::StartConversion(int outputType, bool analysisOnly)
{
    RecordLayout layout = m_normalizer.record().layout();
    switch (outputType) {
    case LogType::AsciiByDate:
    case LogType::Cabrillo:
    case LogType::Adif:
    case LogType::Xml:
    case LogType::LogsearchPlain:
    case LogType::LogsearchDated:
        layout = RecordLayout::DateFirst;
        break;
    case LogType::AsciiByCall:
    case LogType::Applet:
    case LogType::Qx7:
        layout = RecordLayout::CallFirst;
        break;
    default:
        break;
    }
    // Records of another layout could not be read back by the writer.
    if (layout != m_buffer.layout())
        m_buffer.clear(layout, m_settings.ImportDupes);
    m_normalizer.setLayout(layout);
    m_normalizer.startLog(m_normalizer.bandMode(), "");
    m_outputType = outputType;
    m_valueNotes.clear();
    m_analysisOnly = analysisOnly;
    m_counters = ConversionCounters{};
    m_errorLog.clear();
    m_errorLogPath.clear();
    m_abort = false;
}

void ConversionEngine::ClearImportBuffer()
{
    m_buffer.clear(m_normalizer.record().layout(), m_settings.ImportDupes);
}

bool ConversionEngine::ReadLog(TQXLogSpec& spec)
{
    spec.CallSign.clear();
    spec.LogSize = 0;
    spec.Checked = 0;
    m_counters.percent = 0;
    m_counters.step = 5;
    m_normalizer.startLog(spec.BandMode, spec.Comment);
    // A record left open by the end of the previous log (no <EOR>) must not lend its
    // fields to the first QSO of this one.
    m_normalizer.resetRecord();
    m_valueNotes.clear();
    m_reservedFor = nullptr;
    m_progress->start("Reading: " + spec.FileName, 100);
    bool ok = false;
    if (const LogReader* reader = findReader(spec.LogType)) {
        try {
            ok = reader->read(spec, *this);
        } catch (...) {
            ok = false;
        }
    }
    m_progress->finish();
    if (!ok && spec.LogType == LogType::Qx7)
        m_prompter.warn("Log still open?");
    spec.CallSign = trimmed(spec.CallSign);
    return ok;
}

unsigned ConversionEngine::findProblems()
{
    const RecordView r = m_normalizer.record().view();
    unsigned problems = 0;
    if (!validCall(r.call()))
        problems |= WrongCall;
    if (!parseYmd(r.date()))
        problems |= WrongDate;
    if (!validTime(r.time()))
        problems |= WrongTime;
    if (r.band() == ' ')
        problems |= UnknownBand;
    if (r.mode() == ' ')
        problems |= UnknownMode;
    return problems;
}

void ConversionEngine::QsoComplete(TQXLogSpec& spec)
{
    try {
        const RecordView r = m_normalizer.record().view();
        const std::string_view date = r.date();
        bool accepted = true;
        if (!spec.DateFrom.empty() && date.substr(0, spec.DateFrom.size()) < spec.DateFrom)
            accepted = false;
        else if (!spec.DateTo.empty() && date.substr(0, spec.DateTo.size()) > spec.DateTo)
            accepted = false;
        else if (spec.NotSentOnly && r.qslSent() != 'N')
            accepted = false;
        else if (const unsigned problems = findProblems(); problems != 0) {
            listValueNotes(spec, problems);
            accepted = false;
        } else {
            m_normalizer.FixReports({spec.RemoveExchange != 0, spec.ReplaceReports != 0});
            m_normalizer.appendFixedCommentIfMissing();
            if (m_outputType == LogType::Qx7) {
                const RecordView v = m_normalizer.record().view();
                for (std::string& change : valuesChangedByLog(v)) {
                    ++m_counters.valuesChanged;
                    m_valueNotes.push_back(std::move(change));
                }
            }
            listValueNotes(spec, 0);
        }
        ++m_counters.read;
        if (accepted) {
            ++m_counters.readOk;
            if (!m_analysisOnly)
                store(spec);
        }
        if (spec.LogSize > 0) {
            m_counters.toRead = spec.LogSize;
            reportProgress(m_counters.readOk, spec.LogSize);
        }
    } catch (...) {
        // A QSO whose check failed is dropped without being counted.
    }
    m_normalizer.resetRecord();
    m_valueNotes.clear();
}

void ConversionEngine::noteValueProblem(std::string_view text)
{
    ++m_counters.doubtfulValues;
    m_valueNotes.emplace_back(text);
}

// A rejected QSO gets one row with its problems and the notes on its values; an
// accepted one a warning row per note.
void ConversionEngine::listValueNotes(const TQXLogSpec& spec, unsigned problems)
{
    if (problems == 0 && m_valueNotes.empty())
        return;
    const RecordView v = m_normalizer.record().view();
    // A band or mode that was recognised is shown by its name, else as it was read.
    ErrorRow row{
        m_counters.read + 1,
        std::string(v.call()),
        std::string(v.date()),
        std::string(v.time()),
        v.band() == ' ' ? m_normalizer.errorBandText() : padRight(bandTextOfCode(v.band()), 6),
        v.mode() == ' ' ? m_normalizer.errorModeText() : padRight(modeTextOfCode(v.mode()), 12),
        problems,
        {}};
    if (problems != 0) {
        for (const std::string& note : m_valueNotes)
            row.note += (row.note.empty() ? "" : "; ") + note;
        m_errorLog.addRow(spec.FileName, row);
        return;
    }
    for (const std::string& note : m_valueNotes) {
        row.note = "warning: " + note;
        m_errorLog.addWarning(spec.FileName, row);
    }
}

void ConversionEngine::store(const TQXLogSpec& spec)
{
    try {
        // Room for the whole log at once, unless QSOs were rejected before: a broken
        // file of millions of records must not reserve for QSOs that never come.
        if (m_reservedFor != &spec && spec.LogSize > 0) {
            m_reservedFor = &spec;
            if (m_counters.read == m_counters.readOk)
                m_buffer.reserve(static_cast<size_t>(spec.LogSize));
        }
        const std::string& text = m_normalizer.record().text();
        if (m_counters.logsRead > 1 && m_writeMode != 2)
            m_buffer.addMerging(text,
                                m_writeMode == 1 ? KeyConflict::KeepOld : KeyConflict::ReplaceOld);
        else
            m_buffer.add(text);
    } catch (...) {
        // Storing failed: the QSO counts as read OK and is lost, as a full list would.
    }
}

void ConversionEngine::reportProgress(long long done, long long total)
{
    if (total <= 0)
        return;
    m_counters.step = total > 6000 ? 1 : 5;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent > m_counters.percent && percent % m_counters.step == 0) {
        m_counters.percent = percent;
        if (!m_progress->step(percent))
            m_abort = true;
    }
}

bool ConversionEngine::WriteOutput(TQXLogSpec& output)
{
    m_counters.toWrite = static_cast<long long>(m_buffer.size());
    m_counters.percent = 0;
    m_writeFailure.clear();
    m_progress->start("Writing: " + output.FileName, 100);
    m_buffer.releaseLookups(); // nothing is added until the buffer is cleared below
    bool ok = false;
    if (const LogWriter* writer = findWriter(output.LogType)) {
        try {
            ok = writer->write(output, *this);
        } catch (const std::exception& e) {
            m_writeFailure = e.what();
            ok = false;
        } catch (...) {
            ok = false;
        }
    }
    m_progress->finish();
    if (!m_errorLog.lines().empty() && !m_analysisOnly)
        m_errorLogPath = m_errorLog.save(m_settings.QXTmpPath, output.FileName);
    ClearImportBuffer();
    return ok;
}

void ConversionEngine::WriteProgress(TQXLogSpec& output, size_t index)
{
    if (m_buffer.empty())
        return;
    ++m_counters.written;
    ++output.LogSize;
    reportProgress(static_cast<long long>(index), static_cast<long long>(m_buffer.size()));
}

} // namespace qx7
