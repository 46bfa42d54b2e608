// qx7cli log create|info|list, and callkey.

#include "cli/Command.h"
#include "datamodule/TQXDM.h"
#include "store/LogFiles.h"
#include "store/LogTable.h"

#include <algorithm>
#include <filesystem>

#include <ostream>

namespace qx7::cli {

namespace {

int createLog(CommandContext& ctx, TQXDM& dm)
{
    std::string name, call;
    for (size_t i = 1; i < ctx.args.size(); ++i) {
        if (ctx.args[i] == "--call" && i + 1 < ctx.args.size())
            call = ctx.args[++i];
        else if (name.empty())
            name = ctx.args[i];
        else
            name.clear(), i = ctx.args.size();
    }
    if (name.empty() || logBaseName(name).empty()) {
        ctx.err << "usage: qx7cli log create NAME --call CALL\n";
        return 2;
    }
    const std::string table = dm.logTablePath(name);
    if (!dm.CreateLogTable(name) || !dm.CreateLogDescriptor(table)) {
        ctx.err << "qx7cli: the log \"" << logBaseName(name) << "\" could not be created in "
                << dm.QXLogPath << '\n';
        return 1;
    }
    try {
        writeLogDescriptor(logPaths(dm.QXLogPath, name).descriptor, {call, {}});
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
    ctx.out << "Created log " << logBaseName(name) << " (" << table << ")\n";
    return 0;
}

int logInfo(CommandContext& ctx, TQXDM& dm)
{
    if (ctx.args.size() != 2) {
        ctx.err << "usage: qx7cli log info NAME\n";
        return 2;
    }
    const LogPaths p = logPaths(dm.QXLogPath, ctx.args[1]);
    try {
        const LogDescriptor d = readLogDescriptor(p.descriptor);
        dbase::Table t;
        t.open(p.table, {dbase::OpenMode::ReadOnly, {}});
        ctx.out << "Log: " << logBaseName(ctx.args[1]) << '\n'
                << "Table: " << p.table << '\n'
                << "Station call: " << d.stationCall << '\n'
                << "QSOs: " << t.recordCount() << '\n';
        for (const auto& tag : t.indexes())
            ctx.out << "Tag: " << tag.name << " (" << tag.expression << ")\n";
        for (size_t i = 0; i < d.footerLines.size(); ++i)
            ctx.out << "Footer " << i + 1 << ": " << d.footerLines[i] << '\n';
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

int logList(CommandContext& ctx, TQXDM& dm)
{
    // The rows of the open-log dialog, sorted by name; a log another program writes or
    // a damaged one says so instead of failing the listing.
    std::vector<LogFileRow> rows = readLogFolder(dm.QXLogPath);
    std::sort(rows.begin(), rows.end(),
              [](const LogFileRow& a, const LogFileRow& b) { return a.name < b.name; });
    for (const LogFileRow& r : rows) {
        ctx.out << r.name << '\t' << r.call;
        if (!r.qsos.empty())
            ctx.out << '\t' << r.qsos << " QSOs";
        if (r.inUse || r.count < 0)
            ctx.out << "\t(" << (r.lastChanged.empty() ? kTableDamaged : r.lastChanged) << ')';
        ctx.out << '\n';
    }
    return 0;
}

int logDelete(CommandContext& ctx, TQXDM& dm)
{
    if (ctx.args.size() != 2) {
        ctx.err << "usage: qx7cli log delete NAME\n";
        return 2;
    }
    const std::string name = logBaseName(ctx.args[1]);
    if (!std::filesystem::exists(logPaths(dm.QXLogPath, name).descriptor)) {
        ctx.err << "qx7cli: there is no log \"" << name << "\" in " << dm.QXLogPath << '\n';
        return 1;
    }
    if (!ctx.yesGiven) {
        ctx.err << "qx7cli: the log \"" << name << "\" was kept (--yes deletes it)\n";
        return 1;
    }
    std::string why;
    if (!deleteLogFiles(dm.QXLogPath, name, &why)) {
        ctx.err << "qx7cli: the log \"" << name << "\" was not deleted: " << why << '\n';
        return 1;
    }
    ctx.out << "Log deleted: " << name << '\n';
    return 0;
}

int showFooter(CommandContext& ctx, const LogDescriptor& d)
{
    for (const std::string& line : d.footerLines)
        ctx.out << line << '\n';
    return 0;
}

} // namespace

int runLog(CommandContext& ctx)
{
    const std::string sub = ctx.args.empty() ? "" : ctx.args[0];
    if (sub == "create")
        return createLog(ctx, ctx.dataModule());
    if (sub == "info")
        return logInfo(ctx, ctx.dataModule());
    if (sub == "list" && ctx.args.size() == 1)
        return logList(ctx, ctx.dataModule());
    if (sub == "delete")
        return logDelete(ctx, ctx.dataModule());
    ctx.err << "usage: qx7cli log create NAME --call CALL | log info NAME | log list | "
               "log delete NAME\n";
    return 2;
}

int runFooter(CommandContext& ctx)
{
    const auto& a = ctx.args;
    const bool set = a.size() >= 2 && a[1] == "--set";
    const bool clear = a.size() == 2 && a[1] == "--clear";
    if (a.empty() || (a.size() > 1 && !set && !clear)) {
        ctx.err << "usage: qx7cli footer LOG | footer LOG --set LINE... | footer LOG --clear\n";
        return 2;
    }
    if (set && a.size() - 2 > kMaxFooterLines) {
        ctx.err << "qx7cli: Not more than 9 footer lines! Nothing was changed.\n";
        return 1;
    }
    TQXDM& dm = ctx.dataModule();
    const std::string path = logPaths(dm.QXLogPath, a[0]).descriptor;
    try {
        LogDescriptor d = readLogDescriptor(path);
        if (!set && !clear)
            return showFooter(ctx, d);
        d.footerLines.assign(a.begin() + 2, a.end());
        writeLogDescriptor(path, d);
        ctx.out << "Footer lines of " << logBaseName(a[0]) << ": " << d.footerLines.size() << '\n';
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: log \"" << logBaseName(a[0])
                << "\": " << (e.kind() == dbase::Error::Kind::InUse ? "log in use" : e.what())
                << '\n';
        return 1;
    }
    return 0;
}

int runCallKey(CommandContext& ctx)
{
    if (ctx.args.empty()) {
        ctx.err << "usage: qx7cli callkey CALL...\n";
        return 2;
    }
    for (const auto& call : ctx.args)
        ctx.out << call << '\t' << qx7::CallSortKey(call) << '\n';
    return 0;
}

} // namespace qx7::cli
