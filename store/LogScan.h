#pragma once
// The scan that walks a log and fills the print queue (a print run) or only counts the
// labels a log would need and collects statistics (a count run). It groups the QSOs of
// one station, picks the ones to confirm, places them on labels in bureau order, asks at
// page boundaries whether to go on, writes the QSL-sent status back into the log and
// keeps the journal of everything queued.

#include "core/BandModeTables.h"
#include "core/DateFormat.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "dbase/Table.h"
#include "store/CallSign.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx7 {

class AdifJournal;
class ManagerDatabase;
class PrintQueue;

inline constexpr const char* kPrintAborted = "Print aborted";
inline constexpr const char* kStatisticsAborted = "Statistics Run aborted";

// The search inputs of the log windows; the scan stops at the end of the searched calls.
struct SearchState
{
    int IndexNumber = 0;
    int SearchMethod = 3;
    std::string BeginKey;
    std::string EndKey;
    bool ExactMatch = false;
};

// Shared state of scans and printing, owned by the data module.
struct QueueRunState
{
    bool PrintRun = false;
    bool Printing = false;
    bool PrintAborted = false;
    int LabelsPerPage = 1;
    bool ContinueAsk = true;
    int Terminated = 0;    // -1 asks a running scan to stop
    int ScanSelection = 0; // 0 search range, 1 selected rows, 2 current record
};

// Counters every scan adds to; the statistics window resets them before its count run.
struct ScanStatistics
{
    long LogSize = 0;
    long QSOsPrinted = 0;
    long LabelsNeeded = 0;
    long QSOsQueued = 0; // placed on labels by print runs
    std::array<long, 30> BandTotals{};
    struct ModeCounts
    {
        long total = 0;
        std::array<long, 30> perBand{};
    };
    std::array<ModeCounts, 48> ModeBandCounts{};
    // Index: number of distinct band values worked, 0 to all bands plus the unknown one.
    std::array<long, MaxBand + 2> BandsPerStation{};
    void reset() { *this = ScanStatistics{}; }
};

struct ScanContext
{
    const Settings& settings;
    std::optional<Date> qslSentDate;
    std::optional<Date> qslRcvdDate;
    LabelFormat labelFormat;
    const SearchState& search;
    QueueRunState& run;
    ScanStatistics& stats;
    PrintQueue& queue;
    AdifJournal& journal;
    ManagerDatabase* managers; // its master link is removed at the end
    Prompter& prompter;
    Progress& progress;             // step() false: Escape was pressed
    std::function<void()> printNow; // "Print Labels" at the page prompt
};

// Scans `log` (positioned and ordered by the caller). `selectedRows` serves selection 1.
// Returns 0, or -1 when the user stopped at a page prompt.
int ScanLog(ScanContext& ctx, dbase::Table& log, const std::string& ownCall,
            const std::vector<std::string>& footerLines,
            const std::vector<dbase::Bookmark>& selectedRows = {});

} // namespace qx7
