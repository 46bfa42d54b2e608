// qx7cli print through the real program: layouts that would print nothing or half of
// themselves are refused with the reason, a file that cannot be written says why, and a
// run killed at any moment leaves the queue whole, read back by an outside reader
// (python3-dbfread): no label lost, each one either untouched or marked, and marked only
// when the file holding it is complete.

#include "core/IniFile.h"
#include "dbase/Table.h"
#include "labels/PrinterCalibration.h"
#include "labels/QxdFile.h"
#include "labels/UsedPositions.h"
#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PrintRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::temp_directory_path() /
                 ("qx7-cli-print-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_home);
        ASSERT_EQ(qx7cli(m_home, "queue list").code, 0);
    }
    void TearDown() override { fs::remove_all(m_home); }

    // Labels "K1000X", "K1001X", ... straight into the queue table.
    void queueLabels(int n)
    {
        dbase::Table q;
        q.open((m_home / "qx7pq.dbf").string(), {dbase::OpenMode::Shared, {}});
        for (int i = 0; i < n; ++i) {
            const std::string id = std::to_string(1000 + i);
            q.append();
            q.setText("INDEXB", "K" + id);
            q.setText("INDEXD", std::string(6 - std::min<size_t>(6, id.size()), ' ') + id);
            q.setText("HISCALL", "K" + id + "X");
            q.setText("MYCALL", "OE1XYZ");
            q.setText("NUMQSOS", "1");
            q.setText("A_DATE", "2024-01-01");
            q.setText("A_BAND", "20m");
            q.post();
        }
        q.close();
    }

    // Every queue record as HISCALL=XTRA3, deleted ones with a leading "*", read by
    // python3-dbfread; empty when the reader fails.
    std::vector<std::string> readQueueOutside() const
    {
        const std::string script = "import dbfread,sys\n"
                                   "t=dbfread.DBF(sys.argv[1],encoding='latin-1')\n"
                                   "for r in t: print(r['HISCALL']+'='+r['XTRA3'])\n"
                                   "for r in t.deleted: print('*'+r['HISCALL']+'='+r['XTRA3'])\n";
        const fs::path py = m_home.string() + "-read.py";
        std::ofstream(py) << script;
        const std::string cmd =
            "/usr/bin/python3 '" + py.string() + "' '" + (m_home / "qx7pq.dbf").string() + "'";
        std::vector<std::string> rows;
        FILE* pipe = ::popen(cmd.c_str(), "r");
        char line[256];
        while (pipe && std::fgets(line, sizeof line, pipe)) {
            std::string s(line);
            if (!s.empty() && s.back() == '\n')
                s.pop_back();
            rows.push_back(s);
        }
        if (!pipe || ::pclose(pipe) != 0)
            rows.clear();
        fs::remove(py);
        return rows;
    }

    fs::path m_home;
};

TEST_F(PrintRun, RefusesLayoutsThatPrintNothingOrHalfAndSaysWhy)
{
    queueLabels(3);
    const fs::path layouts = m_home / "layouts";
    const std::string sample = readAll(layouts / "sample.qxd");
    std::ofstream(layouts / "cut.qxd", std::ios::binary) << sample.substr(0, sample.size() / 2);
    LabelLayout blank;
    ASSERT_TRUE(openLayoutFile((layouts / "sample.qxd").string(), blank));
    blank.Page.LeftMargin = blank.Page.Width;
    ASSERT_TRUE(saveLayout((layouts / "blank.qxd").string(), blank));
    const std::string pdf = (m_home / "out.pdf").string();
    const struct
    {
        std::string args;
        std::string says;
    } cases[] = {
        {"--layout cut.qxd --pdf " + pdf, (layouts / "cut.qxd").string()},
        {"--layout cut.qxd --pdf " + pdf, "cut off after line"},
        {"--layout blank.qxd --pdf " + pdf, "no room for a label"},
        {"--pdf " + (m_home / "gone" / "out.pdf").string(),
         "the folder " + (m_home / "gone").string() + " does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const testing::CliResult r = qx7cli(m_home, "print " + c.args);
        EXPECT_EQ(r.code, 1) << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
        EXPECT_FALSE(fs::exists(pdf));
    }
    dbase::Table q;
    q.open((m_home / "qx7pq.dbf").string(), {dbase::OpenMode::ReadOnly, {}});
    EXPECT_EQ(q.recordCount(), 3u);
    for (q.first(); !q.eof(); q.next())
        EXPECT_EQ(q.text("XTRA3"), "");
}

// A sheet fed again: --used names the labels gone from its first sheet. Positions off the
// sheet are refused before anything is printed or marked; a print remembers the list for
// the sheet type (as the print options dialog does), "remembered" takes it, "none" forgets.
TEST_F(PrintRun, UsedLabelsAreSkippedCheckedAndRemembered)
{
    queueLabels(5);
    LabelLayout sample;
    ASSERT_TRUE(openLayoutFile((m_home / "layouts" / "sample.qxd").string(), sample));
    ASSERT_EQ(sample.Page.labelsPerSheet(), 24);
    const std::string sheet = calibrationSheetName(sample.Page);
    const std::string ini = (m_home / "qx7.ini").string();
    const std::string pdf = (m_home / "out.pdf").string();
    std::string first20;
    for (int p = 1; p <= 20; ++p)
        first20 += (p > 1 ? "," : "") + std::to_string(p);

    for (const char* bad : {"1,25", "0", "1,x", "3;4"}) {
        SCOPED_TRACE(bad);
        const testing::CliResult r =
            qx7cli(m_home, "print --pdf " + pdf + " --used '" + std::string(bad) + "'");
        EXPECT_EQ(r.code, 2) << r.out;
        EXPECT_NE(r.out.find("--used"), std::string::npos) << r.out;
        EXPECT_FALSE(fs::exists(pdf));
    }
    EXPECT_NE(qx7cli(m_home, "print --pdf " + pdf + " --used 25")
                  .out.find("Label position 25 is not on the sheet: it has positions 1 to 24."),
              std::string::npos);
    EXPECT_NE(qx7cli(m_home, "preview --png " + (m_home / "p0").string() + " --used 30").code, 0);
    EXPECT_FALSE(IniFile(ini).sectionExists(kUsedPositionsSection));

    // 4 free positions on the first sheet: the fifth label needs a second.
    testing::CliResult r =
        qx7cli(m_home, "preview --png " + (m_home / "p1").string() + " --used " + first20);
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Previewed 5 label(s) on 2 page(s)"), std::string::npos) << r.out;
    EXPECT_FALSE(IniFile(ini).valueExists(kUsedPositionsSection, sheet));

    r = qx7cli(m_home, "print --keep --pdf " + pdf + " --used " + first20);
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Printed 5 label(s) on 2 sheet(s)"), std::string::npos) << r.out;
    EXPECT_EQ(IniFile(ini).readString(kUsedPositionsSection, sheet, ""), first20);
    r = qx7cli(m_home, "preview --png " + (m_home / "p2").string() + " --used remembered");
    EXPECT_NE(r.out.find("on 2 page(s)"), std::string::npos) << r.out;

    queueLabels(3);
    r = qx7cli(m_home, "--yes print --keep --pdf " + (m_home / "b.pdf").string() + " --used none");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Printed 3 label(s) on 1 sheet(s)"), std::string::npos) << r.out;
    EXPECT_FALSE(IniFile(ini).valueExists(kUsedPositionsSection, sheet));
}

// SIGKILL at random moments of `qx7cli print --pdf`, each time on a fresh copy of the
// same queue. Labels are marked only once out.pdf is complete under its name; a killed
// run never leaves a half-written out.pdf; marks a kill interrupted are finished by the
// next run, which leaves out the labels printed already and says so.
TEST_F(PrintRun, KilledAtAnyMomentLosesNoLabelAndMarksOnlyWhatIsInTheFile)
{
    if (std::system("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-dbfread is not installed";
    constexpr int kLabels = 100;
    queueLabels(kLabels);
    const fs::path pristine = m_home.string() + "-pristine";
    fs::remove_all(pristine);
    fs::copy(m_home, pristine, fs::copy_options::recursive);
    const std::string pdf = (m_home / "out.pdf").string();
    const std::string binary = std::string(QX7_BINARY_DIR) + "/cli/qx7cli";
    const auto start = [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            ::execl(binary.c_str(), binary.c_str(), "--home", m_home.c_str(), "--yes", "print",
                    "--pdf", pdf.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    };
    // How long a whole run takes here, so that the kills spread over all of it.
    const auto t0 = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(start(), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - t0);
    std::set<std::string> calls;
    for (int i = 0; i < kLabels; ++i)
        calls.insert("K" + std::to_string(1000 + i) + "X");

    std::mt19937 random(::testing::UnitTest::GetInstance()->random_seed());
    for (int kill = 0; kill < 10; ++kill) {
        fs::remove_all(m_home);
        fs::copy(pristine, m_home, fs::copy_options::recursive);
        const std::chrono::microseconds delay(
            static_cast<long long>(static_cast<double>(whole.count()) *
                                   std::uniform_real_distribution<double>(0.0, 1.1)(random)));
        const pid_t pid = start();
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us");

        const std::vector<std::string> rows = readQueueOutside();
        ASSERT_FALSE(rows.empty()) << "the queue must stay readable";
        std::set<std::string> seen;
        int marked = 0, live = 0, liveMarked = 0;
        for (const std::string& row : rows) {
            const bool deleted = row.front() == '*';
            const size_t eq = row.find('=');
            const std::string call = row.substr(deleted ? 1 : 0, eq - (deleted ? 1 : 0));
            const std::string mark = row.substr(eq + 1);
            ASSERT_TRUE(mark.empty() || mark == "printed") << row;
            if (deleted) { // only a printed label may leave the queue
                ASSERT_EQ(mark, "printed") << row;
            }
            marked += mark == "printed";
            live += deleted ? 0 : 1;
            liveMarked += !deleted && mark == "printed";
            seen.insert(call);
        }
        EXPECT_EQ(seen, calls) << "no label lost";
        const bool complete = fs::exists(pdf) && readAll(pdf).find("%%EOF") != std::string::npos;
        if (marked > 0) {
            EXPECT_TRUE(complete) << "labels marked before their file was complete";
        }
        if (fs::exists(pdf)) {
            EXPECT_TRUE(complete) << "a half-written out.pdf";
        }
        // A run stopped while marking has noted what it was marking; the next open of
        // the queue finishes the marks.
        const bool marking = fs::exists(m_home / "qx7pq.marking");
        if (marking) {
            EXPECT_TRUE(complete) << "marks noted before their file was complete";
        }
        if (marked > 0 && marked < kLabels) {
            EXPECT_TRUE(fs::exists(m_home / "qx7pq.marking")) << "a run half marked: " << marked;
        }

        const testing::CliResult next = qx7cli(m_home, "--yes print --keep --pdf " + pdf);
        if (live == 0) { // the killed run got as far as emptying the queue
            EXPECT_EQ(next.code, 1) << next.out;
            EXPECT_NE(next.out.find("is empty"), std::string::npos) << next.out;
        } else if (liveMarked > 0 || marking) {
            EXPECT_EQ(next.code, 1) << next.out;
            EXPECT_NE(next.out.find("holds only labels printed already"), std::string::npos)
                << next.out;
        } else {
            EXPECT_EQ(next.code, 0) << next.out;
        }
        EXPECT_FALSE(fs::exists(m_home / "qx7pq.marking"));
    }
    fs::remove_all(pristine);
}

} // namespace
} // namespace qx7
