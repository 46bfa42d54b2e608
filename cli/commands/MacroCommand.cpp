// qx7cli macro: list the conversion macros of the user folder, or run one.

#include "cli/Command.h"
#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConvertCommandLine.h"
#include "core/Progress.h"
#include "datamodule/TQXDM.h"

namespace qx7::cli {

int runMacro(CommandContext& ctx)
{
    TQXDM& dm = ctx.dataModule();
    NullProgress progress;
    ConversionEngine engine(dm, progress, dm.prompter());
    return runMacroArgs(engine, dm, ctx.args, ctx.out, ctx.err);
}

} // namespace qx7::cli
