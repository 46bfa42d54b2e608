#include "cli/Command.h"

namespace qx7::cli {

int runSettings(CommandContext& ctx);
int runLog(CommandContext& ctx);
int runCallKey(CommandContext& ctx);
int runManagers(CommandContext& ctx);

const std::vector<Command>& allCommands()
{
    static const std::vector<Command> commands = {
        {"settings", "settings", "print the effective settings as section/key/value", runSettings},
    };
    return commands;
}

} // namespace qx7::cli
