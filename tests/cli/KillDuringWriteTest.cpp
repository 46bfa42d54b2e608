// A qx7cli run killed at a random moment of its write phase leaves files that other
// dBase readers read correctly (python3-dbfread, Perl's XBase and XBase::Index): the
// header counts exactly the records a reader finds, and the .mdx either matches them or
// the table says it has no production index. Half-written logs are never listed as
// logs, and the next start removes what the killed run left behind.

#include "dbase/Table.h"
#include "RunQx7cli.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

// Prints "records <n>" as dbfread finds them (to the end mark, deleted ones included).
const char* kPythonReader = R"(import dbfread,sys
t=dbfread.DBF(sys.argv[1],char_decode_errors='strict')
print('records %d' % (len(list(t.records)) + len(list(t.deleted))))
)";

// Prints "records <n>" as XBase finds them (by the header count), then walks the tag
// when byte 28 says the .mdx is the table's production index: every key must belong to
// its record, in order, one per record.
const char* kPerlReader = R"(use strict; use XBase; use XBase::Index;
my ($dbf, $mdx, $tag, $field, $pending) = @ARGV;
my $t = XBase->new($dbf) or die XBase->errstr;
my $n = $t->last_record + 1;
my %value;
for my $i (0 .. $t->last_record) {
  my ($deleted, $v) = $t->get_record($i, $field);
  # One counted record may still wait for its flag byte (see expectReadable).
  die "record $i: " . $t->errstr unless defined $deleted || $i == $pending;
  $v =~ s/\s+$//; $value{$i + 1} = $v;
}
print "records $n\n";
open(my $f, '<:raw', $dbf) or die; seek($f, 28, 0); read($f, my $flag, 1); close $f;
if (ord($flag) & 1) {
  my $ix = XBase::Index->new($mdx, tag => $tag) or die XBase::Index->errstr;
  $ix->prepare_select;
  my ($k, $prev) = (0, '');
  while (my ($key, $rec) = $ix->fetch) {
    $k++; $key =~ s/\s+$//;
    die "key '$key' points at record $rec holding '$value{$rec}'" unless defined $value{$rec} && $value{$rec} eq $key;
    die "keys out of order at '$key'" if $key lt $prev;
    $prev = $key;
  }
  die "the index holds $k keys for $n records" unless $k == $n;
  print "index current\n";
} else {
  print "index marked stale\n";
}
)";

bool run(const std::string& command, std::string& out)
{
    out.clear();
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr)
        return false;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    return ::pclose(p) == 0;
}

bool toolsPresent()
{
    std::string out;
    return run("/usr/bin/python3 -c 'import dbfread'", out) &&
           run("perl -MXBase -MXBase::Index -e 1", out);
}

std::uint32_t headerCount(const fs::path& dbf)
{
    std::ifstream in(dbf, std::ios::binary);
    unsigned char b[8] = {};
    in.read(reinterpret_cast<char*>(b), 8);
    return b[4] | (b[5] << 8) | (b[6] << 16) | (static_cast<std::uint32_t>(b[7]) << 24);
}

// The first counted record whose flag byte is still the end mark (from 0), or -1.
long pendingRecord(const fs::path& dbf)
{
    std::ifstream in(dbf, std::ios::binary);
    unsigned char b[12] = {};
    in.read(reinterpret_cast<char*>(b), 12);
    const std::uint64_t headerLength = b[8] | (b[9] << 8);
    const std::uint64_t recordLength = b[10] | (b[11] << 8);
    const std::uint32_t counted = headerCount(dbf);
    for (std::uint32_t r = 0; r < counted; ++r) {
        in.seekg(static_cast<std::streamoff>(headerLength + r * recordLength));
        if (in.get() == 0x1A)
            return static_cast<long>(r);
    }
    return -1;
}

// Both outside readers agree with the header, and the index is current or marked stale.
void expectReadable(const fs::path& dir, const fs::path& dbf, const std::string& tag,
                    const std::string& field)
{
    SCOPED_TRACE(dbf.string());
    std::string py, pl;
    ASSERT_TRUE(
        run("/usr/bin/python3 " + (dir / "reader.py").string() + " '" + dbf.string() + "'", py))
        << py;
    auto mdx = dbf;
    mdx.replace_extension(".mdx");
    // The one instant an append cannot make atomic: counted, the records whole, only the
    // flag byte of the first of them not yet written. Readers by count see the records,
    // readers that stop at the end mark do not; the next writable open finishes it.
    const long pending = pendingRecord(dbf);
    ASSERT_TRUE(run("perl " + (dir / "reader.pl").string() + " '" + dbf.string() + "' '" +
                        mdx.string() + "' " + tag + " " + field + " " + std::to_string(pending),
                    pl))
        << pl;
    const std::uint32_t counted = headerCount(dbf);
    const std::string expected = "records " + std::to_string(counted);
    EXPECT_EQ(py, "records " + std::to_string(pending >= 0 ? pending : counted) + "\n");
    EXPECT_TRUE(pl == expected + "\nindex current\n" || pl == expected + "\nindex marked stale\n")
        << pl;
}

// Starts qx7cli, waits until a file named `watchedName` below `watchedDir` has grown
// past `bytes`, lets it run on for `extraMs`, and kills it. Returns false when it ended
// by itself first.
bool runAndKill(const fs::path& home, const std::vector<std::string>& args,
                const fs::path& watchedDir, const std::string& watchedName, std::uintmax_t bytes,
                int extraMs)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<std::string> all = {"qx7cli", "--home", home.string(), "--yes"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        ::execv((std::string(QX7_BINARY_DIR) + "/cli/qx7cli").c_str(), argv.data());
        ::_exit(127);
    }
    bool ended = false;
    for (;;) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            break;
        }
        std::uintmax_t size = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(watchedDir, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->path().filename() == watchedName)
                size = std::max(size, it->file_size(ec));
        }
        if (size >= bytes)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    if (ended)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(extraMs));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

void writeReaders(const fs::path& dir)
{
    std::ofstream(dir / "reader.py") << kPythonReader;
    std::ofstream(dir / "reader.pl") << kPerlReader;
}

std::string adif(int qsos)
{
    std::ostringstream s;
    s << "generated\n<EOH>\n";
    for (int i = 0; i < qsos; ++i) {
        const std::string call = "DL" + std::to_string(i % 9 + 1) + "K" + std::to_string(i % 4000);
        s << "<CALL:" << call.size() << ">" << call << "<QSO_DATE:8>2024" << (10 + i % 3)
          << (10 + i % 19) << "<TIME_ON:4>" << (1000 + i % 1300) << "<BAND:3>20m<MODE:2>CW<EOR>\n";
    }
    return s.str();
}

TEST(KillDuringWrite, NewLogLeavesReadableFilesAndNoFalseLog)
{
    if (!toolsPresent())
        GTEST_SKIP() << "python3-dbfread or libdbd-xbase-perl is not installed";
    const fs::path home =
        fs::temp_directory_path() / ("qx7-kill-newlog-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ASSERT_EQ(testing::qx7cli(home, "log create DL1ABC --call DL1ABC").code, 0);
    writeReaders(home);
    const int qsos = 30000;
    std::ofstream(home / "big.adi") << adif(qsos);
    const std::uintmax_t full = 700 + static_cast<std::uintmax_t>(qsos) * 182;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int killed = 0;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::uintmax_t at = full * (5 + rng() % 96) / 100;
        if (!runAndKill(home, {"newlog", (home / "big.adi").string(), "big", "--call", "DL0QX"},
                        home / "logs", "big.dbf", at, static_cast<int>(rng() % 20)))
            continue;
        ++killed;
        // What the run was writing, wherever it is.
        for (const auto& e : fs::recursive_directory_iterator(home / "logs")) {
            if (e.path().extension() == ".dbf" && fs::file_size(e.path()) > 0)
                expectReadable(home, e.path(), "CALL", "CALL");
        }
        const testing::CliResult list = testing::qx7cli(home, "log list");
        ASSERT_EQ(list.code, 0) << list.out;
        std::istringstream lines(list.out);
        for (std::string line; std::getline(lines, line);) {
            const std::string name = line.substr(0, line.find('\t'));
            EXPECT_TRUE(name == "dl1abc" || name == "big") << "listed: " << line;
        }
        // That start removed what the killed run left.
        for (const auto& e : fs::directory_iterator(home / "logs")) {
            const std::string name = e.path().filename().string();
            EXPECT_TRUE(name.rfind("dl1abc.", 0) == 0 || name.rfind("big.", 0) == 0)
                << "left behind: " << name;
        }
        fs::remove(home / "logs" / "big.dbf");
        fs::remove(home / "logs" / "big.mdx");
        fs::remove(home / "logs" / "big.qx7");
    }
    EXPECT_GT(killed, 0) << "every run ended before the kill";
    fs::remove_all(home);
}

TEST(KillDuringWrite, QueueFillLeavesReadableQueueAndLog)
{
    if (!toolsPresent())
        GTEST_SKIP() << "python3-dbfread or libdbd-xbase-perl is not installed";
    const fs::path home =
        fs::temp_directory_path() / ("qx7-kill-fill-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ASSERT_EQ(testing::qx7cli(home, "log create DL1ABC --call DL1ABC").code, 0);
    writeReaders(home);
    const int qsos = 6000;
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "dl1abc.dbf").string(), 0);
        for (int i = 0; i < qsos; ++i) {
            log.append();
            log.setText("CALL", "W" + std::to_string(i % 9) + "K" + std::to_string(i / 2));
            log.setText("DATE", "20240101");
            log.setText("TIME", "1200");
            log.setText("BAND", i % 2 ? "20m" : "40m");
            log.setText("MODE", "CW");
            log.setText("QSLS", "N");
            log.setText("QSLR", "N");
            log.post();
        }
    }
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int killed = 0;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::uintmax_t queueNow =
            fs::exists(home / "qx7pq.dbf") ? fs::file_size(home / "qx7pq.dbf") : 0;
        const std::uintmax_t at = queueNow + 20000 + rng() % 400000;
        if (!runAndKill(home, {"queue", "fill", "dl1abc", "--from", "W", "--to", "W9"}, home,
                        "qx7pq.dbf", at, static_cast<int>(rng() % 20)))
            continue;
        ++killed;
        expectReadable(home, home / "qx7pq.dbf", "INDEXD", "INDEXD");
        expectReadable(home, home / "logs" / "dl1abc.dbf", "CALL", "CALL");
        const testing::CliResult again = testing::qx7cli(home, "queue list");
        EXPECT_EQ(again.code, 0) << again.out;
    }
    EXPECT_GT(killed, 0) << "every run ended before the kill";
    fs::remove_all(home);
}

// Converting into an existing log (write mode 0) appends in batches to a copy of it:
// killed at any moment, both the log and the copy read whole, and the log keeps every
// QSO it had or has every QSO of the run.
TEST(KillDuringWrite, ConvertIntoExistingLogLeavesReadableFiles)
{
    if (!toolsPresent())
        GTEST_SKIP() << "python3-dbfread or libdbd-xbase-perl is not installed";
    const fs::path home =
        fs::temp_directory_path() / ("qx7-kill-update-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ASSERT_EQ(testing::qx7cli(home, "log create DL1ABC --call DL1ABC").code, 0);
    writeReaders(home);
    const int before = 2000;
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "dl1abc.dbf").string(), 0);
        for (int i = 0; i < before; ++i) {
            log.append();
            log.setText("CALL", "W" + std::to_string(i % 9) + "K" + std::to_string(i));
            log.setText("DATE", "20230101");
            log.setText("TIME", "1200");
            log.setText("BAND", "20m");
            log.setText("MODE", "CW");
            log.setText("QSLS", "N");
            log.setText("QSLR", "N");
            log.post();
        }
    }
    const int qsos = 30000;
    {
        std::ofstream out(home / "big.adi");
        out << "<EOH>\n";
        for (int i = 0; i < qsos; ++i) {
            const std::string call = "K" + std::to_string(i % 9 + 1) + "Q" + std::to_string(i);
            out << "<CALL:" << call.size() << ">" << call
                << "<QSO_DATE:8>20240110<TIME_ON:4>1200<BAND:3>40m<MODE:2>CW<EOR>\n";
        }
    }
    const fs::path log = home / "logs" / "dl1abc.dbf";
    const std::uintmax_t start = fs::file_size(log);
    const std::uintmax_t full = start + static_cast<std::uintmax_t>(qsos) * 182;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int killed = 0;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::uintmax_t at = start + (full - start) * (5 + rng() % 90) / 100;
        if (!runAndKill(home,
                        {"convert", "--in", "45:" + (home / "big.adi").string(), "--out",
                         "42:dl1abc", "--write-mode", "0", "--call", "DL1ABC"},
                        home / "logs", "dl1abc.dbf", at, static_cast<int>(rng() % 20)))
            continue;
        ++killed;
        for (const auto& e : fs::recursive_directory_iterator(home / "logs")) {
            if (e.path().extension() == ".dbf" && fs::file_size(e.path()) > 0)
                expectReadable(home, e.path(), "CALL", "CALL");
        }
        const std::uint32_t count = headerCount(log);
        EXPECT_TRUE(count == before || count == before + qsos) << count;
        if (count != before)
            break; // the run got through before the kill; the log is no longer the old one
    }
    EXPECT_GT(killed, 0) << "every run ended before the kill";
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
