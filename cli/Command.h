#pragma once
// One qx7cli subcommand: a name, a usage line, and a function that runs it.
// Commands print results on `out`, problems on `err`, and return the exit code.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace qx7 {
class TQXDM;
}

namespace qx7::cli {

struct CommandContext
{
    std::vector<std::string> args; // the words after the command name
    std::ostream& out;
    std::ostream& err;
    std::string home; // the QX home chosen by --home / $QX7_HOME / defaults
    // Creates the data module on first use (start-up order of the desktop program).
    std::function<TQXDM&()> dataModule;
    // True only when the user typed --yes: what replaces data needs that consent.
    bool yesGiven = false;
};

struct Command
{
    const char* name;
    const char* usage;   // e.g. "dbf info FILE"
    const char* summary; // one line for --help
    int (*run)(CommandContext&);
};

// Every command, in the order --help lists them.
const std::vector<Command>& allCommands();

} // namespace qx7::cli
