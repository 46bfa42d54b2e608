// qx7cli queue fill|list|empty|export-adif and stats: the road from a log to labels.

#include "cli/Command.h"
#include "cli/commands/OpenLogNamed.h"
#include "cli/TerminalProgress.h"
#include "core/BandModeTables.h"
#include "core/Text.h"
#include "core/WritableFolder.h"
#include "datamodule/TQXDM.h"
#include "store/LogSearch.h"
#include "store/LogTable.h"
#include "store/StatisticsReport.h"

#include <filesystem>
#include <ostream>

namespace qx7::cli {

namespace {

const char* kQueueUsage =
    "usage: qx7cli queue fill LOG [--call CALL | --from CALL --to CALL | --pattern P]\n"
    "                         [--band B] [--mode M] [--marked]\n"
    "                         [--sent-flag F] [--rcvd-flag F]   (F: Y B D I N, - no change)\n"
    "       qx7cli queue list | queue empty | queue export-adif FILE [--overwrite]\n";

// The search inputs of the log window, from the command's options.
bool parseSearch(const std::vector<std::string>& a, size_t from, SearchInputs& in,
                 std::ostream& err)
{
    for (size_t i = from; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        if (a[i] == "--marked")
            in.markedOnly = true;
        else if (a[i] == "--call" && hasValue)
            in.callFrom = a[++i];
        else if (a[i] == "--from" && hasValue)
            in.callFrom = a[++i];
        else if (a[i] == "--to" && hasValue)
            in.callTo = a[++i];
        else if (a[i] == "--pattern" && hasValue)
            in.callFrom = a[++i];
        else if (a[i] == "--band" && hasValue)
            in.band = a[++i];
        else if (a[i] == "--mode" && hasValue)
            in.mode = a[++i];
        else if ((a[i] == "--sent-flag" || a[i] == "--rcvd-flag") && hasValue)
            ++i; // the print-time flags: see printFlags
        else {
            err << "qx7cli: unexpected \"" << a[i] << "\"\n" << kQueueUsage;
            return false;
        }
    }
    in.callFrom = toUpperAscii(in.callFrom);
    in.callTo = toUpperAscii(in.callTo);
    return true;
}

bool openQueue(CommandContext& ctx, TQXDM& dm)
{
    if (dm.printQueue().isOpen() || dm.OpenPrintQueue())
        return true;
    ctx.err << "qx7cli: the print queue " << dm.LastPQ << " cannot be opened\n";
    return false;
}

// For the commands that add or remove labels.
bool openQueueForWriting(CommandContext& ctx, TQXDM& dm)
{
    if (!openQueue(ctx, dm))
        return false;
    if (!dm.printQueue().isReadOnly())
        return true;
    ctx.err << "qx7cli: "
            << oneLineText(queueReadOnlyText(dm.LastPQ, dm.printQueue().readOnlyCause())) << '\n';
    return false;
}

// The QSL sent and received flags the run writes into the QSOs it queues (the desktop
// program's "When QSO is printed" settings), for this run only.
bool printFlags(const std::vector<std::string>& a, TQXDM& dm, std::ostream& err)
{
    for (size_t i = 2; i + 1 < a.size(); ++i) {
        if (a[i] != "--sent-flag" && a[i] != "--rcvd-flag")
            continue;
        const std::string flag = toUpperAscii(a[i + 1]);
        if (flag.size() != 1 || std::string("YBDIN-").find(flag) == std::string::npos) {
            err << "qx7cli: " << a[i] << " takes one of Y B D I N or - (no change), not \""
                << a[i + 1] << "\"\n";
            return false;
        }
        (a[i] == "--sent-flag" ? dm.QSLsFlag : dm.QSLrFlag) = flag;
        ++i;
    }
    return true;
}

int fill(CommandContext& ctx)
{
    const auto& a = ctx.args;
    SearchInputs in;
    if (a.size() < 2 || !parseSearch(a, 2, in, ctx.err))
        return 2;
    TQXDM& dm = ctx.dataModule();
    if (!printFlags(a, dm, ctx.err))
        return 2;
    if (!openQueue(ctx, dm))
        return 1;
    if (dm.UseManagerDB && !dm.managers().isOpen())
        dm.managers().OpenManagerDB();
    // As in the desktop program, the last label layout decides the QSO lines, footer
    // lines and labels per sheet; without it the settings stand.
    LabelLayout layout;
    dm.loadLayout(dm.LastQXD, layout);
    dbase::Table log;
    LogDescriptor descriptor;
    if (!openLogNamed(ctx, dm, a[1], log, descriptor))
        return 1;
    // Everything the run writes is checked first: a run that fails halfway has queued
    // labels and marked QSOs that the user then has to sort out.
    if (const std::string why = dm.printRunBlocker(log); !why.empty()) {
        ctx.err << "qx7cli: " << oneLineText(why) << " Nothing was changed.\n";
        return 1;
    }
    const int before = dm.LabelsInQueue();
    TerminalProgress progress(ctx.err);
    int result = 0;
    try {
        LogSearchChange({&log}, in, dm.Search);
        dm.PrintRun = true;
        dm.ScanSelection = 0;
        result = dm.ScanLog(log, descriptor.stationCall, descriptor.footerLines, progress);
        dm.PrintRun = false;
        log.close();
    } catch (const dbase::Error& e) {
        dm.PrintRun = false;
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
    ctx.out << "Labels in print queue: " << dm.LabelsInQueue() << " ("
            << dm.LabelsInQueue() - before << " new)\n";
    if (result < 0)
        ctx.out << "Stopped at the page prompt.\n";
    return dm.journal().droppedRecords() > 0 ? 1 : 0;
}

int list(CommandContext& ctx)
{
    TQXDM& dm = ctx.dataModule();
    if (!openQueue(ctx, dm))
        return 1;
    dbase::Table& q = dm.printQueue().QXPQTable();
    dm.printQueue().restoreViewOrder();
    for (q.first(); !q.eof(); q.next()) {
        ctx.out << q.text("INDEXD") << " | " << q.text("INDEXB") << " | " << q.text("HISCALL")
                << " | " << managerLabelText(q.text("MANAGER"), dm.ManagerText) << " | "
                << q.text("MYCALL") << " | " << q.text("NUMQSOS")
                << (q.text("XTRA3") == kPrintedMark ? " | printed" : "") << '\n';
        for (int slot = 1; slot <= kQueueSlots; ++slot) {
            const std::string band = q.text(slotField(slot, "BAND"));
            if (band.empty() || band == kDashedBand)
                continue;
            ctx.out << "    " << slotLetter(slot) << ": " << q.text(slotField(slot, "DATE")) << ' '
                    << q.text(slotField(slot, "TIME")) << ' ' << band << ' '
                    << q.text(slotField(slot, "MODE")) << ' ' << q.text(slotField(slot, "RSTS"))
                    << ' ' << q.text(slotField(slot, "PSEQ")) << '\n';
        }
    }
    ctx.out << dm.LabelsInQueue() << " label(s)\n";
    return 0;
}

} // namespace

int runQueue(CommandContext& ctx)
{
    const auto& a = ctx.args;
    const std::string sub = a.empty() ? "" : a[0];
    if (sub == "fill")
        return fill(ctx);
    if (sub == "list" && a.size() == 1)
        return list(ctx);
    if (sub == "empty" && a.size() == 1) {
        TQXDM& dm = ctx.dataModule();
        if (!openQueueForWriting(ctx, dm))
            return 1;
        dm.EmptyPrintQueue();
        ctx.out << "The print queue is empty.\n";
        return 0;
    }
    if (sub == "export-adif" && (a.size() == 2 || (a.size() == 3 && a[2] == "--overwrite"))) {
        TQXDM& dm = ctx.dataModule();
        const std::string folder = std::filesystem::path(a[1]).parent_path().string();
        if (const std::string why = whyFolderRefusesWrites(folder.empty() ? "." : folder);
            !why.empty()) {
            ctx.err << "qx7cli: " << a[1] << " cannot be written: " << why << '\n';
            return 1;
        }
        if (!dm.journal().exists()) {
            ctx.err << "qx7cli: nothing to export: no QSO was placed in the print queue since it "
                       "was last emptied (no "
                    << dm.journal().path() << "); " << a[1] << " was not written\n";
            return 1;
        }
        if (!dm.ExportAdifFile(a[1], a.size() == 2)) {
            ctx.err << "qx7cli: " << a[1] << " could not be written\n";
            return 1;
        }
        ctx.out << "Exported the print queue journal to " << a[1] << '\n';
        return 0;
    }
    ctx.err << kQueueUsage;
    return 2;
}

int runStats(CommandContext& ctx)
{
    const bool report = ctx.args.size() == 2 && ctx.args[1] == "--report";
    if (ctx.args.size() != 1 && !report) {
        ctx.err << "usage: qx7cli stats LOG [--report]\n";
        return 2;
    }
    TQXDM& dm = ctx.dataModule();
    if (!openQueue(ctx, dm))
        return 1;
    // The labels needed depend on the QSO lines of the layout, as in the desktop program.
    LabelLayout layout;
    dm.loadLayout(dm.LastQXD, layout);
    dbase::Table log;
    LogDescriptor descriptor;
    if (!openLogNamed(ctx, dm, ctx.args[0], log, descriptor))
        return 1;
    TerminalProgress progress(ctx.err);
    dm.ScanStatistics::reset();
    dm.PrintRun = false;
    dm.ScanSelection = 0;
    dm.Search = SearchState{};
    dm.ScanLog(log, descriptor.stationCall, descriptor.footerLines, progress);
    if (report) {
        const StatisticsHeading heading{logBaseName(ctx.args[0]), descriptor.stationCall,
                                        dm.PriRows, dm.LastQXD};
        for (const std::string& line : statisticsReport(dm, heading))
            ctx.out << line << '\n';
        return 0;
    }
    ctx.out << "QSOs: " << dm.LogSize << "\nQSOs confirmed: " << dm.QSOsPrinted
            << "\nLabels needed: " << dm.LabelsNeeded << '\n';
    for (int b = 0; b <= MaxBand; ++b)
        if (dm.BandTotals[static_cast<size_t>(b)] > 0)
            ctx.out << "Band " << bandName(b) << ": " << dm.BandTotals[static_cast<size_t>(b)]
                    << '\n';
    for (int m = 0; m <= MaxMode; ++m) {
        const auto& counts = dm.ModeBandCounts[static_cast<size_t>(m)];
        if (counts.total == 0)
            continue;
        ctx.out << "Mode " << modeName(m) << ": " << counts.total;
        for (int b = 0; b <= MaxBand; ++b)
            if (counts.perBand[static_cast<size_t>(b)] > 0)
                ctx.out << ' ' << bandName(b) << '=' << counts.perBand[static_cast<size_t>(b)];
        ctx.out << '\n';
    }
    for (size_t k = 1; k < dm.BandsPerStation.size(); ++k)
        if (dm.BandsPerStation[k] > 0)
            ctx.out << "Stations worked on " << k << " band(s): " << dm.BandsPerStation[k] << '\n';
    return 0;
}

} // namespace qx7::cli
