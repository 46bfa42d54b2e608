// layer: qx7_dbase
// Speed of the table engine on the program's 18-field log schema, 1,000,000 records:
// append with two tags, open and read, open with the index lost, search, range walk,
// peak memory, and a full read against python3-dbfread in the same run.
// Usage: bench_dbase_table [records] [folder]

#include "dbase/Table.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace qx7::dbase;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::vector<FieldDef> logFields()
{
    return {{"CALL", 'C', 16}, {"DATE", 'C', 8},  {"TIME", 'C', 4},  {"BAND", 'C', 6},
            {"MODE", 'C', 8},  {"SUBM", 'C', 12}, {"RSTS", 'C', 6},  {"RSTR", 'C', 6},
            {"QSLS", 'C', 1},  {"QSLR", 'C', 1},  {"QMGR", 'C', 16}, {"DATS", 'C', 8},
            {"DATR", 'C', 8},  {"COMM", 'C', 60}, {"FREQ", 'C', 12}, {"DXCC", 'C', 6},
            {"XBND", 'C', 2},  {"MARK", 'L', 1}};
}

std::string randomCall(std::mt19937& rng)
{
    static const char* prefixes[] = {"DL", "K", "W", "G", "JA", "VK", "PA", "OH", "9A", "EA"};
    std::string call = prefixes[rng() % 10];
    call += std::to_string(rng() % 10);
    for (int i = 0, n = 2 + static_cast<int>(rng() % 2); i < n; ++i) {
        call.push_back(static_cast<char>('A' + rng() % 26));
    }
    return call;
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint32_t records =
        argc > 1 ? static_cast<std::uint32_t>(std::atol(argv[1])) : 1000000;
    const std::filesystem::path folder =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qx7bench";
    std::filesystem::create_directories(folder);
    const auto path = folder / "log.dbf";
    std::filesystem::remove(path);
    std::filesystem::remove(folder / "log.mdx");
    const std::vector<IndexDef> tags = {{"CALL", "CALL"}, {"DATETIME", "DATE+TIME"}};
    Table::create(path, logFields(), {Level::DBase4, tags});

    std::mt19937 rng(1);
    double loopSeconds = 0;
    auto start = Clock::now();
    {
        Table t;
        t.open(path, {OpenMode::Exclusive});
        t.suspendNotifications();
        char date[16];
        char time[8];
        for (std::uint32_t i = 0; i < records; ++i) {
            std::snprintf(date, sizeof date, "%04u%02u%02u", 2000 + i / 40000, 1 + (i / 3000) % 12,
                          1 + (i / 100) % 28);
            std::snprintf(time, sizeof time, "%04u", (i * 7) % 2400);
            t.append();
            t.setText(0, randomCall(rng));
            t.setText(1, date);
            t.setText(2, time);
            t.setText(3, "20M");
            t.setText(4, "SSB");
            t.setText(6, "59");
            t.setText(7, "59");
            t.setText(13, "Thanks for the nice QSO, 73");
            t.setText(14, "14.200");
            t.setBoolean(17, i % 2 == 0);
            t.post();
        }
        t.resumeNotifications();
        loopSeconds = secondsSince(start);
        t.close();
    }
    const double appendSeconds = secondsSince(start);
    const auto dbfBytes = std::filesystem::file_size(path);
    std::printf("records                          %u (.dbf %.1f MB, .mdx %.1f MB)\n", records,
                dbfBytes / 1e6, std::filesystem::file_size(folder / "log.mdx") / 1e6);
    std::printf("append, both tags (incl. close)  %8.3f s    (goal < 3 s; posts %.3f s, close "
                "with .mdx write and fdatasync %.3f s)\n",
                appendSeconds, loopSeconds, appendSeconds - loopSeconds);

    resetPeak();
    start = Clock::now();
    {
        Table t;
        t.open(path, {OpenMode::Shared});
        t.setIndex("CALL");
        int n = 0;
        for (t.first(); !t.eof() && n < 50; t.next(), ++n) {
            t.text(0);
        }
        const double openSeconds = secondsSince(start);
        std::printf("open + first 50 in CALL order    %8.1f ms   (goal < 100 ms)\n",
                    openSeconds * 1e3);

        const int probes = 100000;
        std::vector<std::string> keys;
        for (int i = 0; i < probes; ++i) {
            keys.push_back(randomCall(rng));
        }
        start = Clock::now();
        for (const auto& k : keys) {
            t.findNearest(k);
        }
        std::printf("find nearest                     %8.2f us   (goal < 10 us)\n",
                    secondsSince(start) / probes * 1e6);

        t.setIndex("DATETIME");
        const int walks = 200;
        double walkSeconds = 0;
        for (int w = 0; w < walks; ++w) {
            char day[16];
            std::snprintf(day, sizeof day, "%04d%02d%02d", 2000 + w % 20, 1 + w % 12, 1 + w % 28);
            start = Clock::now();
            t.setRange(day, "");
            int walked = 0;
            for (; !t.eof() && walked < 1000; t.next()) {
                ++walked;
            }
            walkSeconds += secondsSince(start);
        }
        std::printf("range + walk 1000 records        %8.3f ms   (goal < 1 ms)\n",
                    walkSeconds / walks * 1e3);

        t.setIndex("");
        start = Clock::now();
        std::size_t bytes = 0;
        for (t.first(); !t.eof(); t.next()) {
            for (int f = 0; f < 18; ++f) {
                bytes += t.text(f).size();
            }
        }
        const double fullRead = secondsSince(start);
        std::printf("full read, every field as text   %8.3f s\n", fullRead);
        std::printf("peak memory while open           %8.1f MB = %.2f x .dbf (goal < 1.5)\n",
                    peakKb() / 1e3, peakKb() * 1e3 / static_cast<double>(dbfBytes));

        const std::string python =
            std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        const std::string command =
            python +
            " -c \"import dbfread,sys\nn=0\nfor r in dbfread.DBF(sys.argv[1]): n+=1\nprint(n)\" " +
            path.string() + " > /dev/null";
        start = Clock::now();
        if (std::system(command.c_str()) == 0) {
            const double theirs = secondsSince(start);
            std::printf(
                "python3-dbfread full read        %8.3f s    (ours takes %.3f of its time)\n",
                theirs, fullRead / theirs);
        } else {
            std::printf("python3-dbfread not available\n");
        }
        (void)bytes;
    }

    std::filesystem::remove(folder / "log.mdx");
    resetPeak();
    start = Clock::now();
    {
        Table t;
        t.open(path, {OpenMode::Shared, tags});
        t.setIndex("CALL");
        t.first();
        std::printf("open with .mdx deleted (rebuild) %8.3f s    (goal < 2 s), peak %.2f x .dbf\n",
                    secondsSince(start), peakKb() * 1e3 / static_cast<double>(dbfBytes));
    }
    return 0;
}
