// layer: qx7_store
// The scan at the sizes operators have: a count run (statistics) over a 1,000,000-QSO
// log, and a print run that queues 10,000 labels from a 100,000-QSO log with the journal
// and the write-back into the log.
// Usage: bench_store_scan [count-run QSOs] [folder]

#include "BenchUtil.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "store/AdifJournal.h"
#include "store/LogScan.h"
#include "store/LogTable.h"
#include "store/PrintQueue.h"

#include <cstdio>
#include <filesystem>
#include <random>

using namespace qx7;
using namespace qx7::bench;

namespace {

const char* const kBands[] = {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m"};
const char* const kModes[] = {"SSB", "CW", "FT8", "RTTY"};

// `stations` stations with `perStation` QSOs each, on `bandsEach` bands (two QSOs per
// band and mode), appended in random station order as a log grows.
void fillLog(const std::string& folder, long stations, int perStation, int bandsEach)
{
    CreateLogTable(folder, "bench");
    dbase::Table log;
    openLog(log, folder + "/bench.dbf", 0);
    log.suspendNotifications();
    std::mt19937 rng(11);
    for (long q = 0; q < stations * perStation; ++q) {
        const long s = static_cast<long>(rng() % static_cast<unsigned>(stations));
        const int k = static_cast<int>(q / stations % static_cast<long>(perStation));
        char call[16];
        std::snprintf(call, sizeof call, "K%ldQ%c%c", s % 10, 'A' + static_cast<int>(s / 10 % 26),
                      'A' + static_cast<int>(s / 260 % 26));
        std::string callText = call + std::to_string(s / 6760);
        char date[16];
        std::snprintf(date, sizeof date, "20%02d%02d%02d", 10 + k % 14, 1 + k % 12, 1 + k % 28);
        log.append();
        log.setText("CALL", callText);
        log.setText("DATE", date);
        log.setText("TIME", "1200");
        log.setText("BAND", kBands[k % bandsEach]);
        log.setText("MODE", kModes[0]);
        log.setText("RSTS", "59");
        log.setText("RSTR", "59");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
        log.post();
    }
    log.resumeNotifications();
    log.close();
}

struct Run
{
    Settings settings;
    SearchState search;
    QueueRunState run;
    ScanStatistics stats;
    SilentPrompter prompter;
    NullProgress progress;
};

double scanOnce(Run& r, PrintQueue& queue, AdifJournal& journal, const std::string& folder,
                bool printRun, double* cpu = nullptr)
{
    dbase::Table log;
    openLog(log, folder + "/bench.dbf", 0);
    r.run.PrintRun = printRun;
    r.run.ContinueAsk = false;
    ScanContext ctx{r.settings, std::nullopt, std::nullopt, LabelFormat{}, r.search,   r.run,
                    r.stats,    queue,        journal,      nullptr,       r.prompter, r.progress,
                    {}};
    const auto t0 = Clock::now();
    const double c0 = cpuSeconds();
    log.first();
    ScanLog(ctx, log, "DL1ABC", {"Tnx fer QSO", "73"});
    log.close();
    if (cpu)
        *cpu = cpuSeconds() - c0;
    return secondsSince(t0);
}

} // namespace

int main(int argc, char** argv)
{
    const long countQsos = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::filesystem::path dir =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qx7-bench-scan";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string();
    SilentPrompter prompter;
    PrintQueue queue(folder + "/qx7pq.dbf", 4, prompter);
    queue.OpenPrintQueue();
    AdifJournal journal(folder);

    auto t0 = Clock::now();
    fillLog(folder, countQsos / 10, 10, 5);
    std::printf("made a %ld-QSO log in %.2f s\n", countQsos, secondsSince(t0));
    Run counting;
    double countCpu = 0;
    const double count = scanOnce(counting, queue, journal, folder, false, &countCpu);
    std::printf("count run over %ld QSOs: %.2f s, %.2f s CPU (%ld labels needed; target < 1.5 "
                "s: %s)\n",
                countQsos, count, countCpu, counting.stats.LabelsNeeded, verdict(count, 1.5));

    // 10,000 stations, 10 QSOs each on 5 bands: 5 chosen per station, one label each.
    fillLog(folder, 10000, 10, 5);
    Run printing;
    const double print = scanOnce(printing, queue, journal, folder, true);
    std::printf("print run over 100000 QSOs: %.2f s (%d labels queued; target < 3 s: %s)\n", print,
                queue.LabelsInQueue, verdict(print, 3.0));
    std::printf("peak memory: %.1f MB\n", static_cast<double>(peakKb()) / 1024.0);
    queue.ClosePrintQueue();
    std::filesystem::remove_all(dir);
    return 0;
}
