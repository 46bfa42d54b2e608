// qx7cli qso list|set|add|qsl|mark|unmark-all|manager|fill-managers: the QSO edits of the log
// windows, headless. QSOs are named by their record number, as "qso list" shows it.

#include "cli/Command.h"
#include "core/DateFormat.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"
#include "OpenLogNamed.h"
#include "store/QsoEdit.h"

#include <charconv>
#include <ostream>

namespace qx7::cli {

namespace {

const char* kQsoUsage =
    "usage: qx7cli qso list LOG [--marked]\n"
    "       qx7cli qso set LOG RECNO FIELD=VALUE...\n"
    "       qx7cli qso add LOG CALL=.. DATE=yyyymmdd TIME=hhmm [FIELD=VALUE...]\n"
    "       qx7cli qso qsl LOG sent|rcvd RECNO... [--date yyyymmdd | --no-date]\n"
    "       qx7cli qso mark LOG RECNO... | qso unmark-all LOG\n"
    "       qx7cli qso manager LOG MANAGER RECNO... | qso fill-managers LOG\n";

const char* const kListFields[] = {"CALL", "DATE", "TIME", "BAND", "MODE", "RSTS", "RSTR",
                                   "QSLS", "QSLR", "DATS", "DATR", "QMGR", "MARK"};

int usage(CommandContext& ctx)
{
    ctx.err << kQsoUsage;
    return 2;
}

// A QSO of the log by record number: false (after saying why) when there is none.
bool recordNumber(CommandContext& ctx, dbase::Table& log, const std::string& word,
                  dbase::Bookmark& mark)
{
    std::uint32_t n = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
    if (ec == std::errc() && end == word.data() + word.size() && n >= 1 && n <= log.recordCount() &&
        log.gotoBookmark({n}) && !log.isDeleted()) {
        mark = {n};
        return true;
    }
    ctx.err << "qx7cli: no QSO with record number " << word << '\n';
    return false;
}

bool recordNumbers(CommandContext& ctx, dbase::Table& log, size_t from,
                   std::vector<dbase::Bookmark>& marks)
{
    for (size_t i = from; i < ctx.args.size(); ++i) {
        dbase::Bookmark b;
        if (!recordNumber(ctx, log, ctx.args[i], b))
            return false;
        marks.push_back(b);
    }
    return !marks.empty();
}

// FIELD=VALUE words; false (after saying why) for a word without "=" or an unknown field.
bool fieldValues(CommandContext& ctx, dbase::Table& log, size_t from,
                 std::vector<FieldValue>& values)
{
    for (size_t i = from; i < ctx.args.size(); ++i) {
        const std::string& w = ctx.args[i];
        const auto eq = w.find('=');
        if (eq == std::string::npos || eq == 0) {
            ctx.err << "qx7cli: \"" << w << "\" is not FIELD=VALUE\n";
            return false;
        }
        const std::string field = toUpperAscii(w.substr(0, eq));
        if (!log.findField(field) || field == "DXCC" || field == "XBND") {
            ctx.err << "qx7cli: the log has no field " << field << " to edit\n";
            return false;
        }
        values.push_back({field, w.substr(eq + 1)});
    }
    return !values.empty();
}

void printQso(CommandContext& ctx, dbase::Table& log)
{
    ctx.out << log.recNo();
    for (const char* f : kListFields)
        ctx.out << '\t' << log.text(f);
    ctx.out << '\n';
}

int listQsos(CommandContext& ctx, dbase::Table& log)
{
    const auto& a = ctx.args;
    const bool marked = a.size() == 3 && a[2] == "--marked";
    if (a.size() > 3 || (a.size() == 3 && !marked))
        return usage(ctx);
    ctx.out << "RECNO";
    for (const char* f : kListFields)
        ctx.out << '\t' << f;
    ctx.out << '\n';
    int n = 0;
    for (log.first(); !log.eof(); log.next()) {
        if (marked && !log.boolean("MARK"))
            continue;
        printQso(ctx, log);
        ++n;
    }
    ctx.out << n << " QSO(s)\n";
    return 0;
}

int refused(CommandContext& ctx, const std::string& message)
{
    ctx.err << "qx7cli: " << message << '\n';
    return 1;
}

int setFields(CommandContext& ctx, dbase::Table& log)
{
    dbase::Bookmark b;
    std::vector<FieldValue> values;
    if (ctx.args.size() < 4)
        return usage(ctx);
    if (!recordNumber(ctx, log, ctx.args[2], b) || !fieldValues(ctx, log, 3, values))
        return 1;
    if (const std::string m = SetQsoFields(log, values); !m.empty())
        return refused(ctx, m);
    printQso(ctx, log);
    return 0;
}

int addQso(CommandContext& ctx, dbase::Table& log)
{
    std::vector<FieldValue> values;
    if (ctx.args.size() < 3)
        return usage(ctx);
    if (!fieldValues(ctx, log, 2, values))
        return 1;
    // A QSO entered here is unmarked, whatever was asked.
    std::erase_if(values, [](const FieldValue& v) { return v.field == "MARK"; });
    values.push_back({"MARK", "F"});
    if (const std::string m = AppendQso(log, values); !m.empty())
        return refused(ctx, m);
    printQso(ctx, log);
    return 0;
}

int cycleQsl(CommandContext& ctx, TQXDM& dm, dbase::Table& log)
{
    const auto& a = ctx.args;
    if (a.size() < 4 || (a[2] != "sent" && a[2] != "rcvd"))
        return usage(ctx);
    const bool sent = a[2] == "sent";
    const std::optional<Date>& held = sent ? dm.QSLSentDate : dm.QSLRcvdDate;
    QslDate date = held ? QslDate(toYmd(*held)) : std::nullopt;
    std::vector<std::string> numbers;
    for (size_t i = 3; i < a.size(); ++i) {
        if (a[i] == "--no-date")
            date.reset();
        else if (a[i] == "--date" && i + 1 < a.size()) {
            if (!isValidQsoDate(a[++i]))
                return refused(ctx, kNoValidDate);
            date = a[i];
        } else
            numbers.push_back(a[i]);
    }
    std::vector<dbase::Bookmark> marks;
    for (const std::string& w : numbers) {
        dbase::Bookmark b;
        if (!recordNumber(ctx, log, w, b))
            return 1;
        marks.push_back(b);
    }
    if (marks.empty())
        return usage(ctx);
    const int changed = CycleQSLFlag(log, marks, sent, date);
    for (const dbase::Bookmark& b : marks)
        if (log.gotoBookmark(b))
            printQso(ctx, log);
    ctx.out << changed << " QSO(s) changed\n";
    return changed == static_cast<int>(marks.size()) ? 0 : 1;
}

int toggleMarks(CommandContext& ctx, dbase::Table& log)
{
    std::vector<dbase::Bookmark> marks;
    if (!recordNumbers(ctx, log, 2, marks))
        return ctx.args.size() < 3 ? usage(ctx) : 1;
    for (const dbase::Bookmark& b : marks) {
        log.gotoBookmark(b);
        if (!ToggleQsoMark(log))
            return refused(ctx, "record " + std::to_string(b.recno) + " has no call to mark");
        printQso(ctx, log);
    }
    return 0;
}

int setManager(CommandContext& ctx, dbase::Table& log)
{
    std::vector<dbase::Bookmark> marks;
    if (ctx.args.size() < 4)
        return usage(ctx);
    if (!recordNumbers(ctx, log, 3, marks))
        return 1;
    const int changed = SetManagerOf(log, marks, ctx.args[2]);
    ctx.out << changed << " QSO(s) changed\n";
    return changed == static_cast<int>(marks.size()) ? 0 : 1;
}

int fillManagers(CommandContext& ctx, TQXDM& dm, dbase::Table& log)
{
    if (!dm.UseManagerDB)
        return refused(ctx, "manager look-up is switched off (UseManagerDB=0)");
    ManagerDatabase& db = dm.managers();
    if (!db.isOpen() && !db.OpenManagerDB())
        return 1;
    const auto lookUp = [&db](const std::string& call, const std::string& date) {
        return db.LookUpManager(call, "", date).manager;
    };
    const ManagerFillResult r = FillLogManagers(log, lookUp);
    ctx.out << r.changed << " QSO(s) got a manager\n";
    return 0;
}

} // namespace

int runQso(CommandContext& ctx)
{
    const auto& a = ctx.args;
    if (a.size() < 2)
        return usage(ctx);
    const std::string& sub = a[0];
    TQXDM& dm = ctx.dataModule();
    dbase::Table log;
    LogDescriptor descriptor;
    if (!openLogNamed(ctx, dm, a[1], log, descriptor))
        return 1;
    try {
        int rc = 2;
        if (sub == "list")
            rc = listQsos(ctx, log);
        else if (sub == "set")
            rc = setFields(ctx, log);
        else if (sub == "add")
            rc = addQso(ctx, log);
        else if (sub == "qsl")
            rc = cycleQsl(ctx, dm, log);
        else if (sub == "mark")
            rc = toggleMarks(ctx, log);
        else if (sub == "unmark-all" && a.size() == 2) {
            ctx.out << RemoveAllMarks(log) << " QSO mark(s) removed\n";
            rc = 0;
        } else if (sub == "manager")
            rc = setManager(ctx, log);
        else if (sub == "fill-managers" && a.size() == 2)
            rc = fillManagers(ctx, dm, log);
        else
            return usage(ctx);
        log.close(); // what was posted reaches the disk, the index with it
        return rc;
    } catch (const dbase::Error& e) {
        ctx.err << "qx7cli: " << e.what() << '\n';
        return 1;
    }
}

} // namespace qx7::cli
