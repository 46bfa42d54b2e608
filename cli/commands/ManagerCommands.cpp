// qx7cli managers import|export|lookup|pack|empty: the QSL manager database.

#include "cli/Command.h"
#include "cli/TerminalProgress.h"
#include "datamodule/TQXDM.h"

#include <filesystem>
#include <ostream>

namespace qx7::cli {

namespace {

const char* kUsage = "usage: qx7cli managers import FILE | export FILE [--dx4win] | "
                     "lookup CALL DATE | pack | empty\n";

int importFile(CommandContext& ctx, ManagerDatabase& db, const std::string& file)
{
    TerminalProgress progress(ctx.err);
    const long before = db.ManagerCount();
    const bool isTable = std::filesystem::path(file).extension() == ".dbf";
    if (isTable) {
        if (!db.importManagerTable(file, progress)) {
            ctx.err << "qx7cli: the manager table " << file << " could not be imported"
                    << (db.failure().empty() ? "" : ": " + db.failure()) << '\n';
            return 1;
        }
    } else {
        long lines = 0;
        switch (db.importTextFile(file, progress, &lines)) {
        case ManagerDatabase::ImportResult::Unsupported:
        case ManagerDatabase::ImportResult::Damaged: // the prompter named the line
            return 1;
        case ManagerDatabase::ImportResult::Failed:
            ctx.err << "qx7cli: " << file << " could not be imported"
                    << (db.failure().empty() ? "" : ": " + db.failure()) << '\n';
            return 1;
        case ManagerDatabase::ImportResult::Ok:
            ctx.out << lines << " lines read\n";
            break;
        }
    }
    ctx.out << db.ManagerCount() << " Record(s) (" << db.ManagerCount() - before << " new)\n";
    return 0;
}

} // namespace

int runManagers(CommandContext& ctx)
{
    const auto& a = ctx.args;
    const std::string sub = a.empty() ? "" : a[0];
    TQXDM& dm = ctx.dataModule();
    if (!dm.UseManagerDB) {
        ctx.err << "qx7cli: manager look-up is switched off (UseManagerDB=0)\n";
        return 1;
    }
    ManagerDatabase& db = dm.managers();
    if (!db.isOpen() && !db.OpenManagerDB())
        return 1;
    if (sub == "import" && a.size() == 2)
        return importFile(ctx, db, a[1]);
    if (sub == "export" && (a.size() == 2 || (a.size() == 3 && a[2] == "--dx4win"))) {
        TerminalProgress progress(ctx.err);
        if (!db.exportTextFile(a[1], a.size() == 3, progress)) {
            ctx.err << "qx7cli: " << a[1] << " could not be written\n";
            return 1;
        }
        ctx.out << db.ManagerCount() << " Record(s) written to " << a[1] << '\n';
        return 0;
    }
    if (sub == "lookup" && (a.size() == 3 || a.size() == 4)) {
        const ManagerLookUp r = db.LookUpManager(a[1], a.size() == 4 ? a[3] : "", a[2]);
        ctx.out << "R=" << r.manager << "\nn=" << r.count << '\n';
        for (const auto& c : r.candidates)
            ctx.out << c << '\n';
        return 0;
    }
    if ((sub == "pack" || sub == "empty") && a.size() == 1) {
        const bool ok = sub == "pack" ? db.PackManagerDB() : db.EmptyManagerDB();
        ctx.out << db.ManagerCount() << " Record(s)\n";
        return ok ? 0 : 1;
    }
    ctx.err << kUsage;
    return 2;
}

} // namespace qx7::cli
