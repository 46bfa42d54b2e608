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
    for (const BatchLogQso& q : logQsosOfCall(log, call))
        marks.push_back(q.mark);
    return marks;
}

BatchCheckReport checkBatchInput(BatchInput& batch, dbase::Table& log, const std::string& ownCall)
{
    return checkBatchRequests(batch, log, ownCall);
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

int takeBatchQso(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                 const std::vector<std::string>& footerLines, Progress& progress,
                 dbase::Bookmark claimLine, dbase::Bookmark logQso, std::function<void()> printNow)
{
    dbase::Table& stations = dm.batchInput().BatchInputTable1();
    dbase::Table& claims = dm.batchInput().BatchInputTable2();
    if (stations.isEmpty() || stations.text("STATUS") == kBatchPrinted)
        return 0; // the call's QSOs went into the queue already
    // Only a QSO of the requested call answers the request.
    if (!logQso.isValid() || !log.gotoBookmark(logQso) ||
        log.text("CALL") != stations.text("HISCALL"))
        return 0;
    const dbase::Bookmark station = stations.bookmark();
    const long queuedBefore = dm.QSOsQueued;
    dm.PrintRun = true;
    dm.ScanSelection = 1;
    int result = 0;
    try {
        result = dm.ScanLog(log, ownCall, footerLines, progress, {logQso}, std::move(printNow));
    } catch (...) {
        dm.PrintRun = false;
        throw;
    }
    dm.PrintRun = false;
    if (result < 0)
        return -1;
    if (dm.QSOsQueued == queuedBefore)
        return 0; // the label rules left it out (its card went out already, say)
    if (stations.gotoBookmark(station) && claimLine.isValid() && claims.gotoBookmark(claimLine))
        setStatus(claims, kBatchPrinted);
    return 1;
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
