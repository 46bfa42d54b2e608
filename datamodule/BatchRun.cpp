#include "datamodule/BatchRun.h"

#include "datamodule/TQXDM.h"
#include "store/BatchInput.h"

#include <set>

namespace qx7 {

namespace {

// Bookmarks of every visible record: the loops below change STATUS, which may move a
// record out of a status filter while the loop walks the table.
std::vector<dbase::Bookmark> visibleRecords(dbase::Table& t)
{
    std::vector<dbase::Bookmark> marks;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next())
        marks.push_back(t.bookmark());
    return marks;
}

void setStatus(dbase::Table& t, const std::string& status)
{
    t.edit();
    t.setText("STATUS", status);
    t.post();
}

} // namespace

std::vector<dbase::Bookmark> qsosOfCall(dbase::Table& log, const std::string& call)
{
    std::vector<dbase::Bookmark> marks;
    if (call.empty())
        return marks;
    log.setRange(call, call);
    // The range holds every call that starts with `call`: keep the exact ones.
    for (; !log.isEmpty() && !log.eof(); log.next())
        if (log.text("CALL") == call)
            marks.push_back(log.bookmark());
    log.cancelRange();
    return marks;
}

BatchCheckCounts checkBatchInput(BatchInput& batch, dbase::Table& log, const std::string& ownCall)
{
    BatchCheckCounts counts;
    batch.FilterBatchTablesForLog(ownCall);
    dbase::Table& stations = batch.BatchInputTable1();
    for (const dbase::Bookmark& mark : visibleRecords(stations)) {
        if (!stations.gotoBookmark(mark))
            continue;
        if (stations.text("STATUS") == kBatchPrinted) {
            ++counts.printedBefore;
            continue;
        }
        const bool found = !qsosOfCall(log, stations.text("HISCALL")).empty();
        setStatus(stations, found ? kBatchChecked : kBatchNotInLog);
        ++(found ? counts.found : counts.notInLog);
    }
    stations.first();
    return counts;
}

int performBatchCall(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                     const std::vector<std::string>& footerLines, Progress& progress,
                     std::function<void()> printNow)
{
    dbase::Table& stations = dm.batchInput().BatchInputTable1();
    if (stations.isEmpty() || stations.text("STATUS") == kBatchPrinted)
        return 0;
    const std::vector<dbase::Bookmark> qsos = qsosOfCall(log, stations.text("HISCALL"));
    if (qsos.empty())
        return 0;
    const dbase::Bookmark station = stations.bookmark();
    dm.PrintRun = true;
    dm.ScanSelection = 1;
    int result = 0;
    try {
        result = dm.ScanLog(log, ownCall, footerLines, progress, qsos, std::move(printNow));
    } catch (...) {
        dm.PrintRun = false;
        throw;
    }
    dm.PrintRun = false;
    if (result < 0)
        return -1;
    if (stations.gotoBookmark(station))
        setStatus(stations, kBatchPrinted);
    return static_cast<int>(qsos.size());
}

BatchRunCounts runBatchInput(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                             const std::vector<std::string>& footerLines, Progress& progress,
                             std::function<void()> printNow)
{
    BatchRunCounts counts;
    BatchInput& batch = dm.batchInput();
    batch.FilterBatchTablesForLog(ownCall);
    dbase::Table& stations = batch.BatchInputTable1();
    // A call requested for this log and for every log has two records: its QSOs go
    // into the queue once, both records end printed.
    std::set<std::string> done;
    for (const dbase::Bookmark& mark : visibleRecords(stations)) {
        if (dm.Terminated == -1) {
            counts.stopped = true;
            break;
        }
        if (!stations.gotoBookmark(mark))
            continue;
        const std::string call = stations.text("HISCALL");
        if (done.count(call) && stations.text("STATUS") != kBatchPrinted) {
            setStatus(stations, kBatchPrinted);
            continue;
        }
        const int queued = performBatchCall(dm, log, ownCall, footerLines, progress, printNow);
        if (queued < 0) {
            counts.stopped = true;
            break;
        }
        if (queued == 0) {
            ++counts.skipped;
        } else {
            ++counts.callsPrinted;
            counts.qsosQueued += queued;
            done.insert(call);
        }
    }
    if (!stations.isEmpty())
        stations.first();
    return counts;
}

} // namespace qx7
