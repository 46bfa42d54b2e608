#pragma once
// Changing QSO records: the field checks, the QSO mark, the QSL sent and received flags
// with their dates, and the QSL manager. Every change is posted at once, so the record is
// on disk when the call returns.

#include "dbase/Table.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kNoValidDate = "No valid date!";
inline constexpr const char* kNoValidTime = "No valid time!";
inline constexpr const char* kNoValidCall = "No valid callsign!";
inline constexpr const char* kNoValidBand = "No valid band!";
inline constexpr const char* kNoValidMode = "No valid mode!";
inline constexpr const char* kManagerUpdateAborted = "QSL Manager Update aborted";

// "yyyymmdd" naming a real calendar day.
bool isValidQsoDate(std::string_view text);
// "hhmm" with hh at most 23 and mm at most 59.
bool isValidQsoTime(std::string_view text);
bool isValidQsoCall(std::string_view call); // at least 3 characters

// The message a value of a QSO field gets, or "" when it may be stored. DATE and TIME are
// always checked; DATS and DATR only when not empty; CALL by the save rule; BAND and MODE,
// when not empty, must name an entry of the band and mode tables.
std::string checkQsoField(std::string_view field, std::string_view value);

struct FieldValue
{
    std::string field;
    std::string value;
};
// The first message checkQsoField gives for the values, or "" when all may be stored.
std::string checkQsoInput(const std::vector<FieldValue>& values);

// The next QSL flag: N, Y, B, D, I, ! and round again; an empty value counts as "!";
// any other value stays.
std::string nextQslFlag(std::string_view flag);

// A day as "yyyymmdd", or nothing.
using QslDate = std::optional<std::string>;

// On the current record, already in editing: the date field beside the flag gets `date`
// when the flag says the card went (Y, B, D, I), else it is emptied.
void StampQSLDate(dbase::Table& table, bool sent, const QslDate& date);

// Cycles QSLS (sent) or QSLR on the given records, the current one when `marks` is empty:
// the new value comes from the first record's value; each record gets it with its date
// stamped and is posted. A record that fails is left as it was. Returns the records changed.
int CycleQSLFlag(dbase::Table& table, const std::vector<dbase::Bookmark>& marks, bool sent,
                 const QslDate& date);

// Flips MARK of the current record and posts it. False when there is no QSO or no call.
bool ToggleQsoMark(dbase::Table& table);
// MARK false on every marked record; returns how many were changed.
int RemoveAllMarks(dbase::Table& table);

// Writes QMGR of the given records (the current one when `marks` is empty).
int SetManagerOf(dbase::Table& table, const std::vector<dbase::Bookmark>& marks,
                 std::string_view manager);

// Every record with an empty QMGR gets the manager `lookUp(call, date)` returns when that
// is not empty. `keepGoing` is asked after each record; false stops the run, and the
// result's `aborted` says so.
struct ManagerFillResult
{
    int changed = 0;
    bool aborted = false;
};
ManagerFillResult FillLogManagers(
    dbase::Table& table,
    const std::function<std::string(const std::string& call, const std::string& date)>& lookUp,
    const std::function<bool()>& keepGoing = {});

// Sets fields of the current record after checking each; on the first bad value nothing
// is written and the message is returned. "" when the record was posted.
std::string SetQsoFields(dbase::Table& table, const std::vector<FieldValue>& values);
// Adds a QSO with the given fields; the call, date and time are required. "" on success.
std::string AppendQso(dbase::Table& table, const std::vector<FieldValue>& values);

} // namespace qx7
