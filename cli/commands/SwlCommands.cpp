// qx7cli swl add|list|queue|clear: a listener's reports, answered with labels of their own.

#include "cli/Command.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"

#include <ostream>

namespace qx7::cli {

namespace {

const char* kSwlUsage =
    "usage: qx7cli swl add HEARD DATE TIME BAND MODE [--subm S] [--mycall CALL] [--comment TEXT]\n"
    "       qx7cli swl list | swl queue LISTENER | swl clear\n";

int addReport(CommandContext& ctx, SwlReports& swl)
{
    const auto& a = ctx.args;
    if (a.size() < 6) {
        ctx.err << kSwlUsage;
        return 2;
    }
    std::string subMode, myCall, comment;
    for (size_t i = 6; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        if (a[i] == "--subm" && hasValue)
            subMode = a[++i];
        else if (a[i] == "--mycall" && hasValue)
            myCall = toUpperAscii(a[++i]);
        else if (a[i] == "--comment" && hasValue)
            comment = a[++i];
        else {
            ctx.err << kSwlUsage;
            return 2;
        }
    }
    swl.addReport(toUpperAscii(a[1]), a[2], a[3], a[4], toUpperAscii(a[5]), subMode, myCall,
                  comment);
    ctx.out << "Report of " << toUpperAscii(a[1]) << " added.\n";
    return 0;
}

} // namespace

int runSwl(CommandContext& ctx)
{
    const auto& a = ctx.args;
    const std::string sub = a.empty() ? "" : a[0];
    TQXDM& dm = ctx.dataModule();
    SwlReports& swl = dm.swl();
    if (!swl.OpenSWLTable()) {
        ctx.err << "qx7cli: the SWL table " << swl.path() << " cannot be opened\n";
        return 1;
    }
    try {
        if (sub == "add")
            return addReport(ctx, swl);
        if (sub == "list" && a.size() == 1) {
            dbase::Table& t = swl.SWLTable();
            long n = 0;
            for (t.first(); !t.isEmpty() && !t.eof(); t.next(), ++n)
                ctx.out << t.text("HRDC") << ' ' << t.text("DATE") << ' ' << t.text("TIME") << ' '
                        << t.text("BAND") << ' ' << t.text("MODE") << ' ' << t.text("MYCALL")
                        << '\n';
            ctx.out << n << " report(s)\n";
            return 0;
        }
        if (sub == "queue" && a.size() == 2) {
            if (!dm.printQueue().isOpen() && !dm.OpenPrintQueue())
                return 1;
            LabelLayout layout;
            dm.loadLayout(dm.LastQXD, layout); // the layout decides the lines per label
            const int before = dm.LabelsInQueue();
            dm.QueueSWLReports(toUpperAscii(a[1]));
            ctx.out << "Labels in print queue: " << dm.LabelsInQueue() << " ("
                    << dm.LabelsInQueue() - before << " new)\n";
            return 0;
        }
        if (sub == "clear" && a.size() == 1) {
            swl.ClearSWLTable();
            ctx.out << "The SWL table is empty.\n";
            return 0;
        }
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
    ctx.err << kSwlUsage;
    return 2;
}

} // namespace qx7::cli
