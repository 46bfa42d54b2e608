#include "store/StatisticsReport.h"

#include "core/BandModeTables.h"

#include <filesystem>
#include <string_view>

namespace qx7 {

namespace {

std::string rightAligned(std::string_view text, size_t width)
{
    return text.size() >= width ? std::string(text)
                                : std::string(width - text.size(), ' ') + std::string(text);
}

std::string rightAligned(long value, size_t width)
{
    return rightAligned(std::to_string(value), width);
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::vector<std::string> statisticsTable(const ScanStatistics& stats)
{
    std::vector<int> modes, bands;
    for (int m = 0; m <= MaxMode; ++m)
        if (stats.ModeBandCounts[static_cast<size_t>(m)].total > 0)
            modes.push_back(m);
    for (int b = 0; b <= MaxBand; ++b)
        if (stats.BandTotals[static_cast<size_t>(b)] > 0)
            bands.push_back(b);

    std::string header(6, ' ');
    for (int m : modes)
        header += rightAligned(trimmed(modeName(m)), 8);
    header += "    band";
    const std::string rule(header.size(), '-');

    std::vector<std::string> lines{header, rule};
    for (int b : bands) {
        std::string line = rightAligned(bandName(b), 6);
        for (int m : modes)
            line += rightAligned(
                stats.ModeBandCounts[static_cast<size_t>(m)].perBand[static_cast<size_t>(b)], 8);
        line += rightAligned(stats.BandTotals[static_cast<size_t>(b)], 8);
        lines.push_back(line);
    }
    lines.push_back(rule);
    std::string totals = "  mode";
    for (int m : modes)
        totals += rightAligned(stats.ModeBandCounts[static_cast<size_t>(m)].total, 8);
    totals += rightAligned(stats.LogSize, 8);
    lines.push_back(totals);
    return lines;
}

std::vector<std::string> statisticsReport(const ScanStatistics& stats,
                                          const StatisticsHeading& heading)
{
    std::vector<std::string> lines = {
        "QX QSO Statistics", "Log:            " + heading.logName,
        "Call:           " + heading.ownCall,
        "Calculated for: " + std::to_string(heading.priRows) + " QSO lines on label design " +
            std::filesystem::path(heading.layoutFile).filename().string(),
        ""};
    for (std::string& line : statisticsTable(stats))
        lines.push_back(std::move(line));
    lines.push_back("");
    lines.push_back("QSOs printed:    " + rightAligned(stats.QSOsPrinted, 6));
    lines.push_back("Labels needed:   " + rightAligned(stats.LabelsNeeded, 6));
    lines.push_back("");
    for (int k = 1; k <= MaxBand && static_cast<size_t>(k) < stats.BandsPerStation.size(); ++k) {
        const long count = stats.BandsPerStation[static_cast<size_t>(k)];
        if (count > 0)
            lines.push_back(std::string(k < 10 ? " " : "") + std::to_string(k) +
                            "-Band QSOs: " + rightAligned(count, 9));
    }
    return lines;
}

} // namespace qx7
