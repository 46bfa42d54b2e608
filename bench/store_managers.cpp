// layer: qx7_store
// The QSL manager database at the size of public manager lists: import a 500,000-line
// ";"-separated list into an empty database, look managers up for QSOs, export it all.
// Usage: bench_store_managers [lines] [folder]

#include "BenchUtil.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "store/ManagerDatabase.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

using namespace qx7;
using namespace qx7::bench;

namespace {

std::string randomCall(std::mt19937& rng)
{
    static const char* prefixes[] = {"A6", "VP8", "ZS", "9G", "5Z", "JA", "UA", "K", "XE", "HS"};
    std::string call = prefixes[rng() % 10];
    call += std::to_string(rng() % 10);
    for (int i = 0, n = 2 + static_cast<int>(rng() % 2); i < n; ++i)
        call.push_back(static_cast<char>('A' + rng() % 26));
    return call;
}

} // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 500000;
    const std::filesystem::path dir =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qx7-bench-managers";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);

    std::mt19937 rng(7);
    std::vector<std::string> calls;
    {
        std::ofstream out(dir / "list.txt", std::ios::binary);
        for (long i = 0; i < lines; ++i) {
            const std::string call = randomCall(rng);
            if (calls.size() < 100000)
                calls.push_back(call);
            out << call << ';' << randomCall(rng) << ';' << (i % 3 == 0 ? "" : "2010")
                << (i % 2 ? "0101" : "") << ';' << ";\r\n";
        }
    }
    SilentPrompter prompter;
    NullProgress progress;
    bool use = true;
    ManagerDatabase db(dir.string(), 4, prompter, use);
    db.OpenManagerDB();

    auto t0 = Clock::now();
    const auto result = db.importTextFile((dir / "list.txt").string(), progress);
    const double import = secondsSince(t0);
    std::printf("import %ld lines: %.2f s (%ld records; target < 5 s: %s)%s\n", lines, import,
                db.ManagerCount(), verdict(import, 5.0),
                result == ManagerDatabase::ImportResult::Ok ? "" : " FAILED");

    const int lookups = 100000;
    t0 = Clock::now();
    long found = 0;
    for (int i = 0; i < lookups; ++i)
        found +=
            db.LookUpManager(calls[static_cast<size_t>(i) % calls.size()], "", "20150615").count;
    const double perLookup = secondsSince(t0) / lookups * 1e6;
    std::printf("look-up: %.2f us per QSO over %d QSOs (%ld entries seen; target < 20 us: %s)\n",
                perLookup, lookups, found, verdict(perLookup, 20.0));

    t0 = Clock::now();
    db.exportTextFile((dir / "export.txt").string(), false, progress);
    const double exported = secondsSince(t0);
    std::printf("export: %.2f s (target < 2 s: %s)\n", exported, verdict(exported, 2.0));
    std::printf("peak memory: %.1f MB\n", static_cast<double>(peakKb()) / 1024.0);
    db.CloseManagerDB();
    std::filesystem::remove_all(dir);
    return 0;
}
