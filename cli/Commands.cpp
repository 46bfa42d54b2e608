#include "cli/Command.h"

namespace qx7::cli {

int runSettings(CommandContext& ctx);

const std::vector<Command>& allCommands()
{
    static const std::vector<Command> commands = {
        {"settings", "settings", "print the effective settings as section/key/value", runSettings},
    };
    return commands;
}

} // namespace qx7::cli
