#pragma once
// The logs of a folder as the open-log list shows them: name, own call, QSO count and
// the day of the last change, read from the descriptor and the first bytes of the
// table's header without opening the table; and deleting a log with its three files.

#include <optional>
#include <string>
#include <vector>

namespace qx7 {

inline constexpr const char* kDamagedDescriptor = "***damaged***";
inline constexpr const char* kLogInUse = "log in use";
inline constexpr const char* kTableMissing = "no QSO table";
inline constexpr const char* kTableDamaged = "damaged";

struct LogFileRow
{
    std::string name;        // the descriptor's file name up to its first "."
    std::string call;        // the own call, or "***damaged***"
    std::string qsos;        // the header's record count, "?" (short header), "" (no table)
    std::string lastChanged; // "yyyy.mm.dd", "log in use", "no QSO table", "damaged" or ""
    long long count = -1;    // the record count as a number, -1 when not known
    bool inUse = false;      // another program writes the table
    bool usable() const { return count >= 0 && !inUse; }
};

// The year a dBase header's year byte stands for: 0..50 → 2000 + y, 51..150 → 1900 + y,
// from 151 the byte is the year.
int dbaseHeaderYear(int yearByte);
// "yyyy.mm.dd" for the header's last-update bytes; empty for an impossible date.
std::string dbaseHeaderDate(int yearByte, int month, int day);

// One row for the descriptor `descriptorFile` (a "*.qx7" path).
LogFileRow readLogFileRow(const std::string& descriptorFile);
// One row per "*.qx7" file of the folder, in the order the file system gives them.
std::vector<LogFileRow> readLogFolder(const std::string& logFolder);

// Deletes N.qx7, N.dbf and N.mdx of the folder; missing files are skipped. Nothing is
// deleted while the table is open anywhere; `why` then says so. True when no file of
// the log is left.
bool deleteLogFiles(const std::string& logFolder, const std::string& name,
                    std::string* why = nullptr);

} // namespace qx7
