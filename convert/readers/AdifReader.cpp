#include "convert/readers/AdifReader.h"

#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/AdifRecordBuilder.h"
#include "convert/readers/AdifTagScanner.h"
#include "convert/readers/BatchPipe.h"
#include "convert/readers/LineStream.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <thread>

namespace qx7 {

const std::vector<std::string_view>& adifCommentChoices()
{
    static const std::vector<std::string_view> choices = {
        "<COMMENT> Comment field for QSO",
        "<ADDRESS> As it will appear on the mailing label",
        "<ARRL_SECT> ARRL section",
        "<CNTY> US County (STATE,COUNTY)",
        "<CONT> Continent: NA, SA, EU, AF, OC, AS",
        "<CONTEST_ID> Contest Identifier -- CQWW, ARRLDX, etc.",
        "<CQZ> CQ Zone",
        "<DXCC> Numeric identifiers from ARRL",
        "<GRIDSQUARE>",
        "<IOTA> Example: NA-001",
        "<ITUZ> ITU Zone",
        "<NAME> Name",
        "<NOTES> Long text",
        "<OPERATOR> Callsign of person logging the QSO",
        "<PFX> WPX prefix",
        "<QSLMSG> Personal short message to appear on QSL card",
        "<QSLRDATE> QSL Rcvd Date",
        "<QSLSDATE> QSL Sent Date",
        "<QSL_VIA> via QSL Manager",
        "<QTH>",
        "<SAT_MODE> Satellite Mode",
        "<SAT_NAME> Name of satellite",
        "<SRX> Received serial number for a contest QSO",
        "<STATE> US state",
        "<STX> Transmitted serial number for a contest QSO",
        "<TEN_TEN> TenTen Number",
        "<VE_PROV> 2-letter abbreviations: AB, BC...",
    };
    return choices;
}

std::string commentTagOf(std::string_view choice)
{
    const size_t close = choice.find('>');
    return std::string(close == std::string_view::npos ? choice : choice.substr(0, close + 1));
}

namespace {

// Each finished QSO to the engine at once: it checks and keeps it.
class EngineOutlet : public QsoOutlet
{
public:
    EngineOutlet(TQXLogSpec& spec, ReadContext& context) : m_spec(spec), m_context(context) {}

    bool stopped() const override { return m_context.abortRequested(); }
    void complete(FieldNormalizer&) override { m_context.QsoComplete(m_spec); }
    void problem(std::string_view text) override { m_context.noteValueProblem(text); }

private:
    TQXLogSpec& m_spec;
    ReadContext& m_context;
};

// What the scanning thread made of a batch of lines: every finished QSO as its record
// and error-log texts, and the notes on its values, in order. Copied: the lines and the
// scanning thread's own record have moved on by the time the engine takes them.
struct ScannedBatch
{
    enum class Kind : uint8_t
    {
        Qso,
        Problem
    };
    struct Event
    {
        Kind kind;
        size_t offset;   // into text: the record, then the band and mode texts; or the note
        size_t size;     // of the record or the note
        size_t pipe;     // of a QSO: where its call ends
        size_t bandSize; // of a QSO: its error-log texts
        size_t modeSize;
    };
    std::string text;
    std::vector<Event> events;
    bool badLength = false; // scanning stopped at a tag whose length is not a number

    void clear()
    {
        text.clear();
        events.clear();
        badLength = false;
    }
};

// Each finished QSO into the batch being filled.
class BatchOutlet : public QsoOutlet
{
public:
    explicit BatchOutlet(const std::atomic<bool>& stop) : m_stop(stop) {}

    void fill(ScannedBatch& batch) { m_batch = &batch; }
    bool stopped() const override { return m_stop.load(std::memory_order_relaxed); }
    void complete(FieldNormalizer& normalizer) override
    {
        const ImportRecord& record = normalizer.record();
        const std::string& band = normalizer.errorBandText();
        const std::string& mode = normalizer.errorModeText();
        m_batch->events.push_back({ScannedBatch::Kind::Qso, m_batch->text.size(),
                                   record.text().size(), record.pipe(), band.size(), mode.size()});
        m_batch->text.append(record.text()).append(band).append(mode);
        normalizer.resetRecord();
    }
    void problem(std::string_view text) override
    {
        m_batch->events.push_back(
            {ScannedBatch::Kind::Problem, m_batch->text.size(), text.size(), 0, 0, 0});
        m_batch->text.append(text);
    }

private:
    const std::atomic<bool>& m_stop;
    ScannedBatch* m_batch = nullptr;
};

// Hands the batch's QSOs to the engine; false when it stopped before the batch's end.
bool replay(const ScannedBatch& batch, FieldNormalizer& normalizer, EngineOutlet& engine)
{
    for (const ScannedBatch::Event& e : batch.events) {
        const char* at = batch.text.data() + e.offset;
        if (e.kind == ScannedBatch::Kind::Problem) {
            engine.problem(std::string_view(at, e.size));
            continue;
        }
        const std::string_view band(at + e.size, e.bandSize);
        normalizer.adoptRecord(std::string_view(at, e.size), e.pipe, band,
                               std::string_view(at + e.size + e.bandSize, e.modeSize));
        engine.complete(normalizer);
        if (engine.stopped())
            return false;
    }
    return true;
}

// Batches the scanning thread may fill before the engine takes them: enough for it to
// work on while the first pass runs, a few megabytes each.
constexpr size_t kBatchesAhead = 8;

// The thread that reads the file, finds the fields and normalizes them with a copy of
// the engine's normalizer, handing the QSOs on through a pipe.
class ScanningThread
{
public:
    ScanningThread(const TQXLogSpec& file, const LogFileScan& scan, const std::string& commentTag,
                   const FieldNormalizer& normalizer)
        : m_file(file), m_scan(scan), m_scanner(commentTag), m_normalizer(normalizer),
          m_thread([this] { run(); })
    {}
    ~ScanningThread() { stop(); }

    BatchPipe<ScannedBatch, kBatchesAhead>& pipe() { return m_pipe; }
    // Stops the thread, wherever it is, and waits for it.
    void stop()
    {
        m_pipe.requestStop();
        if (m_thread.joinable())
            m_thread.join();
    }
    // After stop(): false when the file could not be read; what the thread threw is
    // thrown again here.
    bool readOk() const
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        return m_readOk;
    }

private:
    void run()
    {
        try {
            BatchOutlet outlet(m_pipe.stopFlag());
            AdifRecordBuilder builder(m_normalizer, outlet);
            m_readOk =
                ReadLogLineBatches(m_file, m_scan, [&](const std::vector<std::string_view>& lines) {
                    auto batch = m_pipe.takeEmpty();
                    if (!batch)
                        return false;
                    outlet.fill(*batch);
                    for (std::string_view line : lines) {
                        if (outlet.stopped())
                            break;
                        if (!m_scanner.scanLine(line, builder)) {
                            batch->badLength = true;
                            break;
                        }
                    }
                    const bool goOn = !batch->badLength;
                    m_pipe.put(std::move(batch));
                    return goOn;
                });
        } catch (...) {
            m_failure = std::current_exception();
        }
        m_pipe.finish();
    }

    const TQXLogSpec m_file;
    const LogFileScan m_scan;
    AdifTagScanner m_scanner;
    FieldNormalizer m_normalizer;
    BatchPipe<ScannedBatch, kBatchesAhead> m_pipe;
    bool m_readOk = false;
    std::exception_ptr m_failure;
    std::thread m_thread; // last: it starts once everything it uses is there
};

} // namespace

bool AdifReader::readLines(const std::vector<std::string_view>& lines, TQXLogSpec& spec,
                           ReadContext& context)
{
    AdifTagScanner scanner(context.adifCommentTag());
    EngineOutlet engine(spec, context);
    AdifRecordBuilder builder(context.normalizer(), engine);
    for (std::string_view line : lines) {
        if (context.abortRequested())
            break;
        if (!scanner.scanLine(line, builder))
            return false;
    }
    return true;
}

bool AdifReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    spec.BandMode = 0;
    // Streamed: a log of a million QSOs is never held whole, only its accepted QSOs.
    LogFileScan scan;
    if (context.logSizeOnly())
        return ScanLogFile(spec, scan);
    // Two threads: one reads the file, finds the fields and normalizes them; this one
    // checks and keeps the QSOs (and so alone talks to the engine and its progress). The
    // first pass, which counts the records for the progress and finds the encoding, runs
    // here while the other thread already reads the file as UTF-8, as nearly every ADIF
    // file is; one that is not is read again from its start.
    FieldNormalizer& normalizer = context.normalizer();
    const FieldNormalizer fresh = normalizer;
    const std::string commentTag = context.adifCommentTag();
    auto scanning = std::make_unique<ScanningThread>(spec, scan, commentTag, fresh);
    if (!ScanLogFile(spec, scan))
        return false;
    if (!scan.utf8) {
        scanning.reset();
        scanning = std::make_unique<ScanningThread>(spec, scan, commentTag, fresh);
    }
    EngineOutlet engine(spec, context);
    bool ok = true;
    while (auto batch = scanning->pipe().next()) {
        if (!replay(*batch, normalizer, engine))
            break;
        if (batch->badLength) {
            ok = false;
            break;
        }
        scanning->pipe().giveBack(std::move(batch));
    }
    scanning->stop();
    return scanning->readOk() && ok;
}

} // namespace qx7
