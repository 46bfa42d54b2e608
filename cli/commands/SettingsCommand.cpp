// qx7cli settings: the settings as the program sees them after start-up.

#include "cli/Command.h"
#include "core/Settings.h"
#include "datamodule/TQXDM.h"

#include <ostream>

namespace qx7::cli {

int runSettings(CommandContext& ctx)
{
    if (!ctx.args.empty()) {
        ctx.err << "usage: qx7cli settings\n";
        return 2;
    }
    TQXDM& dm = ctx.dataModule();
    for (const auto& key : mainSettingKeys())
        ctx.out << key.section << '/' << key.key << '=' << settingText(dm, key) << '\n';
    ctx.out << "Convert/AdifComment=" << dm.AdifCommentTag << '\n'
            << "Convert/ImportDupes=" << (dm.ImportDupes ? 1 : 0) << '\n'
            << "LogGridOptions/DateDisplayFormat=" << dm.DateDisplayFormat << '\n';
    for (size_t i = 1; i < dm.VisibleBands.size(); ++i)
        ctx.out << "VisibleBands/" << i << '=' << dm.VisibleBands[i] << '\n';
    for (size_t i = 1; i < dm.VisibleModes.size(); ++i)
        ctx.out << "VisibleModes/" << i << '=' << dm.VisibleModes[i] << '\n';
    for (const auto& line : dm.BandFrequencyTexts)
        ctx.out << "FreqFormats/" << line << '\n';
    ctx.out << "State/ProgramFolder=" << dm.programFolder() << '\n'
            << "State/QSLSentDate=" << (dm.QSLSentDate ? toYmd(*dm.QSLSentDate) : "") << '\n'
            << "State/QSLRcvdDate=" << (dm.QSLRcvdDate ? toYmd(*dm.QSLRcvdDate) : "") << '\n'
            << "State/LogCount=" << dm.LogCount << '\n'
            << "State/PrinterAvailable=" << (dm.PrinterAvailable ? 1 : 0) << '\n'
            << "State/BDEVersion=" << dm.BDEVersion << '\n'
            << "State/BDEDefaultDriver=" << dm.BDEDefaultDriver << '\n'
            << "State/BDELangDriverDesc=" << dm.BDELangDriverDesc << '\n'
            << "State/BDECodePage=" << dm.BDECodePage << '\n';
    for (const auto& p : dm.Printers)
        ctx.out << "Printers/" << p << '\n';
    return 0;
}

} // namespace qx7::cli
