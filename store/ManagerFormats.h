#pragma once
// The manager database's rules that need no table: which entry routes a QSO, and the
// line formats of manager lists (";"-separated, DX4WIN, QW6QW "qsl.txt") read and written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

struct ManagerEntry
{
    std::string call;
    std::string mgr;
    std::string dateFrom; // "yyyymmdd", a leading part such as "yyyy", or empty (always)
    std::string address;
};

struct ManagerLookUp
{
    std::string manager;                 // R
    int count = 0;                       // n: entries for the call
    std::vector<std::string> candidates; // best first
};

// `entries` are the database records of the QSO's call in index order (DATEFROM, MGR).
// A dated entry valid at the QSO date wins over an undated one and over the QSO's own
// manager; among dated ones the latest wins; an undated one fills in only when the QSO
// has no manager.
ManagerLookUp lookUpManagerIn(const std::vector<ManagerEntry>& entries, std::string_view qsoMgr,
                              std::string_view qsoDate);

enum class ManagerTextFormat
{
    Unsupported,
    Separated,
    Dx4win,
    Qw6qw
};

inline constexpr const char* kUnsupportedManagerFile = "Unsupported file format!";

// The format of a manager list is decided by its first line.
ManagerTextFormat detectManagerFormat(std::string_view firstLine);

// A line that no manager list holds: control characters other than tab (binary data, a
// file cut or overwritten). A lone end-of-file mark (^Z) of old DOS files is not damage.
bool isDamagedManagerLine(std::string_view line);
// The message for a list that stopped at the 1-based `line`.
std::string damagedManagerListMessage(long line);

// One line of a list; nothing when the line is skipped (no call or no manager).
std::optional<ManagerEntry> parseManagerLine(std::string_view line, ManagerTextFormat format);

// Export lines: `dx4win` false gives "CALL;MGR;DATEFROM;ADDRESS". At most 255 characters.
std::string managerExportLine(const ManagerEntry& e, bool dx4win);

// A manager text that means "no manager" (empty, or beginning with "-").
inline bool isNoManager(std::string_view mgr)
{
    return mgr.empty() || mgr.front() == '-';
}

} // namespace qx7
