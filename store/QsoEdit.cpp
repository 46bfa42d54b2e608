#include "store/QsoEdit.h"

#include "core/BandModeTables.h"

#include <algorithm>
#include <cctype>

namespace qx7 {

namespace {

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view s)
{
    int n = 0;
    for (char c : s)
        n = n * 10 + (c - '0');
    return n;
}

std::string upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

std::string lower(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// The band as the band table spells it ("20M" is 20m); "" when it is none.
std::string tableBand(std::string_view band)
{
    if (bandIndex(band) != 0)
        return std::string(band);
    for (const std::string& spelt : {lower(band), upper(band)})
        if (const int i = bandIndex(spelt); i != 0)
            return std::string(bandName(i));
    return "";
}

// Leaves the table in Browse state whatever happened to the pending change.
void dropPending(dbase::Table& table)
{
    if (table.state() != dbase::Table::State::Browse)
        table.cancel();
}

} // namespace

bool isValidQsoDate(std::string_view text)
{
    if (text.size() != 8 || !allDigits(text))
        return false;
    const int y = number(text.substr(0, 4));
    const int m = number(text.substr(4, 2));
    const int d = number(text.substr(6, 2));
    if (y < 1 || m < 1 || m > 12 || d < 1)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

bool isValidQsoTime(std::string_view text)
{
    // Only digits can be typed; a shorter text is an unfinished time.
    return text.size() == 4 && allDigits(text) && text.substr(0, 2) <= "23" &&
           text.substr(2, 2) <= "59";
}

bool isValidQsoCall(std::string_view call)
{
    return call.size() >= 3;
}

std::string checkQsoField(std::string_view field, std::string_view value)
{
    const std::string f = upper(field);
    if (f == "DATE" || ((f == "DATS" || f == "DATR") && !value.empty()))
        return isValidQsoDate(value) ? "" : kNoValidDate;
    if (f == "TIME")
        return isValidQsoTime(value) ? "" : kNoValidTime;
    if (f == "CALL")
        return isValidQsoCall(value) ? "" : kNoValidCall;
    if (f == "BAND" && !value.empty())
        return !tableBand(value).empty() ? "" : kNoValidBand;
    if (f == "MODE" && !value.empty())
        return storedModeIndex(upper(value)) != 0 ? "" : kNoValidMode;
    return "";
}

std::string checkQsoInput(const std::vector<FieldValue>& values)
{
    for (const FieldValue& v : values) {
        if (std::string m = checkQsoField(v.field, v.value); !m.empty())
            return m;
    }
    return "";
}

std::string nextQslFlag(std::string_view flag)
{
    static constexpr std::string_view cycle = "NYBDI!";
    if (flag.empty())
        flag = "!";
    if (flag.size() != 1)
        return std::string(flag);
    const auto at = cycle.find(flag[0]);
    if (at == std::string_view::npos)
        return std::string(flag);
    return std::string(1, cycle[(at + 1) % cycle.size()]);
}

void StampQSLDate(dbase::Table& table, bool sent, const QslDate& date)
{
    if (table.state() == dbase::Table::State::Browse)
        table.edit();
    const std::string flag = table.text(sent ? "QSLS" : "QSLR");
    const bool went = flag == "Y" || flag == "B" || flag == "D" || flag == "I";
    table.setText(sent ? "DATS" : "DATR", went && date ? *date : std::string());
}

int CycleQSLFlag(dbase::Table& table, const std::vector<dbase::Bookmark>& marks, bool sent,
                 const QslDate& date)
{
    std::vector<dbase::Bookmark> rows = marks;
    if (rows.empty()) {
        if (table.recNo() == 0)
            return 0;
        rows.push_back(table.bookmark());
    }
    const char* field = sent ? "QSLS" : "QSLR";
    std::string value;
    int changed = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        try {
            if (!table.gotoBookmark(rows[i]))
                continue;
            if (i == 0)
                value = nextQslFlag(table.text(field));
            table.edit();
            table.setText(field, value);
            StampQSLDate(table, sent, date);
            table.post();
            ++changed;
        } catch (const dbase::Error&) {
            dropPending(table); // this row stays as it was; the others still get the flag
        }
    }
    return changed;
}

bool ToggleQsoMark(dbase::Table& table)
{
    if (table.recNo() == 0 || table.text("CALL").empty())
        return false;
    try {
        table.edit();
        table.setBoolean("MARK", !table.boolean("MARK"));
        table.post();
        return true;
    } catch (const dbase::Error&) {
        dropPending(table);
        throw;
    }
}

int RemoveAllMarks(dbase::Table& table)
{
    // Collected first: posting a record may move it in the current index.
    std::vector<dbase::Bookmark> marked;
    for (table.first(); !table.eof(); table.next()) {
        if (table.boolean("MARK"))
            marked.push_back(table.bookmark());
    }
    int changed = 0;
    for (const dbase::Bookmark& b : marked) {
        if (!table.gotoBookmark(b))
            continue;
        try {
            table.edit();
            table.setBoolean("MARK", false);
            table.post();
            ++changed;
        } catch (const dbase::Error&) {
            dropPending(table);
        }
    }
    table.first();
    return changed;
}

int SetManagerOf(dbase::Table& table, const std::vector<dbase::Bookmark>& marks,
                 std::string_view manager)
{
    std::vector<dbase::Bookmark> rows = marks;
    if (rows.empty() && table.recNo() != 0)
        rows.push_back(table.bookmark());
    int changed = 0;
    for (const dbase::Bookmark& b : rows) {
        try {
            if (!table.gotoBookmark(b))
                continue;
            table.edit();
            table.setText("QMGR", upper(manager));
            table.post();
            ++changed;
        } catch (const dbase::Error&) {
            dropPending(table);
        }
    }
    return changed;
}

ManagerFillResult FillLogManagers(
    dbase::Table& table,
    const std::function<std::string(const std::string& call, const std::string& date)>& lookUp,
    const std::function<bool()>& keepGoing)
{
    ManagerFillResult result;
    // The QMGR tag, when current, would move a filled record away from the walk.
    std::vector<dbase::Bookmark> empty;
    for (table.first(); !table.eof(); table.next()) {
        if (table.text("QMGR").empty())
            empty.push_back(table.bookmark());
    }
    for (const dbase::Bookmark& b : empty) {
        if (keepGoing && !keepGoing()) {
            result.aborted = true;
            break;
        }
        if (!table.gotoBookmark(b))
            continue;
        const std::string mgr = lookUp(table.text("CALL"), table.text("DATE"));
        if (mgr.empty())
            continue;
        try {
            table.edit();
            table.setText("QMGR", mgr);
            table.post();
            ++result.changed;
        } catch (const dbase::Error&) {
            dropPending(table);
        }
    }
    return result;
}

namespace {

std::string writeAll(dbase::Table& table, const std::vector<FieldValue>& values)
{
    try {
        for (const FieldValue& v : values) {
            const std::string f = upper(v.field);
            if (f == "MARK")
                table.setBoolean(f, v.value == "T" || v.value == "1" || v.value == "Y");
            else if (f == "BAND")
                table.setText(f, v.value.empty() ? std::string() : tableBand(v.value));
            else if (f == "CALL" || f == "QMGR" || f == "QSLS" || f == "QSLR" || f == "MODE")
                table.setText(f, upper(v.value));
            else
                table.setText(f, v.value);
        }
        table.post();
    } catch (const dbase::Error& e) {
        dropPending(table);
        return e.what();
    }
    return "";
}

} // namespace

std::string SetQsoFields(dbase::Table& table, const std::vector<FieldValue>& values)
{
    if (std::string m = checkQsoInput(values); !m.empty())
        return m;
    if (table.recNo() == 0)
        return "No QSO";
    try {
        table.edit();
    } catch (const dbase::Error& e) {
        return e.what();
    }
    return writeAll(table, values);
}

std::string AppendQso(dbase::Table& table, const std::vector<FieldValue>& values)
{
    for (const char* need : {"CALL", "DATE", "TIME"}) {
        const bool given = std::any_of(values.begin(), values.end(),
                                       [&](const FieldValue& v) { return upper(v.field) == need; });
        if (!given)
            return checkQsoField(need, "");
    }
    if (std::string m = checkQsoInput(values); !m.empty())
        return m;
    try {
        table.append();
    } catch (const dbase::Error& e) {
        return e.what();
    }
    return writeAll(table, values);
}

} // namespace qx7
