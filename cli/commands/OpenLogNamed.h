// Opening a log of the log folder by name for a command, with the message every command
// gives when it cannot.
#pragma once

#include "cli/Command.h"
#include "datamodule/TQXDM.h"
#include "dbase/Error.h"
#include "dbase/Table.h"
#include "store/LogTable.h"

#include <ostream>
#include <string>

namespace qx7::cli {

// Opens a log of the log folder in call order with its descriptor; false after saying why.
inline bool openLogNamed(CommandContext& ctx, TQXDM& dm, const std::string& name, dbase::Table& log,
                         LogDescriptor& descriptor)
{
    const LogPaths p = logPaths(dm.QXLogPath, name);
    try {
        openLog(log, p.table, 0);
        descriptor = readLogDescriptor(p.descriptor);
        return true;
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: log \"" << logBaseName(name)
                << "\": " << (e.kind() == dbase::Error::Kind::InUse ? "log in use" : e.what())
                << '\n';
        return false;
    }
}

} // namespace qx7::cli
