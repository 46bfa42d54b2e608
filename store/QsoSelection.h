#pragma once
// How the scan turns the QSOs of one station into label entries and picks the ones to
// confirm: at most one QSO per band and mode, the newest (or the oldest with "first in,
// first out"), by the confirmation settings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// The log fields an entry is made of, as stored.
struct QsoFields
{
    std::string call, date, time, band, mode, qsls, qslr, qmgr;
    std::uint32_t recno = 0;
};

// One QSO of a station group. `text` is the 37-character entry: manager padded with
// dots (1–16), order key (17–30), record number (31–36), status (37).
struct QsoEntry
{
    std::string text;
    int band = 0; // index in the band table, 0 when unknown
    int mode = 0;
    std::uint32_t recno = 0;
    std::string manager; // the route: QMGR, empty for none (labelManager)

    char status() const { return text.back(); }
    void leaveOut() { text.back() = 'I'; }
    bool leftOut() const { return status() == 'I'; }
};

// The entry of a QSO; none for QSLS "!" (never) or, with `exceptY`, for QSLS "Y".
bool makeQsoEntry(const QsoFields& q, int sortTyp, bool exceptY, QsoEntry& out);

// The manager of a QSO for its label: QMGR, or empty when it begins with "-".
std::string labelManager(std::string_view qmgr);

// Orders entries as the label shows them: by manager, then by the order key.
void sortEntries(std::vector<QsoEntry>& entries);

struct SelectionRules
{
    bool cfmAllQ = false;
    bool cfmAgnQ = false;
    bool cfmNewB = false;
    bool cfmAllExceptY = false;
    bool priFiFo = false;
};

// Marks the entries to leave out; `entries` must be sorted.
void selectEntries(std::vector<QsoEntry>& entries, const SelectionRules& rules);

// Whether the scan asks "Continue?" after a label became full or a station was placed.
bool pagePromptDue(long labelsInQueue, long labelsPerPage, int pageConf, bool continueAsk);

} // namespace qx7
