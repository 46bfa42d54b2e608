// qx7cli convert: a conversion as the Tools Wizard runs it, printing its protocol.

#include "cli/Command.h"
#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConvertCommandLine.h"
#include "core/Progress.h"
#include "datamodule/TQXDM.h"

#include <ostream>

namespace qx7::cli {

int runConvert(CommandContext& ctx)
{
    const auto request = parseConvertArgs(ctx.args, ctx.err);
    if (!request)
        return 2;
    TQXDM& dm = ctx.dataModule();
    return runConvertRequest(dm.conversion(), dm, *request, ctx.out, ctx.err);
}

} // namespace qx7::cli
