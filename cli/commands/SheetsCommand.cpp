// qx7cli sheets [MAKER]: the label-sheet catalogue: the makers, or one maker's sheet
// types with their label size (millimetres), grid and paper.

#include "cli/Command.h"
#include "core/IniFile.h"
#include "labels/PaperSize.h"
#include "labels/SheetCatalogue.h"

#include <ostream>

namespace qx7::cli {

int runSheets(CommandContext& ctx)
{
    if (ctx.args.size() > 1) {
        ctx.err << "usage: qx7cli sheets [MAKER]\n";
        return 2;
    }
    const SheetCatalogue& catalogue = SheetCatalogue::builtIn();
    if (ctx.args.empty()) {
        for (const std::string& maker : catalogue.makerChoices())
            if (maker != kCustomMaker)
                ctx.out << maker << '\n';
        return 0;
    }
    // Exact spelling first, then any case, so that "avery a4/a5" works on a terminal.
    std::string maker;
    for (const std::string& m : catalogue.makers())
        if (m == ctx.args[0] || (maker.empty() && equalsIgnoreCase(m, ctx.args[0])))
            maker = m;
    if (maker.empty()) {
        ctx.err << "qx7cli: no label maker \"" << ctx.args[0] << "\" (see qx7cli sheets)\n";
        return 1;
    }
    for (const SheetType& type : catalogue.typesOf(maker)) {
        LabelFormatRec rec;
        parseLabelFormatRow(type.row, rec);
        ctx.out << type.listText << "  " << rec.Columns << " x " << rec.Rows << " on "
                << (rec.Paper == PaperSize::Default ? "printer paper" : paperSizeName(rec.Paper))
                << (rec.Landscape ? " landscape" : "") << '\n';
    }
    return 0;
}

} // namespace qx7::cli
