// qx7cli spec: the import specifications of text and CSV logs. "analyze" makes the
// guesses of the specification editor's "Analyze file" and can save them as a
// specification that "convert --spec NAME" then reads.

#include "cli/Command.h"
#include "convert/engine/LogTypes.h"
#include "convert/specs/ImportSpecFile.h"
#include "convert/specs/TextSpecDraft.h"
#include "datamodule/TQXDM.h"

#include <filesystem>
#include <ostream>

namespace qx7::cli {

namespace {

constexpr const char* kUsage = "usage: qx7cli spec analyze FILE [--save NAME] | spec list\n";

void printDraft(const TextSpecDraft& draft, std::ostream& out)
{
    out << "TextType=" << draft.textType << '\n'
        << "Delimiter=" << static_cast<int>(static_cast<unsigned char>(draft.delimiter)) << '\n'
        << "Qualifier=" << static_cast<int>(static_cast<unsigned char>(draft.qualifier)) << '\n'
        << "HeaderRows=" << (draft.headerRow ? 1 : 0) << '\n'
        << "DateFormat=" << draft.dateFormat << '\n';
    const std::vector<std::string> map = draft.fieldMap();
    const std::vector<std::string> names = draft.columnNames();
    const auto rows = draft.rows();
    for (size_t c = 0; c < map.size(); ++c) {
        out << "Field" << c + 1 << '=' << map[c] << '\t' << names[c];
        if (!rows.empty())
            out << '\t' << rows.front()[c];
        out << '\n';
    }
}

int analyze(TQXDM& dm, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--save")) {
        err << kUsage;
        return 2;
    }
    TextSpecDraft draft;
    if (!draft.loadSample(args[1])) {
        err << "cannot read " << args[1] << '\n';
        return 1;
    }
    draft.analyze();
    printDraft(draft, out);
    if (args.size() == 2)
        return 0;
    if (!draft.isComplete()) {
        err << "the columns found do not cover call, date, time, band or frequency and mode;"
               " nothing saved\n";
        return 1;
    }
    TQXLogSpec spec = makeLogSpec(args[1], 34);
    spec.SpecName = args[3];
    draft.applyTo(spec);
    const std::string path = importSpecPath(dm.QXUserPath, args[3], SpecKind::Text);
    if (!writeImportSpec(path, SpecKind::Text, spec)) {
        err << "cannot write " << path << '\n';
        return 1;
    }
    out << "Saved: " << path << '\n';
    return 0;
}

} // namespace

int runSpec(CommandContext& ctx)
{
    const auto& args = ctx.args;
    if (args.size() == 1 && args[0] == "list") {
        TQXDM& dm = ctx.dataModule();
        for (const std::string& name : listImportSpecs(dm.QXUserPath, SpecKind::Text))
            ctx.out << name << ".qxia\n";
        for (const std::string& name : listImportSpecs(dm.QXUserPath, SpecKind::Dbase))
            ctx.out << name << ".qxid\n";
        return 0;
    }
    if (!args.empty() && args[0] == "analyze")
        return analyze(ctx.dataModule(), args, ctx.out, ctx.err);
    ctx.err << kUsage;
    return 2;
}

} // namespace qx7::cli
