// qx7cli killed (SIGKILL) at random moments of a queue fill and of a manager import: the
// tables it wrote afterwards open with an independent reader (python3-dbfread) and with
// the program, no QSO is marked sent without a label in the queue, and a run started
// afterwards finishes the work.

#include "dbase/Table.h"
#include "RunQx7cli.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;
using testing::readWithDbfread;

// Starts qx7cli with `args` and kills it after `delay`; true when it was still running.
bool runAndKill(const fs::path& home, const std::vector<std::string>& args,
                std::chrono::milliseconds delay)
{
    std::vector<std::string> argv = {testing::qx7cliPath(), "--home", home.string(), "--yes"};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        std::vector<char*> raw;
        for (auto& a : argv)
            raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    std::this_thread::sleep_for(delay);
    const bool running = ::kill(pid, SIGKILL) == 0;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return running && WIFSIGNALED(status);
}

std::mt19937 seededEngine()
{
    const unsigned seed = std::random_device{}();
    std::cout << "kill moments from seed " << seed << '\n';
    return std::mt19937(seed);
}

// A home with one log "big" of `stations` QSOs to confirm, one per station.
void makeHomeWithBigLog(const fs::path& home, int stations)
{
    fs::remove_all(home);
    ASSERT_EQ(qx7cli(home, "log create big --call OE1XYZ").code, 0);
    dbase::Table log;
    openLog(log, (home / "logs" / "big.dbf").string(), 0);
    for (int i = 0; i < stations; ++i) {
        log.append();
        log.setText("CALL", "DL" + std::to_string(10000 + i));
        log.setText("DATE", "20240101");
        log.setText("TIME", "1200");
        log.setText("BAND", i % 2 ? "20m" : "40m");
        log.setText("MODE", "CW");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
        log.post();
    }
}

TEST(Kill, AKilledQueueFillNeverMarksAQsoWithoutALabel)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-kill-fill";
    constexpr int kStations = 3000;
    ASSERT_NO_FATAL_FAILURE(makeHomeWithBigLog(home, kStations));
    // The kill moments are spread over the time a whole fill takes on this machine, timed in
    // a second home (a copy would share the first one's log folder through its settings), so
    // that a fast machine does not finish every run before its kill.
    const fs::path timing = home.string() + "-timing";
    ASSERT_NO_FATAL_FAILURE(makeHomeWithBigLog(timing, kStations));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(qx7cli(timing, "--yes queue fill big").code, 0);
    const auto fillMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    fs::remove_all(timing);
    std::cout << "a whole fill takes " << fillMs << " ms\n";
    auto engine = seededEngine();
    std::uniform_int_distribution<int> ms(static_cast<int>(fillMs / 20),
                                          std::max(1, static_cast<int>(fillMs * 9 / 10)));
    int killedRunning = 0;
    for (int round = 0; round < 6; ++round) {
        const int delay = ms(engine);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(delay) +
                     " ms");
        killedRunning +=
            runAndKill(home, {"queue", "fill", "big"}, std::chrono::milliseconds(delay)) ? 1 : 0;
        const auto log = readWithDbfread(home / "logs" / "big.dbf", "CALL QSLS");
        if (log.readerMissing)
            GTEST_SKIP() << "python3-dbfread is not installed";
        ASSERT_TRUE(log.ok) << log.output.substr(0, 2000);
        ASSERT_EQ(log.rows.size(), static_cast<size_t>(kStations));
        // Killed before the queue was made: then no QSO may be marked either.
        std::set<std::string> labelled;
        if (fs::exists(home / "qx7pq.dbf")) {
            const auto queue = readWithDbfread(home / "qx7pq.dbf", "HISCALL");
            ASSERT_TRUE(queue.ok) << queue.output.substr(0, 2000);
            labelled.insert(queue.rows.begin(), queue.rows.end());
        }
        for (const std::string& row : log.rows) {
            // Labels carry the call with slashed zeros (the "SlashedZero" default).
            std::string call;
            for (char c : row.substr(0, row.find('|')))
                call += c == '0' ? std::string("\u00d8") : std::string(1, c);
            if (row.substr(row.find('|') + 1) == "Y") {
                ASSERT_TRUE(labelled.count(call)) << call << " is marked sent without a label";
            }
        }
        const auto list = qx7cli(home, "queue list");
        ASSERT_EQ(list.code, 0) << list.out.substr(0, 2000);
    }
    EXPECT_GT(killedRunning, 0) << "every run ended before its kill: the log is too small";
    const auto finish = qx7cli(home, "--yes queue fill big");
    EXPECT_EQ(finish.code, 0) << finish.out;
    const auto log = readWithDbfread(home / "logs" / "big.dbf", "QSLS");
    EXPECT_EQ(std::count(log.rows.begin(), log.rows.end(), "Y"), kStations);
    fs::remove_all(home);
}

TEST(Kill, AKilledManagerImportLeavesAReadableManagerTable)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-kill-managers";
    fs::remove_all(home);
    fs::create_directories(home);
    const fs::path list = home / "managers.txt";
    constexpr int kEntries = 40000;
    {
        std::ofstream out(list, std::ios::binary);
        for (int i = 0; i < kEntries; ++i)
            out << "DX" << 100000 + i << ";MG" << 100000 + i << ";2020;;\r\n";
    }
    ASSERT_EQ(qx7cli(home, "settings").code, 0);
    const fs::path table = home / "manager" / "qxmgr.dbf";
    auto engine = seededEngine();
    std::uniform_int_distribution<int> ms(30, 1500);
    for (int round = 0; round < 5; ++round) {
        const int delay = ms(engine);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(delay) +
                     " ms");
        runAndKill(home, {"managers", "import", list.string()}, std::chrono::milliseconds(delay));
        if (fs::exists(table)) {
            const auto read = readWithDbfread(table, "CALL MGR");
            if (read.readerMissing)
                GTEST_SKIP() << "python3-dbfread is not installed";
            ASSERT_TRUE(read.ok) << read.output.substr(0, 2000);
            for (const std::string& row : read.rows)
                ASSERT_EQ(row.substr(2, 6), row.substr(row.find('|') + 3, 6)) << row;
        }
        const auto lookup = qx7cli(home, "managers lookup DX100000 20240101");
        ASSERT_EQ(lookup.code, 0) << lookup.out;
    }
    const auto finish = qx7cli(home, "managers import '" + list.string() + "'");
    EXPECT_EQ(finish.code, 0) << finish.out;
    EXPECT_FALSE(fs::exists(home / "manager" / "tmpmgr.dbf"));
    const auto read = readWithDbfread(table, "CALL");
    ASSERT_TRUE(read.ok) << read.output.substr(0, 2000);
    EXPECT_EQ(read.rows.size(), static_cast<size_t>(kEntries));
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
