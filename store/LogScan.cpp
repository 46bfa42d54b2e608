#include "store/LogScan.h"

#include "core/BandModeTables.h"
#include "core/Text.h"
#include "store/AdifJournal.h"
#include "store/ManagerDatabase.h"
#include "store/PrintQueue.h"
#include "store/QsoSelection.h"
#include "store/TableHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace qx7 {

namespace {

constexpr size_t kKeyWidth = 20;
constexpr int kSequenceWidth = 6;

std::string sequenceText(long n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*ld", kSequenceWidth, n);
    return buf;
}

// The highest label number in the queue. The next label continues after it: labels
// printed and deleted leave gaps, so the record count may lie below numbers in use.
long highestSequence(dbase::Table& q)
{
    q.setIndex("INDEXD");
    if (q.isEmpty())
        return 0;
    q.last();
    do { // blank numbers (listener labels) sort first, anything not a number last
        const std::string text = q.text("INDEXD");
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (end != text.c_str() && *end == '\0')
            return n;
    } while (q.moveBy(-1) == -1);
    return 0;
}

// QSLR says a card or confirmation came in: yes, by the bureau, direct or via Internet.
bool receiptRecorded(const std::string& qslr)
{
    if (qslr.size() != 1)
        return false;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(qslr.front())));
    return c == 'Y' || c == 'B' || c == 'D' || c == 'I';
}

class LogScanner
{
public:
    LogScanner(ScanContext& ctx, dbase::Table& log, const std::string& ownCall,
               const std::vector<std::string>& footers)
        : c(ctx), m_log(log), m_ownCall(SlashZeros(ownCall, ctx.settings.SlashedZero)),
          m_footers(footers), m_priRows(std::clamp(ctx.settings.PriRows, 1, kQueueSlots)),
          m_fields{log.fieldIndex("CALL"), log.fieldIndex("DATE"), log.fieldIndex("TIME"),
                   log.fieldIndex("BAND"), log.fieldIndex("MODE"), log.fieldIndex("QSLS"),
                   log.fieldIndex("QSLR"), log.fieldIndex("QMGR")}
    {}

    int run(const std::vector<dbase::Bookmark>& selectedRows);

private:
    struct Group
    {
        std::string call;
        std::vector<QsoEntry> entries;
        std::vector<std::uint32_t> records; // every record met, for the MARK clean-up
        std::array<bool, MaxBand + 1> bands{};
        bool empty() const { return call.empty(); }
    };

    void start();
    void finish();
    int walkSearchRange();
    int walkSelection(const std::vector<dbase::Bookmark>& rows);
    int walkCurrent();
    // Adds the current log record to the group, placing the finished group first when
    // the call changes. Returns -1 when placing stopped the scan.
    int take(Group& g);
    void addEntry(Group& g);
    int place(Group& g);
    void countLabels(const std::vector<QsoEntry>& chosen);
    int placeEntry(const QsoEntry& e, bool& sinceCheck);
    int findOrCreateLabel(const std::string& his, const std::string& mgr);
    // Edits the first unprinted label of the station with room left whose MANAGER holds
    // `storedMgr`; answers its slots in use, or -1 when there is none.
    int editOpenLabel(const std::string& his, const std::string& storedMgr);
    void fillSlot(int slot);
    int pagePrompt();
    // Writes the QSL status of the queued records back. `wholeGroup` false (the user
    // stopped within the group) leaves the marks of the records not queued yet.
    void markRecords(const Group& g, bool wholeGroup);
    bool stopRequested();

    // Field numbers of the log, looked up once: the scan reads every record's fields and
    // a lookup by name costs as much as the read.
    struct Fields
    {
        int call, date, time, band, mode, qsls, qslr, qmgr;
    };

    ScanContext& c;
    dbase::Table& m_log;
    std::string m_ownCall;
    const std::vector<std::string>& m_footers;
    int m_priRows;
    Fields m_fields;
    long m_sequence = 0;
    std::vector<std::uint32_t> m_queued; // QueuedRecords
};

void LogScanner::start()
{
    c.run.Terminated = 0;
    c.run.Printing = true;
    c.progress.start(c.run.PrintRun ? "Print" : "Statistics", 0); // forgets earlier key presses
    dbase::Table& q = c.queue.QXPQTable();
    if (c.run.PrintRun) {
        q.cancelRange();
        m_sequence = highestSequence(q);
        q.setIndex("INDEXA");
        m_log.suspendNotifications();
    }
}

void LogScanner::finish()
{
    c.journal.CloseAdifExport();
    if (c.managers && c.managers->isOpen())
        c.managers->MgrTable().clearMasterLink();
    if (c.run.PrintRun && m_log.isOpen()) {
        if (m_log.state() != dbase::Table::State::Browse)
            m_log.cancel();
        m_log.resumeNotifications();
    }
    c.run.Printing = false;
    // After an error a label may still be half written: drop it rather than post it.
    dbase::Table& q = c.queue.QXPQTable();
    if (q.isOpen() && q.state() != dbase::Table::State::Browse)
        q.cancel();
    try {
        c.queue.restoreViewOrder();
    } catch (const dbase::Error&) { // the queue keeps its order; the scan's error counts
    }
    c.progress.finish();
}

bool LogScanner::stopRequested()
{
    if (!c.progress.step(0) && c.run.PrintRun)
        c.run.Terminated = -1; // Escape counts in print runs only
    if (c.run.Terminated != -1)
        return false;
    c.prompter.ask(PromptIcon::Information, c.run.PrintRun ? kPrintAborted : kStatisticsAborted,
                   PromptButton::Ok);
    c.run.PrintAborted = c.run.PrintRun;
    return true;
}

void LogScanner::addEntry(Group& g)
{
    const Fields& f = m_fields;
    QsoFields q{m_log.text(f.call), m_log.text(f.date), m_log.text(f.time),
                m_log.text(f.band), m_log.text(f.mode), m_log.text(f.qsls),
                m_log.text(f.qslr), m_log.text(f.qmgr), m_log.recNo()};
    g.records.push_back(q.recno);
    QsoEntry e;
    if (!makeQsoEntry(q, c.settings.SortTyp, c.settings.CfmAllExceptY, e))
        return;
    g.entries.push_back(e);
    ++c.stats.LogSize;
    if (e.status() == 'Y')
        ++c.stats.QSOsPrinted;
    ++c.stats.BandTotals[static_cast<size_t>(e.band)];
    auto& mode = c.stats.ModeBandCounts[static_cast<size_t>(e.mode)];
    ++mode.total;
    ++mode.perBand[static_cast<size_t>(e.band)];
    g.bands[static_cast<size_t>(e.band)] = true;
}

int LogScanner::take(Group& g)
{
    const std::string call = m_log.text(m_fields.call);
    if (call.empty())
        return 0;
    if (call != g.call) {
        if (!g.empty() && !c.run.PrintRun) {
            place(g); // counting only: the log's cursor stays where it is
        } else if (!g.empty()) {
            const dbase::Bookmark here = m_log.bookmark();
            const int r = place(g);
            m_log.gotoBookmark(here);
            if (r < 0)
                return r;
        }
        g = Group{};
        g.call = call;
    }
    addEntry(g);
    return 0;
}

int LogScanner::walkSearchRange()
{
    const SearchState& s = c.search;
    if (s.ExactMatch || !c.run.PrintRun)
        m_log.first();
    const std::string stopKey = toUpperAscii(s.EndKey.empty() ? s.BeginKey : s.EndKey);
    const bool rangeStop = !s.ExactMatch && s.IndexNumber == 0 && !stopKey.empty();
    Group g;
    while (!m_log.eof()) {
        if (m_log.isEmpty())
            break;
        if (take(g) < 0)
            return -1;
        if (rangeStop && toUpperAscii(g.call).substr(0, stopKey.size()) > stopKey) {
            // Past the searched calls: this station is not part of the run.
            m_log.prior();
            return 0;
        }
        m_log.next();
        if (m_log.eof())
            break;
        if (stopRequested())
            return 0;
    }
    if (!g.empty() && place(g) < 0)
        return -1;
    return 0;
}

int LogScanner::walkSelection(const std::vector<dbase::Bookmark>& rows)
{
    Group g;
    for (const auto& row : rows) {
        if (!m_log.gotoBookmark(row))
            continue;
        if (take(g) < 0)
            return -1;
        if (stopRequested())
            return 0;
    }
    if (!g.empty() && c.run.Terminated != -1 && place(g) < 0)
        return -1;
    return 0;
}

int LogScanner::walkCurrent()
{
    if (m_log.isEmpty() || m_log.recNo() == 0) // eof() is also true on the last record
        return 0;
    Group g;
    take(g);
    return g.empty() ? 0 : place(g);
}

void LogScanner::countLabels(const std::vector<QsoEntry>& chosen)
{
    // As the print run places them: every route (manager or none) fills labels of its
    // own, and without merging every QSO gets a label.
    if (!c.settings.MergeLabels) {
        c.stats.LabelsNeeded += static_cast<long>(chosen.size());
        return;
    }
    std::map<std::string, long> perRoute;
    for (const auto& e : chosen)
        ++perRoute[e.manager];
    for (const auto& [route, n] : perRoute)
        c.stats.LabelsNeeded += (n + m_priRows - 1) / m_priRows;
}

int LogScanner::place(Group& g)
{
    sortEntries(g.entries);
    selectEntries(g.entries, {c.settings.CfmAllQ, c.settings.CfmAgnQ, c.settings.CfmNewB,
                              c.settings.CfmAllExceptY, c.settings.PriFiFo});
    std::vector<QsoEntry> chosen;
    for (const auto& e : g.entries)
        if (!e.leftOut())
            chosen.push_back(e);
    const auto bandsWorked = std::count(g.bands.begin(), g.bands.end(), true);
    ++c.stats.BandsPerStation[static_cast<size_t>(bandsWorked)];
    if (!c.run.PrintRun) {
        countLabels(chosen);
        return 0;
    }
    bool sinceCheck = false;
    int result = 0;
    size_t placed = 0;
    while (placed < chosen.size() && result == 0)
        result = placeEntry(chosen[placed++], sinceCheck);
    if (result == 0 && sinceCheck)
        result = pagePrompt();
    // Also when the user stopped here: a queued QSO left unmarked would be queued again
    // by the next run, a second time on the same label.
    markRecords(g, placed == chosen.size());
    return result;
}

int LogScanner::placeEntry(const QsoEntry& e, bool& sinceCheck)
{
    if (!m_log.gotoBookmark({e.recno}))
        return 0;
    const std::string call = m_log.text("CALL");
    const std::string mgr = labelManager(m_log.text("QMGR"));
    const std::string his = SlashZeros(call, c.settings.SlashedZero);
    // The queue keeps the manager's call alone; the label puts "ManagerText" before it
    // when it is printed, so that no text is long enough to cut the call.
    const std::string manager = mgr.empty() ? "" : SlashZeros(mgr, c.settings.SlashedZero);
    const int used = findOrCreateLabel(his, manager);
    dbase::Table& q = c.queue.QXPQTable();
    q.setText("INDEXB", CallSortKey(mgr.empty() ? call : mgr).substr(0, kKeyWidth));
    q.setText("HISCALL", his);
    q.setText("MANAGER", manager);
    q.setText("MYCALL", m_ownCall);
    q.setText("NUMQSOS", std::to_string(used + 1));
    fillSlot(used + 1);
    q.post();
    m_queued.push_back(e.recno);
    ++c.stats.QSOsQueued;
    sinceCheck = true;
    if (used + 1 == m_priRows) {
        sinceCheck = false;
        return pagePrompt();
    }
    return 0;
}

int LogScanner::editOpenLabel(const std::string& his, const std::string& storedMgr)
{
    dbase::Table& q = c.queue.QXPQTable();
    const std::string key =
        padToWidth(his, kKeyWidth) + padToWidth(storedMgr, kKeyWidth) + m_ownCall;
    q.setRange(key, key);
    dbase::Bookmark found;
    int used = 0;
    for (; !q.eof() && !found.isValid(); q.next()) {
        if (q.text("HISCALL") != his || q.text("MANAGER") != storedMgr ||
            q.text("MYCALL") != m_ownCall)
            continue;
        // A printed label waits only for deletion: a QSO added now would never be printed.
        if (q.text("XTRA3") == kPrintedMark)
            continue;
        used = c.queue.slotsInUse(m_priRows);
        if (used < m_priRows)
            found = q.bookmark();
    }
    // Leaving the range moves the cursor, which would post an open edit: edit after.
    q.cancelRange();
    if (!found.isValid() || !q.gotoBookmark(found))
        return -1;
    q.edit();
    return used;
}

int LogScanner::findOrCreateLabel(const std::string& his, const std::string& mgr)
{
    dbase::Table& q = c.queue.QXPQTable();
    if (c.settings.MergeLabels) {
        int used = editOpenLabel(his, mgr);
        // Labels queued by earlier versions hold the text before the call, cut to the
        // field; the QSO joins them and the label then keeps the call alone.
        if (used < 0 && !mgr.empty())
            used = editOpenLabel(
                his, trimRight(padToWidth(c.settings.ManagerText + " " + mgr, kKeyWidth)));
        if (used >= 0)
            return used;
    }
    q.append();
    q.setText("INDEXD", sequenceText(++m_sequence));
    const int footers = std::min<int>(static_cast<int>(m_footers.size()),
                                      std::clamp(c.settings.PriBoLN, 0, kQueueFooters));
    for (int i = 0; i < footers; ++i)
        q.setText("FOOTER" + std::to_string(i + 1), m_footers[static_cast<size_t>(i)]);
    if (c.settings.FillDashes)
        for (int slot = 1; slot <= m_priRows; ++slot)
            for (const char* f :
                 {"DATE", "TIME", "BAND", "MODE", "SUBM", "RSTS", "RSTR", "COMM", "FREQ", "PSEQ"}) {
                const int field = q.fieldIndex(slotField(slot, f));
                q.setText(field, std::string(static_cast<size_t>(q.field(field).width), '-'));
            }
    ++c.queue.LabelsInQueue;
    return 0;
}

void LogScanner::fillSlot(int slot)
{
    dbase::Table& q = c.queue.QXPQTable();
    const std::string date = m_log.text("DATE");
    std::string labelDate;
    try {
        labelDate = FormatLabelValue(date, DateValue, c.labelFormat);
    } catch (const ConversionError&) {
        labelDate = date; // not a calendar date: the label shows it as stored
    }
    q.setText(slotField(slot, "DATE"), labelDate);
    q.setText(slotField(slot, "TIME"),
              FormatLabelValue(m_log.text("TIME"), TimeValue, c.labelFormat));
    q.setText(slotField(slot, "BAND"),
              FormatLabelValue(m_log.text("BAND"), BandValue, c.labelFormat));
    for (const char* f : {"MODE", "SUBM", "RSTS", "RSTR", "COMM", "FREQ"})
        q.setText(slotField(slot, f), m_log.text(f));
    q.setText(slotField(slot, "PSEQ"),
              m_log.text("QSLR") != "N" ? c.settings.TnxText : c.settings.PseText);
    const QsoFields fields{m_log.text("CALL"), date,
                           m_log.text("TIME"), m_log.text("BAND"),
                           m_log.text("MODE"), m_log.text("QSLS"),
                           m_log.text("QSLR"), m_log.text("QMGR"),
                           m_log.recNo()};
    c.journal.addToRecord(
        journalRecord(fields, m_log.text("RSTS"), m_log.text("RSTR"), m_log.text("COMM")));
    c.journal.EndAdifRecord();
}

int LogScanner::pagePrompt()
{
    const long labels = c.queue.LabelsInQueue;
    if (!pagePromptDue(labels, c.run.LabelsPerPage, c.settings.PageConf, c.run.ContinueAsk))
        return 0;
    const std::string text = std::to_string(labels) +
                             " labels = " + std::to_string(labels / c.run.LabelsPerPage) +
                             " page(s) in print queue. Continue?";
    const ContinueChoice choice = c.prompter.askContinue(text);
    if (choice.dontShowAgain)
        c.run.ContinueAsk = false;
    if (choice.answer == PromptButton::PrintLabels) {
        if (c.printNow) {
            c.printNow();
            // Printing leaves the queue in the order the window shows; the labels still
            // to be placed are found by station.
            dbase::Table& q = c.queue.QXPQTable();
            if (q.isOpen() && q.currentIndex() != "INDEXA") {
                q.cancelRange();
                q.setIndex("INDEXA");
            }
        }
        return 0;
    }
    return choice.answer == PromptButton::Yes ? 0 : -1;
}

void LogScanner::markRecords(const Group& g, bool wholeGroup)
{
    const Settings& s = c.settings;
    const bool hasDats = m_log.findField("DATS").has_value();
    const bool hasDatr = m_log.findField("DATR").has_value();
    // An empty flag leaves its status and its date alone.
    const char sentFlag = s.qslSentFlag(), rcvdFlag = s.qslRcvdFlag();
    const bool writeSent = sentFlag != '\0', writeRcvd = rcvdFlag != '\0';
    for (const std::uint32_t recno : g.records) {
        const bool queued = std::find(m_queued.begin(), m_queued.end(), recno) != m_queued.end();
        if (!queued && !wholeGroup)
            continue;
        if (!m_log.gotoBookmark({recno}))
            continue;
        if (!queued && !m_log.boolean("MARK"))
            continue;
        m_log.edit();
        if (queued) {
            // Queueing confirms what was sent; it never takes back a card received.
            const bool received = receiptRecorded(m_log.text("QSLR"));
            if (hasDats && writeSent && sentFlag != 'N' && c.qslSentDate)
                m_log.setText("DATS", toYmd(*c.qslSentDate));
            if (hasDatr && writeRcvd && !received && rcvdFlag != 'N' && c.qslRcvdDate)
                m_log.setText("DATR", toYmd(*c.qslRcvdDate));
            if (writeSent && sentFlag != '-')
                m_log.setText("QSLS", std::string(1, sentFlag));
            if (writeRcvd && !received && rcvdFlag != '-')
                m_log.setText("QSLR", std::string(1, rcvdFlag));
        }
        m_log.setBoolean("MARK", false);
        m_log.post();
    }
    m_queued.clear();
}

int LogScanner::run(const std::vector<dbase::Bookmark>& selectedRows)
{
    start();
    int result = 0;
    try {
        switch (c.run.ScanSelection) {
        case 1:
            result = walkSelection(selectedRows);
            break;
        case 2:
            result = walkCurrent();
            break;
        default:
            result = walkSearchRange();
            break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return result;
}

} // namespace

int ScanLog(ScanContext& ctx, dbase::Table& log, const std::string& ownCall,
            const std::vector<std::string>& footerLines,
            const std::vector<dbase::Bookmark>& selectedRows)
{
    return LogScanner(ctx, log, ownCall, footerLines).run(selectedRows);
}

} // namespace qx7
