// qx7cli dbf: looks into dBase tables without the program around them.
//   dbf info FILE                                   header, fields and index tags
//   dbf dump FILE [--index TAG] [--range FROM TO]   one record per line
// Dump lines start with the deletion mark ('*' deleted, ' ' live), then the fields,
// all separated by '|' and trimmed right, in tag order when --index is given; line
// breaks inside memo text are shown as \n.

#include "cli/Command.h"
#include "dbase/Table.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace qx7::cli {

namespace {

using dbase::Table;

const char* kUsage = "usage: qx7cli dbf info FILE\n"
                     "       qx7cli dbf dump FILE [--index TAG] [--range FROM TO]\n";

// Memo text may hold line breaks; a dump keeps one record per line.
std::string oneLine(const std::string& value)
{
    std::string out;
    for (char c : value) {
        if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out.push_back(c);
        }
    }
    return out;
}

int usageError(CommandContext& ctx, const std::string& problem)
{
    ctx.err << "dbf: " << problem << "\n" << kUsage;
    return 2;
}

std::string formatName(const Table& t)
{
    switch (t.format()) {
    case dbase::Format::FoxBase:
        return "FoxBase";
    case dbase::Format::DBase3:
        return t.level() == 3 ? "dBase III" : "dBase IV/5";
    case dbase::Format::DBase4:
        return "dBase IV/5";
    case dbase::Format::DBase7:
        return "dBase 7";
    case dbase::Format::FoxPro2:
        return "FoxPro 2";
    case dbase::Format::VisualFoxPro:
        return "Visual FoxPro";
    }
    return "dBase";
}

int info(CommandContext& ctx, const std::string& file)
{
    Table t;
    t.open(file, {dbase::OpenMode::ReadOnly});
    char line[160];
    std::snprintf(line, sizeof line, "0x%02X", t.versionByte());
    ctx.out << "file:            " << file << "\n";
    ctx.out << "format:          " << formatName(t) << " (version byte " << line << ")";
    if (t.level() != 0) {
        ctx.out << ", level " << t.level();
    }
    ctx.out << "\n";
    const dbase::Date d = t.lastUpdate();
    std::snprintf(line, sizeof line, "%04d-%02d-%02d", d.year, d.month, d.day);
    ctx.out << "last update:     " << line << "\n";
    ctx.out << "records:         " << t.recordCount() << "\n";
    ctx.out << "header length:   " << t.headerLength() << "\n";
    ctx.out << "record length:   " << t.recordLength() << "\n";
    std::snprintf(line, sizeof line, "0x%02X", t.languageDriverId());
    ctx.out << "language driver: " << line << " " << t.languageDriverName() << "\n";
    if (t.codePageKnown()) {
        ctx.out << "code page:       " << t.codePage() << " (" << t.codePageOrigin() << ")\n";
    } else {
        ctx.out << "code page:       unknown (" << t.codePageOrigin()
                << "), text read as WINDOWS-1252\n";
    }
    ctx.out << "fields:          " << t.fieldCount() << "\n";
    for (const dbase::FieldInfo& f : t.fields()) {
        std::snprintf(line, sizeof line, "  %-11s %c %5d %3d%s%s", f.name.c_str(), f.type, f.width,
                      f.decimals, f.hasOwnTag ? "  tag" : "", f.required ? "  required" : "");
        ctx.out << line << "\n";
    }
    const auto tags = t.indexes();
    ctx.out << "index tags:      " << tags.size() << "\n";
    for (const dbase::IndexInfo& ix : tags) {
        std::snprintf(line, sizeof line, "  %-11s %-40s key %3d%s", ix.name.c_str(),
                      ix.expression.c_str(), ix.keyLength, ix.supported ? "" : "  (not supported)");
        ctx.out << line << "\n";
    }
    return 0;
}

int dump(CommandContext& ctx, const std::string& file, const std::string& tag, bool ranged,
         const std::string& from, const std::string& to)
{
    Table t;
    t.open(file, {dbase::OpenMode::ReadOnly});
    t.setShowDeleted(true);
    if (!tag.empty()) {
        t.setIndex(tag);
    }
    if (ranged) {
        t.setRange(from, to);
    }
    for (t.first(); !t.eof(); t.next()) {
        ctx.out << (t.isDeleted() ? '*' : ' ');
        for (int i = 0; i < t.fieldCount(); ++i) {
            ctx.out << '|' << oneLine(t.text(i));
        }
        ctx.out << '\n';
    }
    return 0;
}

} // namespace

int runDbf(CommandContext& ctx)
{
    const auto& args = ctx.args;
    if (args.empty()) {
        return usageError(ctx, "a subcommand is needed");
    }
    const std::string& sub = args[0];
    if (sub != "info" && sub != "dump") {
        return usageError(ctx, "unknown subcommand \"" + sub + "\"");
    }
    if (args.size() < 2) {
        return usageError(ctx, "a FILE is needed");
    }
    std::string tag;
    std::string from;
    std::string to;
    bool ranged = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (sub == "dump" && args[i] == "--index" && i + 1 < args.size()) {
            tag = args[++i];
        } else if (sub == "dump" && args[i] == "--range" && i + 2 < args.size()) {
            from = args[++i];
            to = args[++i];
            ranged = true;
        } else {
            return usageError(ctx, "unexpected argument \"" + args[i] + "\"");
        }
    }
    if (ranged && tag.empty()) {
        return usageError(ctx, "--range needs --index");
    }
    try {
        return sub == "info" ? info(ctx, args[1]) : dump(ctx, args[1], tag, ranged, from, to);
    } catch (const dbase::Error& e) {
        ctx.err << "dbf: " << e.what() << "\n";
        return 1;
    }
}

} // namespace qx7::cli
