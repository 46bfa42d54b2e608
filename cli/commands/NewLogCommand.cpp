// qx7cli newlog: a new QX7 log from an ADIF file, as the new-log dialog makes it.

#include "cli/Command.h"
#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConvertCommandLine.h"
#include "core/Progress.h"
#include "datamodule/TQXDM.h"

namespace qx7::cli {

int runNewLog(CommandContext& ctx)
{
    TQXDM& dm = ctx.dataModule();
    const int code = runNewLogArgs(dm.conversion(), dm, dm.prompter(), ctx.args, ctx.out, ctx.err);
    if (code == 0)
        dm.LogCount = 1;
    return code;
}

} // namespace qx7::cli
