// qx7cli formats: the table of log types with what each can do.

#include "cli/Command.h"
#include "convert/engine/LogFormat.h"
#include "convert/engine/LogTypes.h"

#include <iomanip>
#include <ostream>

namespace qx7::cli {

int runFormats(CommandContext& ctx)
{
    if (!ctx.args.empty()) {
        ctx.err << "usage: qx7cli formats\n";
        return 2;
    }
    // Import and export say what the conversion can do with the type; the lists of the
    // Tools Wizard offer those rows of the table that are marked for them.
    ctx.out << std::left << std::setw(5) << "Code" << std::setw(41) << "Description" << std::setw(5)
            << "Ext" << std::setw(7) << "Import"
            << "Export\n";
    for (const TQXLogDescType& row : logTypeTable()) {
        const bool reads = row.import && findReader(row.code) != nullptr;
        const bool writes = row.exportable && findWriter(row.code) != nullptr;
        ctx.out << std::right << std::setw(4) << row.code << ' ' << std::left << std::setw(41)
                << row.description << std::setw(5) << row.extension << std::setw(7)
                << (reads ? "yes" : "no") << (writes ? "yes" : "no") << '\n';
    }
    return 0;
}

} // namespace qx7::cli
