// qx7cli print / preview: the print queue through a label layout onto a printer, a
// PDF file or preview pictures, with the run values of the print options dialog.

#include "cli/Command.h"
#include "core/IniFile.h"
#include "core/Printers.h"
#include "core/Progress.h"
#include "core/QxHome.h"
#include "core/Text.h"
#include "datamodule/QueueLabelSource.h"
#include "datamodule/TQXDM.h"
#include "labels/PrinterCalibration.h"
#include "labels/QxdFile.h"
#include "labels/render/LabelPrinting.h"
#include "labels/UsedPositions.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>

namespace qx7::cli {

namespace {

struct RunOptions
{
    std::string layout;
    std::string pdf;
    std::optional<std::string> printer;
    std::string pngFolder;
    std::optional<int> startAt;
    std::optional<std::pair<int, int>> pages;
    bool reverse = false;
    bool keep = false;
    // "1,2,7", "remembered" (what was kept for the sheet type) or "none".
    std::optional<std::string> used;
    PrinterSettings settings;
};

std::optional<int> number(const std::string& s)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<std::pair<int, int>> pageRange(const std::string& s)
{
    const size_t dash = s.find('-');
    const auto from = number(s.substr(0, dash));
    const auto to = dash == std::string::npos ? from : number(s.substr(dash + 1));
    if (!from || !to || *from < 1 || *to < *from || *to > 9999)
        return std::nullopt;
    return std::make_pair(*from, *to);
}

// Fills `o` from the arguments; a message on `err` and false on a mistake.
bool parseOptions(const std::vector<std::string>& args, bool preview, RunOptions& o,
                  std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--layout" && hasValue)
            o.layout = args[++i];
        else if (a == "--start-at" && hasValue)
            o.startAt = number(args[++i]).value_or(0);
        else if (a == "--pages" && hasValue) {
            o.pages = pageRange(args[++i]);
            if (!o.pages) {
                err << "qx7cli: --pages wants FROM-TO with 1 <= FROM <= TO <= 9999\n";
                return false;
            }
        } else if (a == "--reverse")
            o.reverse = true;
        else if (a == "--used" && hasValue)
            o.used = args[++i];
        else if (!preview && a == "--duplex" && hasValue) {
            PrinterSettings::Duplex d{};
            if (const std::string problem = parseDuplex(args[++i], d); !problem.empty()) {
                err << "qx7cli: " << problem << '\n';
                return false;
            }
            o.settings.duplex = d;
        } else if (!preview && (a == "--grayscale" || a == "--color"))
            o.settings.grayscale = a == "--grayscale";
        else if (!preview && a == "--dpi" && hasValue) {
            const auto dpi = number(args[++i]);
            if (!dpi || *dpi < 72 || *dpi > 4800) {
                err << "qx7cli: --dpi wants a resolution from 72 to 4800\n";
                return false;
            }
            o.settings.resolution = *dpi;
        } else if (!preview && a == "--pdf" && hasValue)
            o.pdf = args[++i];
        else if (!preview && a == "--printer" && hasValue)
            o.printer = args[++i];
        else if (!preview && a == "--keep")
            o.keep = true;
        else if (preview && a == "--png" && hasValue)
            o.pngFolder = args[++i];
        else {
            err << "qx7cli: unexpected argument " << a << '\n';
            return false;
        }
    }
    if (preview && o.pngFolder.empty()) {
        err << "usage: qx7cli preview --png DIR [--layout FILE] [--start-at N] [--pages A-B] "
               "[--reverse] [--used LIST|remembered|none]\n";
        return false;
    }
    if (!o.pdf.empty() && o.printer && *o.printer != kPdfPrinterName) {
        err << "qx7cli: give either --pdf or --printer\n";
        return false;
    }
    if (!o.pdf.empty() && !o.settings.empty()) {
        err << "qx7cli: --duplex, --grayscale, --color and --dpi are for a printer, not --pdf\n";
        return false;
    }
    return true;
}

// Loads the layout and puts the run values into its page; 0 when all is well.
int prepareLayout(TQXDM& dm, const RunOptions& o, LabelLayout& layout, std::string& path,
                  std::string& folder, std::ostream& err)
{
    path = dm.layoutPath(o.layout.empty() ? dm.LastQXD : o.layout);
    std::string error;
    const auto counts = dm.loadLayout(path, layout, &error);
    if (!counts) {
        err << "qx7cli: cannot load the label layout: " << error << '\n';
        return 1;
    }
    folder = std::filesystem::path(path).parent_path().string();
    layout.Page.Reverse = o.reverse;
    if (o.startAt) {
        if (*o.startAt < 1 || *o.startAt > counts->labelsPerSheet) {
            err << "qx7cli: --start-at must lie in [1.." << counts->labelsPerSheet << "]\n";
            return 2;
        }
        layout.Page.StartAt = static_cast<std::uint16_t>(*o.startAt);
    }
    if (o.pages) {
        layout.Page.PageFrom = static_cast<std::uint16_t>(o.pages->first);
        layout.Page.PageTo = static_cast<std::uint16_t>(o.pages->second);
    }
    layout.Page.UsedPositions.clear();
    if (o.used && *o.used == "remembered") {
        layout.Page.UsedPositions = rememberedUsedPositions(
            IniFile(dm.iniPath()), calibrationSheetName(layout.Page), counts->labelsPerSheet);
    } else if (o.used && *o.used != "none") {
        const std::string problem =
            parseUsedPositions(*o.used, counts->labelsPerSheet, layout.Page.UsedPositions);
        if (!problem.empty()) {
            err << "qx7cli: --used: " << problem << '\n';
            return 2;
        }
    }
    return 0;
}

// A sheet fed again with labels used is what the next run on that sheet type most
// likely gets: keep what was named (or forget it with "none") as the dialog does.
void rememberUsed(TQXDM& dm, const RunOptions& o, const TQRPage& page, std::ostream& err)
{
    if (!o.used || *o.used == "remembered")
        return;
    IniFile ini(dm.iniPath());
    rememberUsedPositions(ini, calibrationSheetName(page), page.UsedPositions);
    if (ini.modified() && !ini.save())
        err << "qx7cli: cannot write " << dm.iniPath() << "; the used labels are not remembered\n";
}

std::unique_ptr<LabelSource> openQueue(TQXDM& dm, bool printing, std::ostream& err)
{
    int leftOut = 0;
    std::unique_ptr<LabelSource> queue =
        printing ? openQueueForPrinting(dm, &leftOut) : openQueueLabelSource(dm);
    if (!queue)
        err << "qx7cli: the print queue cannot be opened\n";
    else if (queue->count() == 0) {
        err << "qx7cli: the label print queue "
            << (leftOut > 0 ? "holds only labels printed already" : "is empty") << '\n';
        queue.reset();
    }
    if (queue && leftOut > 0)
        err << "qx7cli: " << leftOut
            << " label(s) marked \"printed\" by an earlier run are left out\n";
    return queue;
}

// Where printing goes: a PDF file, a named printer, or the current printer.
std::optional<LabelOutputTarget> printTarget(const RunOptions& o, std::ostream& err)
{
    LabelOutputTarget t;
    if (!o.pdf.empty()) {
        t.kind = LabelOutputTarget::Kind::PdfFile;
        t.path = o.pdf;
        return t;
    }
    if (o.printer && *o.printer == kPdfPrinterName) {
        err << "qx7cli: the \"PDF file\" printer needs --pdf OUT.pdf\n";
        return std::nullopt;
    }
    t.printerName = o.printer.value_or(currentPrinterName());
    if (t.printerName.empty()) {
        err << "qx7cli: no printer installed; print to a file with --pdf OUT.pdf\n";
        return std::nullopt;
    }
    return t;
}

// Says what went wrong after a run; true when something did (the command then fails).
bool reportProblems(const PrintJobResult& r, std::ostream& err)
{
    for (const std::string& p : r.imageProblems)
        err << "qx7cli: picture left out: " << p << '\n';
    for (const std::string& p : r.expressionProblems)
        err << "qx7cli: expression left out: " << p << '\n';
    if (r.run.blankLabels > 0)
        err << "qx7cli: " << r.run.blankLabels
            << " label(s) came out without any text and were not marked \"printed\"\n";
    if (r.run.markFailures > 0)
        err << "qx7cli: " << r.run.markFailures
            << " printed label(s) could not be marked \"printed\" in the queue\n";
    if (r.deleted < 0)
        err << "qx7cli: the printed labels could not be removed from the print queue\n";
    return r.run.markFailures > 0 || r.deleted < 0;
}

// What print and preview both need: the layout with the run values, and the queue.
struct LabelRun
{
    LabelLayout layout;
    std::string path;
    std::string folder;
    std::unique_ptr<LabelSource> queue;
};

int prepareRun(TQXDM& dm, const RunOptions& o, bool printing, LabelRun& run, std::ostream& err)
{
    if (const int code = prepareLayout(dm, o, run.layout, run.path, run.folder, err))
        return code;
    run.queue = openQueue(dm, printing, err);
    return run.queue ? 0 : 1;
}

} // namespace

int runPrint(CommandContext& ctx)
{
    RunOptions o;
    if (!parseOptions(ctx.args, false, o, ctx.err))
        return 2;
    const auto target = printTarget(o, ctx.err);
    if (!target)
        return 2;
    TQXDM& dm = ctx.dataModule();
    LabelRun run;
    if (const int code = prepareRun(dm, o, true, run, ctx.err))
        return code;
    // Labels printed from a queue that cannot be written could be neither marked nor
    // removed, and the next run would print them again.
    if (dm.printQueue().isReadOnly()) {
        ctx.err << "qx7cli: nothing printed: "
                << oneLineText(queueReadOnlyText(dm.LastPQ, dm.printQueue().readOnlyCause()))
                << " (preview --png shows the labels without changing the queue)\n";
        return 1;
    }
    LabelOutputTarget calibrated = *target;
    if (calibrated.kind == LabelOutputTarget::Kind::Printer) {
        calibrated.calibration = findCalibration(IniFile(dm.iniPath()), calibrated.printerName,
                                                 calibrationSheetName(run.layout.Page));
        calibrated.settings = o.settings;
    }
    rememberUsed(dm, o, run.layout.Page, ctx.err);
    NullProgress progress;
    const AfterPrintPolicy after{!o.keep, dm.AutoDeleteQXPQ, &dm.prompter()};
    const PrintJobResult r =
        runPrintJob(run.layout, run.folder, *run.queue, calibrated, progress, after);
    if (r.refused) {
        std::string why = r.run.error;
        for (size_t at = why.find("\r\n"); at != std::string::npos; at = why.find("\r\n", at))
            why.replace(at, 2, "\n  ");
        ctx.err << "qx7cli: the layout " << run.path << ": " << why << '\n';
        return 1;
    }
    const bool problems = reportProblems(r, ctx.err);
    if (r.run.failed) {
        ctx.err << "qx7cli: printing failed: " << r.run.error << '\n';
        if (r.run.marked > 0)
            ctx.err << "qx7cli: " << r.run.marked
                    << " label(s) on the sheets printed before the failure are marked "
                       "\"printed\"\n";
        return 1;
    }
    ctx.out << "Printed " << r.run.labelsDrawn << " label(s) on " << r.run.sheets << " sheet(s) to "
            << (target->kind == LabelOutputTarget::Kind::PdfFile ? target->path
                                                                 : target->printerName)
            << (r.run.cancelled ? " (stopped)" : "") << ".\n";
    if (r.deleted > 0)
        ctx.out << r.deleted << " printed label(s) removed from the print queue.\n";
    return problems ? 1 : 0;
}

int runPreview(CommandContext& ctx)
{
    RunOptions o;
    if (!parseOptions(ctx.args, true, o, ctx.err))
        return 2;
    TQXDM& dm = ctx.dataModule();
    LabelRun run;
    if (const int code = prepareRun(dm, o, false, run, ctx.err))
        return code;
    std::error_code ec;
    std::filesystem::create_directories(o.pngFolder, ec);
    LabelOutputTarget target;
    target.kind = LabelOutputTarget::Kind::Pictures;
    target.path = o.pngFolder;
    NullProgress progress;
    const PrintJobResult r = runPrintJob(run.layout, run.folder, *run.queue, target, progress, {});
    const bool problems = reportProblems(r, ctx.err);
    if (r.run.failed) {
        ctx.err << "qx7cli: preview failed: " << r.run.error << '\n';
        return 1;
    }
    ctx.out << "Previewed " << r.run.labelsDrawn << " label(s) on " << r.run.sheets
            << " page(s) in " << o.pngFolder << ".\n";
    return problems ? 1 : 0;
}

} // namespace qx7::cli
