#pragma once
// The text report of a count run: the labels a log needs and its QSOs by band and mode,
// as the statistics window shows and saves it and `qx7cli stats --report` prints it.

#include "store/LogScan.h"

#include <string>
#include <vector>

namespace qx7 {

struct StatisticsHeading
{
    std::string logName;
    std::string ownCall;
    int priRows = 0;
    std::string layoutFile; // the label layout's file name, without folder
};

// The band-by-mode table: only modes and bands with a total above 0, in index order,
// with a "-" line under the header and above the mode totals.
std::vector<std::string> statisticsTable(const ScanStatistics& stats);
// The whole report, line by line.
std::vector<std::string> statisticsReport(const ScanStatistics& stats,
                                          const StatisticsHeading& heading);

} // namespace qx7
