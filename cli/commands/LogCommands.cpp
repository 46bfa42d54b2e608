// qx7cli log create|info|list, and callkey.

#include "cli/Command.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"

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
    for (const auto& name : listLogs(dm.QXLogPath)) {
        ctx.out << name;
        try {
            ctx.out << '\t'
                    << readLogDescriptor(logPaths(dm.QXLogPath, name).descriptor).stationCall;
            dbase::Table t;
            t.open(logPaths(dm.QXLogPath, name).table, {dbase::OpenMode::ReadOnly, {}});
            ctx.out << '\t' << t.recordCount() << " QSOs";
        } catch (const dbase::Error& e) {
            ctx.out << "\t(" << (e.kind() == dbase::Error::Kind::InUse ? "log in use" : e.cause())
                    << ')';
        }
        ctx.out << '\n';
    }
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
    ctx.err << "usage: qx7cli log create NAME --call CALL | log info NAME | log list\n";
    return 2;
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
