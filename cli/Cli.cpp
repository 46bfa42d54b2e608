#include "cli/Cli.h"

#include "cli/Command.h"
#include "cli/TerminalPrompter.h"
#include "core/QxHome.h"
#include "datamodule/TQXDM.h"
#include "labels/render/SystemPrinters.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace qx7::cli {

namespace {

void printHelp(std::ostream& out)
{
    out << "Usage: qx7cli [--home DIR] [--yes|--no] [--verbose] COMMAND [ARGS...]\n\n"
           "QX7 - QSL Labels, headless. Every command works on the QX home: --home DIR,\n"
           "else $QX7_HOME, else ~/.local/share/qx7.\n\n"
           "Options:\n"
           "  --home DIR   the program folder holding qx7.ini and the data folders\n"
           "  --yes, --no  answer questions with Yes (default) or No without asking; an\n"
           "               existing log is replaced only with --yes\n"
           "  --verbose    print the questions answered by --yes or --no\n"
           "               (these options may also follow the command)\n"
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
    bool answerGiven = false;
    bool verbose = false;
    // The global options may stand anywhere ("queue fill LOG --yes"); the first other word
    // is the command, the rest its arguments. After "--" every word goes to the command.
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            words.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if ((a == "--help" || a == "-h") && words.empty()) {
            printHelp(out);
            return 0;
        } else if (a == "--version" && words.empty()) {
            out << "qx7cli " << QX7_VERSION_TEXT << '\n';
            return 0;
        } else if (a == "--home") {
            if (i + 1 == args.size()) {
                err << "qx7cli: --home needs a folder (see qx7cli --help)\n";
                return 2;
            }
            home = args[++i];
        } else if (a.rfind("--home=", 0) == 0) {
            home = a.substr(7);
        } else if (a == "--yes" || a == "--no") {
            const PromptButton answer = a == "--yes" ? PromptButton::Yes : PromptButton::No;
            if (answerGiven && answer != defaultAnswer) {
                err << "qx7cli: --yes and --no contradict each other\n";
                return 2;
            }
            defaultAnswer = answer;
            answerGiven = true;
        } else if (a == "--verbose") {
            verbose = true;
        } else if (words.empty() && !a.empty() && a[0] == '-') {
            err << "qx7cli: unknown option " << a << " (see qx7cli --help)\n";
            return 2;
        } else {
            words.push_back(a);
        }
    }
    if (words.empty()) {
        printHelp(err);
        return 2;
    }
    const Command* command = nullptr;
    for (const auto& c : allCommands())
        if (words[0] == c.name)
            command = &c;
    if (!command) {
        err << "qx7cli: unknown command \"" << words[0] << "\" (see qx7cli --help)\n";
        return 2;
    }

    // A home that is not a folder would make every table fail one by one.
    const char* envHome = std::getenv("QX7_HOME");
    const std::string chosenHome = home ? *home : envHome ? envHome : "";
    std::error_code ec;
    if (!chosenHome.empty() && std::filesystem::exists(chosenHome, ec) &&
        !std::filesystem::is_directory(chosenHome, ec)) {
        err << "qx7cli: the QX home " << chosenHome << " is a file, not a folder\n";
        return 1;
    }

    TerminalPrompter prompter(err, false);
    prompter.setDefaultAnswer(defaultAnswer);
    prompter.setAnswerGivenOnCommandLine(answerGiven);
    prompter.setVerbose(verbose);
    std::unique_ptr<TQXDM> dm;
    std::string homeFolder;
    CommandContext ctx{{words.begin() + 1, words.end()}, out, err, {}, {}, false};
    ctx.yesGiven = answerGiven && defaultAnswer == PromptButton::Yes;
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
    int code = command->run(ctx);
    // An error the user was shown is a failure, whatever the command made of it.
    if (code == 0 && prompter.errorsShown() > 0)
        code = 1;
    if (const std::string summary = prompter.summary(); !summary.empty())
        err << summary << '\n';
    return code;
}

} // namespace qx7::cli
