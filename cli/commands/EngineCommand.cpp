// qx7cli engine: the table engine's facts for this session, as the configuration
// dialog's "BDE" page shows them.

#include "cli/Command.h"
#include "datamodule/EngineFacts.h"
#include "datamodule/TQXDM.h"

#include <ostream>

namespace qx7::cli {

int runEngine(CommandContext& ctx)
{
    if (!ctx.args.empty()) {
        ctx.err << "usage: qx7cli engine\n";
        return 2;
    }
    TQXDM& dm = ctx.dataModule();
    ctx.out << "BDE settings (valid only for this QX session)\n";
    for (const EngineFact& fact : engineFacts(dm))
        ctx.out << fact.caption << ' ' << fact.value << '\n';
    return 0;
}

} // namespace qx7::cli
