// layer: qx7_store
// Checking a QSL request list against a big log: 1,000 request lines (400 calls, 600
// claimed QSOs; a fifth of the calls not in the log, half the claims off in time, band
// or mode) against a 1,000,000-QSO log. The baseline is the bare lookup of the same
// calls in the log's call index, measured in the same run.
// Usage: bench_batch_check [log QSOs] [folder]

#include "BenchUtil.h"
#include "core/Prompter.h"
#include "store/BatchCheck.h"
#include "store/BatchFile.h"
#include "store/BatchInput.h"
#include "store/LogTable.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

using namespace qx7;
using namespace qx7::bench;

namespace {

const char* const kBands[] = {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m"};
const char* const kModes[] = {"SSB", "CW", "FT8", "RTTY"};

std::string callOf(long station)
{
    char call[24];
    std::snprintf(call, sizeof call, "K%ldQ%c%c%ld", station % 10,
                  'A' + static_cast<int>(station / 10 % 26),
                  'A' + static_cast<int>(station / 260 % 26), station / 6760);
    return call;
}

// The QSO k of a station: its date, time, band and mode follow from k alone.
struct Qso
{
    std::string date, time, band, mode;
};
Qso qsoOf(long k)
{
    char date[16], time[8];
    std::snprintf(date, sizeof date, "20%02ld%02ld%02ld", 10 + k % 14, 1 + k % 12, 1 + k % 28);
    std::snprintf(time, sizeof time, "%02ld%02ld", k * 7 % 24, k * 13 % 60);
    return {date, time, kBands[k % 9], kModes[k % 4]};
}

// `qsos` QSOs of qsos/10 stations, ten each, appended in random station order.
void fillLog(const std::string& folder, long qsos)
{
    CreateLogTable(folder, "bench");
    dbase::Table log;
    openLog(log, folder + "/bench.dbf", 0);
    const long stations = qsos / 10;
    std::vector<long> order(static_cast<size_t>(stations * 10));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<long>(i) % stations;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    std::vector<long> next(static_cast<size_t>(stations), 0);
    log.appendMany(order.size(), [&](size_t i) {
        const long s = order[i];
        const Qso q = qsoOf(next[static_cast<size_t>(s)]++);
        log.setText("CALL", callOf(s));
        log.setText("DATE", q.date);
        log.setText("TIME", q.time);
        log.setText("BAND", q.band);
        log.setText("MODE", q.mode);
        log.setText("RSTS", "59");
        log.setText("RSTR", "59");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
    });
    log.close();
}

std::string requestList(long stations)
{
    std::mt19937 rng(3);
    std::string text;
    for (int c = 0; c < 400; ++c) {
        const long s = static_cast<long>(rng() % static_cast<unsigned>(stations));
        // Every fifth requester is not in the log (a station number past the last one).
        const std::string call = c % 5 == 4 ? callOf(stations + c) : callOf(s);
        text += "CALL;" + call + ";pse direct\n";
        for (int i = 0; i < (c % 2 == 0 ? 2 : 1); ++i) {
            Qso q = qsoOf(static_cast<long>(rng() % 10));
            if (i == 1)
                q.time = q.time == "0000" ? "0100" : "0000"; // off in time
            if (c % 3 == 1)
                q.band = "6m"; // other band
            text +=
                "QSO ;" + call + ";" + q.date + ";" + q.time + ";" + q.band + ";" + q.mode + "\n";
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    const long qsos = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::filesystem::path dir =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qx7-bench-batch";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string();

    auto t0 = Clock::now();
    fillLog(folder, qsos);
    std::printf("made a %ld-QSO log in %.2f s\n", qsos, secondsSince(t0));

    SilentPrompter prompter;
    BatchInput batch(folder, 4, prompter);
    if (!batch.OpenBatchTables()) {
        std::printf("the batch tables cannot be opened in %s\n", folder.c_str());
        return 1;
    }
    const auto list = parseBatchText(requestList(qsos / 10));
    const BatchImportCounts imported = importBatchList(batch, *list, "DL1ABC");
    std::printf("request list: %zu lines (%d calls, %d claimed QSOs)\n", list->lines.size(),
                imported.callsAdded, imported.qsosAdded);

    dbase::Table log;
    openLog(log, folder + "/bench.dbf", 0);
    // Baseline: only the lookups of the requested calls in the call index.
    t0 = Clock::now();
    size_t looked = 0;
    for (const BatchCallLine& c : list->calls)
        looked += logQsosOfCall(log, c.call).size();
    const double lookups = secondsSince(t0);
    std::printf("baseline, %zu call lookups (%zu QSOs): %.3f s\n", list->calls.size(), looked,
                lookups);

    t0 = Clock::now();
    const double c0 = cpuSeconds();
    const BatchCheckReport first = checkBatchRequests(batch, log, "DL1ABC");
    const double check = secondsSince(t0);
    const double checkCpu = cpuSeconds() - c0;
    std::printf("batch check, statuses written: %.3f s, %.3f s CPU (%.1fx baseline; %d found, "
                "%d not in log, claims %d found, %d not; target <= 1 s: %s)\n",
                check, checkCpu, check / lookups, first.found, first.notInLog, first.claimsFound,
                first.claimsMissed, verdict(check, 1.0 + 1e-9));
    t0 = Clock::now();
    checkBatchRequests(batch, log, "DL1ABC");
    const double again = secondsSince(t0);
    std::printf("batch check again, statuses unchanged: %.3f s (%.1fx baseline; target <= 1 s: "
                "%s)\n",
                again, again / lookups, verdict(again, 1.0 + 1e-9));
    std::printf("peak memory: %.1f MB\n", static_cast<double>(peakKb()) / 1024.0);
    log.close();
    batch.CloseBatchTables();
    std::filesystem::remove_all(dir);
    return 0;
}
