#pragma once
// Checking imported QSL requests against a log, line by line: a requested call is in
// the log or not, and a claimed QSO is found when the log holds a QSO of that call on
// the same band and mode within half an hour of the claimed time. A claim that finds
// nothing says why (no such call, no QSO near that time, other band, other mode) and
// names the log's QSO of that call nearest to it, which the user may take instead.

#include "dbase/Table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

class BatchInput;

// Claims this far from a logged QSO still match it (clocks and log books differ).
inline constexpr long kBatchQsoWindowMinutes = 30;

// One QSO of the log as far as a claim is concerned.
struct BatchLogQso
{
    dbase::Bookmark mark{};
    std::string date, time, band, mode;
};

// The QSOs with exactly `call` in a log whose current index is the call index (the
// index range also holds longer calls starting with `call`; they are left out). Any
// range on the log is removed afterwards.
std::vector<BatchLogQso> logQsosOfCall(dbase::Table& log, const std::string& call);

enum class BatchMiss
{
    None,             // a matching QSO was found
    NoSuchCall,       // the log holds no QSO of the call
    OutsideTime,      // no QSO of the call within the window around the claimed time
    OtherBand,        // near that time, but on another band
    OtherMode,        // near that time, but in another mode
    OtherBandAndMode, // near that time, but band and mode differ
    UnreadableClaim,  // the claim's date or time cannot be read
};

struct BatchQsoVerdict
{
    BatchMiss miss = BatchMiss::NoSuchCall;
    // The matching QSO, or the one nearest to the claim; empty when the call has none.
    std::optional<BatchLogQso> nearest;
    // nearest's time minus the claimed time; 0 when either cannot be read.
    long minutesApart = 0;
};

// Judges one claimed QSO against the log's QSOs of its call. Dates are "yyyymmdd" (also
// "yyyy-mm-dd" or "dd.mm.yyyy"), times "hhmm" (also "hh:mm", "hhmmss"); bands and
// modes compare without regard to case, USB and LSB count as SSB. Near the claimed
// time the QSO with the fewest differences wins; with nothing near, the nearest QSO on
// the claimed band and mode, else the nearest at all.
BatchQsoVerdict judgeBatchQso(const std::vector<BatchLogQso>& qsosOfCall, std::string_view date,
                              std::string_view time, std::string_view band, std::string_view mode);

// "no such call in the log", "other band: nearest 20030321 1330 40m RTTY (8 min later)"...
std::string describeBatchVerdict(const BatchQsoVerdict& verdict);
// "43 min later", "1 h 5 min earlier", "3 d 2 h later", "same time".
std::string describeMinutesApart(long minutes);

// A claimed QSO of a request and what the log said to it.
struct BatchQsoCheck
{
    dbase::Bookmark line{}; // the record in batch table 2
    std::string date, time, band, mode;
    BatchQsoVerdict verdict;
};

// A requested call and what the log said to it.
struct BatchCallCheck
{
    dbase::Bookmark record{}; // the record in batch table 1
    std::string myCall, call, status;
    size_t qsosInLog = 0;
    std::vector<BatchQsoCheck> claims;
};

struct BatchCheckReport
{
    int found = 0;
    int notInLog = 0;
    int printedBefore = 0; // left alone
    int claimsFound = 0;
    int claimsMissed = 0;
    std::vector<BatchCallCheck> calls;
    // The check of the claim stored at `line` of table 2; nullptr when none was made.
    const BatchQsoCheck* claimAt(dbase::Bookmark line) const;
};

// Request states kept in the STATUS field of both batch tables.
inline constexpr const char* kBatchReceived = "0";
inline constexpr const char* kBatchChecked = "1";
inline constexpr const char* kBatchPrinted = "2";
inline constexpr const char* kBatchNotInLog = "3";

// Limits the batch tables to the requests for `ownCall` (and those for every log), then
// for every visible request not printed yet: STATUS "1" when its call is in the log,
// else "3"; each of its claimed QSOs not printed yet gets "1" when found, else "3".
// A status that is already right is not written again.
BatchCheckReport checkBatchRequests(BatchInput& batch, dbase::Table& log,
                                    const std::string& ownCall);

} // namespace qx7
