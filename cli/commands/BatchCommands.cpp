// qx7cli batch import|list|check|queue|clear: QSL request lists answered from a log.

#include "cli/Command.h"
#include "cli/commands/OpenLogNamed.h"
#include "cli/TerminalProgress.h"
#include "core/Text.h"
#include "datamodule/BatchRun.h"
#include "datamodule/TQXDM.h"
#include "store/BatchFile.h"
#include "store/LogTable.h"

#include <ostream>

namespace qx7::cli {

namespace {

const char* kBatchUsage = "usage: qx7cli batch import FILE [--own CALL] | batch list\n"
                          "       qx7cli batch check LOG | batch queue LOG | batch clear\n"
                          "       qx7cli batch take LOG CALL\n";

const char* statusCaption(const std::string& status)
{
    if (status == kBatchReceived)
        return "received";
    if (status == kBatchChecked)
        return "checked";
    if (status == kBatchPrinted)
        return "printed";
    if (status == kBatchNotInLog)
        return "not in log";
    return "?";
}

void printCheckReport(CommandContext& ctx, const BatchCheckReport& report);

long stationCount(BatchInput& batch)
{
    dbase::Table& t = batch.BatchInputTable1();
    long n = 0;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next())
        ++n;
    return n;
}

int importFile(CommandContext& ctx, BatchInput& batch)
{
    const auto& a = ctx.args;
    if (a.size() != 2 && !(a.size() == 4 && a[2] == "--own")) {
        ctx.err << kBatchUsage;
        return 2;
    }
    const std::string own = a.size() == 4 ? toUpperAscii(trimmed(a[3])) : std::string();
    if (!isValidOwnCall(own)) {
        ctx.err << "qx7cli: \"" << a[3] << "\" is not a call sign\n";
        return 2;
    }
    std::string error;
    const auto list = readBatchFile(a[1], &error);
    if (!list) {
        ctx.err << "qx7cli: " << error << " Nothing was imported.\n";
        return 1;
    }
    ctx.out << "Callsigns in import file: " << list->calls.size() << '\n'
            << "QSOs in import file: " << list->qsos.size() << '\n';
    const BatchImportCounts c = importBatchList(batch, *list, own);
    ctx.out << "Calls added: " << c.callsAdded << ", updated: " << c.callsUpdated
            << ", already printed: " << c.callsKept << '\n'
            << "QSOs added: " << c.qsosAdded << ", ignored: " << c.qsosIgnored << '\n'
            << "Callsigns in Batch Input table: " << stationCount(batch) << '\n';
    return 0;
}

void list(CommandContext& ctx, BatchInput& batch)
{
    batch.FilterBatchTables("");
    dbase::Table& s = batch.BatchInputTable1();
    dbase::Table& q = batch.BatchInputTable2();
    long n = 0;
    for (s.first(); !s.isEmpty() && !s.eof(); s.next(), ++n) {
        ctx.out << s.text("HISCALL") << " | " << s.text("MYCALL") << " | "
                << statusCaption(s.text("STATUS")) << " | " << s.text("COMMENT") << '\n';
        // The QSO table follows the station through its master link.
        for (q.first(); !q.isEmpty() && !q.eof(); q.next())
            if (q.text("MYCALL") == s.text("MYCALL"))
                ctx.out << "    " << q.text("DATE") << ' ' << q.text("TIME") << ' '
                        << q.text("BAND") << ' ' << q.text("MODE") << " | "
                        << statusCaption(q.text("STATUS")) << " | " << q.text("COMMENT") << '\n';
    }
    ctx.out << n << " call(s)\n";
}

int checkOrQueue(CommandContext& ctx, TQXDM& dm, bool queue)
{
    if (ctx.args.size() != 2) {
        ctx.err << kBatchUsage;
        return 2;
    }
    if (queue && !dm.printQueue().isOpen() && !dm.OpenPrintQueue()) {
        ctx.err << "qx7cli: the print queue " << dm.LastPQ << " cannot be opened\n";
        return 1;
    }
    if (queue && dm.UseManagerDB && !dm.managers().isOpen())
        dm.managers().OpenManagerDB();
    LabelLayout layout;
    if (queue)
        dm.loadLayout(dm.LastQXD, layout); // the layout decides the lines per label
    dbase::Table log;
    LogDescriptor descriptor;
    if (!openLogNamed(ctx, dm, ctx.args[1], log, descriptor))
        return 1;
    if (queue) {
        if (const std::string why = dm.printRunBlocker(log); !why.empty()) {
            ctx.err << "qx7cli: " << oneLineText(why) << " Nothing was changed.\n";
            return 1;
        }
    }
    const BatchCheckReport c = checkBatchInput(dm.batchInput(), log, descriptor.stationCall);
    ctx.out << "Calls found in the log: " << c.found << ", not in the log: " << c.notInLog
            << ", printed before: " << c.printedBefore << '\n';
    if (!queue) {
        printCheckReport(ctx, c);
        return 0;
    }
    const int before = dm.LabelsInQueue();
    TerminalProgress progress(ctx.err);
    const BatchRunCounts r =
        runBatchInput(dm, log, descriptor.stationCall, descriptor.footerLines, progress);
    ctx.out << "Calls printed: " << r.callsPrinted << " (" << r.qsosQueued
            << " QSOs), skipped: " << r.skipped << '\n'
            << "Labels in print queue: " << dm.LabelsInQueue() << " ("
            << dm.LabelsInQueue() - before << " new)\n";
    if (r.stopped)
        ctx.out << "Stopped before the last call.\n";
    return 0;
}

// Per call and per claimed QSO: found, or why not and the log's nearest QSO.
void printCheckReport(CommandContext& ctx, const BatchCheckReport& report)
{
    ctx.out << "Claimed QSOs found: " << report.claimsFound
            << ", not found: " << report.claimsMissed << '\n';
    for (const BatchCallCheck& call : report.calls) {
        ctx.out << call.call << " | " << statusCaption(call.status) << " | ";
        if (call.qsosInLog == 0)
            ctx.out << "no such call in the log\n";
        else
            ctx.out << call.qsosInLog << " QSO(s) in the log\n";
        for (const BatchQsoCheck& q : call.claims)
            ctx.out << "    " << q.date << ' ' << q.time << ' ' << q.band << ' ' << q.mode << ": "
                    << describeBatchVerdict(q.verdict) << '\n';
    }
}

// Queues, for every claim of CALL that found no QSO, the log's QSO nearest to it.
int takeNearest(CommandContext& ctx, TQXDM& dm)
{
    if (ctx.args.size() != 3) {
        ctx.err << kBatchUsage;
        return 2;
    }
    const std::string call = toUpperAscii(trimmed(ctx.args[2]));
    if (!dm.printQueue().isOpen() && !dm.OpenPrintQueue()) {
        ctx.err << "qx7cli: the print queue " << dm.LastPQ << " cannot be opened\n";
        return 1;
    }
    if (dm.UseManagerDB && !dm.managers().isOpen())
        dm.managers().OpenManagerDB();
    LabelLayout layout;
    dm.loadLayout(dm.LastQXD, layout);
    dbase::Table log;
    LogDescriptor descriptor;
    if (!openLogNamed(ctx, dm, ctx.args[1], log, descriptor))
        return 1;
    if (const std::string why = dm.printRunBlocker(log); !why.empty()) {
        ctx.err << "qx7cli: " << oneLineText(why) << " Nothing was changed.\n";
        return 1;
    }
    const BatchCheckReport report = checkBatchInput(dm.batchInput(), log, descriptor.stationCall);
    dbase::Table& stations = dm.batchInput().BatchInputTable1();
    TerminalProgress progress(ctx.err);
    int taken = 0;
    bool known = false;
    for (const BatchCallCheck& c : report.calls) {
        if (c.call != call)
            continue;
        known = true;
        for (const BatchQsoCheck& q : c.claims) {
            if (q.verdict.miss == BatchMiss::None || !q.verdict.nearest ||
                !stations.gotoBookmark(c.record))
                continue;
            const int r = takeBatchQso(dm, log, descriptor.stationCall, descriptor.footerLines,
                                       progress, q.line, q.verdict.nearest->mark);
            if (r < 0)
                break;
            if (r == 0)
                ctx.out << "Not queued for the claim " << q.date << ' ' << q.time << ' ' << q.band
                        << ' ' << q.mode << ": " << kBatchQsoNotTaken << '\n';
            if (r > 0) {
                ++taken;
                const BatchLogQso& n = *q.verdict.nearest;
                ctx.out << "Queued " << n.date << ' ' << n.time << ' ' << n.band << ' ' << n.mode
                        << " for the claim " << q.date << ' ' << q.time << ' ' << q.band << ' '
                        << q.mode << '\n';
            }
        }
    }
    if (!known) {
        ctx.err << "qx7cli: " << call << " is not requested for this log\n";
        return 1;
    }
    ctx.out << "QSOs taken instead of claims: " << taken << '\n'
            << "Labels in print queue: " << dm.LabelsInQueue() << '\n';
    return 0;
}

} // namespace

int runBatch(CommandContext& ctx)
{
    const auto& a = ctx.args;
    const std::string sub = a.empty() ? "" : a[0];
    TQXDM& dm = ctx.dataModule();
    BatchInput& batch = dm.batchInput();
    if (!batch.BatchInputTable1().isOpen() || !batch.BatchInputTable2().isOpen()) {
        ctx.err << "qx7cli: the batch input tables in " << dm.programFolder()
                << " cannot be opened\n";
        return 1;
    }
    try {
        if (sub == "import")
            return importFile(ctx, batch);
        if (sub == "list" && a.size() == 1) {
            list(ctx, batch);
            return 0;
        }
        if (sub == "check")
            return checkOrQueue(ctx, dm, false);
        if (sub == "queue")
            return checkOrQueue(ctx, dm, true);
        if (sub == "take")
            return takeNearest(ctx, dm);
        if (sub == "clear" && a.size() == 1) {
            batch.FilterBatchTables("");
            while (batch.deleteCurrentStation()) {
            }
            ctx.out << "The Batch Input table is empty.\n";
            return 0;
        }
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
    ctx.err << kBatchUsage;
    return 2;
}

} // namespace qx7::cli
