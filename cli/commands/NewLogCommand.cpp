// qx7cli newlog: a new QX7 log from an ADIF file, as the new-log dialog makes it.

#include "cli/Command.h"
#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConvertCommandLine.h"
#include "core/Progress.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"

#include <filesystem>
#include <ostream>

namespace qx7::cli {

namespace {

// The log NAME of "newlog FILE NAME --call C", when the words have that shape.
std::string newLogName(const std::vector<std::string>& args)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--call")
            ++i;
        else
            words.push_back(args[i]);
    }
    return words.size() == 2 ? words[1] : std::string{};
}

} // namespace

int runNewLog(CommandContext& ctx)
{
    TQXDM& dm = ctx.dataModule();
    // Without a typed --yes nobody agreed to lose the log that is there; the question
    // alone would take the script's default answer.
    const std::string name = newLogName(ctx.args);
    std::error_code ec;
    if (!ctx.yesGiven && !logBaseName(name).empty() &&
        std::filesystem::exists(logPaths(dm.QXLogPath, name).descriptor, ec)) {
        ctx.err << "qx7cli: the log \"" << logBaseName(name)
                << "\" exists and was kept (--yes replaces it)\n";
        return 1;
    }
    const int code = runNewLogArgs(dm.conversion(), dm, dm.prompter(), ctx.args, ctx.out, ctx.err);
    if (code == 0)
        dm.LogCount = 1;
    return code;
}

} // namespace qx7::cli
