#pragma once
// Answering the imported QSL requests from a log: each requested call is looked up in
// the log ("checked" or "not in log") and the QSOs of every found call go into the print
// queue ("printed"). The desktop program's batch input window and qx7cli share it.

#include "core/Progress.h"
#include "dbase/Table.h"
#include "store/BatchCheck.h"

#include <functional>
#include <string>
#include <vector>

namespace qx7 {

class BatchInput;
class TQXDM;

// The QSOs with exactly `call` in a log whose current index is the call index. Any range
// on the log is removed.
std::vector<dbase::Bookmark> qsosOfCall(dbase::Table& log, const std::string& call);

// Limits the batch tables to the requests for `ownCall` (and those for every log) and
// sets the status of every visible request and claimed QSO that is not printed yet;
// the report says per claim why it found no QSO.
BatchCheckReport checkBatchInput(BatchInput& batch, dbase::Table& log, const std::string& ownCall);

struct BatchRunCounts
{
    int callsPrinted = 0;
    int qsosQueued = 0;
    int skipped = 0;      // printed before, or no QSO in the log
    bool stopped = false; // Esc (Terminated -1) or a refused print run
};

// Puts the QSOs of table 1's current request into the print queue and marks it printed.
// Nothing happens to a request that is printed already or has no QSO in the log.
// Returns the number of QSOs queued, or -1 when the scan stopped.
int performBatchCall(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                     const std::vector<std::string>& footerLines, Progress& progress,
                     std::function<void()> printNow = {});

// Shown when the QSO taken for a claim did not go into the queue.
inline constexpr const char* kBatchQsoNotTaken =
    "The QSO was not put into the print queue: the label rules leave it out (is its QSL "
    "sent already?).";

// Puts one QSO of the log (`logQso`, the nearest to a claim that found none, chosen by
// the user instead) into the print queue for table 1's current request, and marks the
// claim at `claimLine` of table 2 printed. Returns 1 when queued; 0 when the request is
// printed already, the QSO is not one of the requested call, or the label rules leave
// it out (its card was sent already, say); -1 when the scan stopped.
int takeBatchQso(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                 const std::vector<std::string>& footerLines, Progress& progress,
                 dbase::Bookmark claimLine, dbase::Bookmark logQso,
                 std::function<void()> printNow = {});

// performBatchCall for every visible request, first to last, after limiting the tables
// to `ownCall` as checkBatchInput does.
BatchRunCounts runBatchInput(TQXDM& dm, dbase::Table& log, const std::string& ownCall,
                             const std::vector<std::string>& footerLines, Progress& progress,
                             std::function<void()> printNow = {});

} // namespace qx7
