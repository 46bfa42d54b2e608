#include "cli/Cli.h"

#include "cli/Command.h"
#include "cli/TerminalPrompter.h"
#include "core/QxHome.h"
#include "datamodule/TQXDM.h"
#include "labels/render/SystemPrinters.h"

#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace qx7::cli {

namespace {

void printHelp(std::ostream& out)
{
    out << "Usage: qx7cli [--home DIR] [--yes|--no] COMMAND [ARGS...]\n\n"
           "QX7 - QSL Labels, headless. Every command works on the QX home: --home DIR,\n"
           "else $QX7_HOME, else ~/.local/share/qx7.\n\n"
           "Options:\n"
           "  --home DIR   the program folder holding qx7.ini and the data folders\n"
           "  --yes, --no  answer prompts with Yes (default) or No without asking\n"
           "  --help       this text\n"
           "  --version    the program's version\n\n"
           "Commands:\n";
    for (const auto& c : allCommands())
        out << "  " << c.usage << "\n      " << c.summary << '\n';
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& executableFolder)
{
    std::optional<std::string> home;
    PromptButton defaultAnswer = PromptButton::Yes;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printHelp(out);
            return 0;
        }
        if (a == "--version") {
            out << "qx7cli " << QX7_VERSION_TEXT << '\n';
            return 0;
        }
        if (a == "--home" && i + 1 < args.size())
            home = args[++i];
        else if (a.rfind("--home=", 0) == 0)
            home = a.substr(7);
        else if (a == "--yes")
            defaultAnswer = PromptButton::Yes;
        else if (a == "--no")
            defaultAnswer = PromptButton::No;
        else if (!a.empty() && a[0] == '-') {
            err << "qx7cli: unknown option " << a << " (see qx7cli --help)\n";
            return 2;
        } else
            break;
    }
    if (i == args.size()) {
        printHelp(err);
        return 2;
    }
    const Command* command = nullptr;
    for (const auto& c : allCommands())
        if (args[i] == c.name)
            command = &c;
    if (!command) {
        err << "qx7cli: unknown command \"" << args[i] << "\" (see qx7cli --help)\n";
        return 2;
    }

    TerminalPrompter prompter(err, false);
    prompter.setDefaultAnswer(defaultAnswer);
    std::unique_ptr<TQXDM> dm;
    std::string homeFolder;
    CommandContext ctx{{args.begin() + static_cast<long>(i) + 1, args.end()}, out, err, {}, {}};
    ctx.dataModule = [&]() -> TQXDM& {
        if (!dm) {
            DataModuleEnvironment env;
            env.programFolder = resolveQxHome(home, executableFolder);
            env.prompter = &prompter;
            env.systemPrinters = systemPrinterNames;
            dm = std::make_unique<TQXDM>(std::move(env));
        }
        return *dm;
    };
    if (home)
        ctx.home = *home;
    return command->run(ctx);
}

} // namespace qx7::cli
