// A failure says what failed and why, and never ends with exit code 0: a home that is a
// file, an export into a missing folder, a print run whose folders refuse writes. A run
// that cannot write everything it touches changes nothing.

#include "dbase/Table.h"
#include "RunQx7cli.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;
using testing::shell;

fs::path freshHome(const std::string& name)
{
    const fs::path home = fs::temp_directory_path() / name;
    shell("chmod -R u+rwX '" + home.string() + "'");
    fs::remove_all(home);
    return home;
}

void makeLog(const fs::path& home, const std::string& name, int stations)
{
    ASSERT_EQ(qx7cli(home, "log create " + name + " --call OE1XYZ").code, 0);
    dbase::Table log;
    openLog(log, (home / "logs" / (name + ".dbf")).string(), 0);
    for (int i = 0; i < stations; ++i) {
        log.append();
        log.setText("CALL", "DL" + std::to_string(1000 + i));
        log.setText("DATE", "20240101");
        log.setText("TIME", "1200");
        log.setText("BAND", "20m");
        log.setText("MODE", "CW");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
        log.post();
    }
}

// Runs qx7cli where `folder` refuses new files: as root (who may write anywhere) the
// program runs as "nobody"; otherwise the folder's write permission is taken away.
testing::CliResult runWithFolderLocked(const fs::path& home, const fs::path& folder,
                                       const std::string& args)
{
    shell("chmod -R a+rwX '" + home.string() + "'");
    shell("chmod 555 '" + folder.string() + "'");
    const std::string prefix =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const testing::CliResult r =
        shell(prefix + testing::qx7cliPath() + " --home '" + home.string() + "' " + args);
    shell("chmod 755 '" + folder.string() + "'");
    return r;
}

std::vector<std::string> sentStates(const fs::path& table)
{
    dbase::Table log;
    log.open(table, {dbase::OpenMode::ReadOnly, {}});
    std::vector<std::string> states;
    for (log.first(); !log.eof(); log.next())
        states.push_back(log.text("QSLS"));
    return states;
}

TEST(FailureReports, AHomeThatIsAFileFails)
{
    const fs::path file = fs::temp_directory_path() / "qx7-home-is-a-file";
    fs::remove_all(file);
    std::ofstream(file) << "not a folder\n";
    const auto r = qx7cli(file, "settings");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("is a file, not a folder"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Error: Error:"), std::string::npos) << r.out;
    fs::remove(file);
}

TEST(FailureReports, AnExportThatWritesNothingFails)
{
    const fs::path home = freshHome("qx7-cli-export-nowhere");
    makeLog(home, "oe1xyz", 3);
    const auto nothingYet = qx7cli(home, "queue export-adif '" + (home / "x.adi").string() + "'");
    EXPECT_EQ(nothingYet.code, 1) << nothingYet.out;
    EXPECT_NE(nothingYet.out.find("nothing to export"), std::string::npos) << nothingYet.out;
    EXPECT_FALSE(fs::exists(home / "x.adi"));

    ASSERT_EQ(qx7cli(home, "--yes queue fill oe1xyz").code, 0);
    const auto nowhere = qx7cli(home, "queue export-adif /nonexistent/x.adi");
    EXPECT_EQ(nowhere.code, 1) << nowhere.out;
    EXPECT_EQ(nowhere.out.find("Exported"), std::string::npos) << nowhere.out;
    EXPECT_NE(nowhere.out.find("/nonexistent does not exist"), std::string::npos) << nowhere.out;
    fs::remove_all(home);
}

TEST(FailureReports, APrintRunThatCannotWriteEverythingChangesNothing)
{
    const fs::path home = freshHome("qx7-cli-locked-folders");
    makeLog(home, "oe1xyz", 60);
    ASSERT_EQ(qx7cli(home, "stats oe1xyz").code, 0); // the log's index is current
    const fs::path table = home / "logs" / "oe1xyz.dbf";
    const std::vector<std::string> unmarked(60, "N");
    for (const char* folder : {"logs", "tmp"}) {
        SCOPED_TRACE(folder);
        const auto r = runWithFolderLocked(home, home / folder, "--yes queue fill oe1xyz");
        EXPECT_EQ(r.code, 1) << r.out;
        EXPECT_NE(r.out.find("cannot be written"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find((home / folder).string()), std::string::npos) << r.out;
        EXPECT_EQ(sentStates(table), unmarked);
        const auto list = qx7cli(home, "queue list");
        EXPECT_NE(list.out.find("0 label(s)"), std::string::npos) << list.out;
    }
    // With the folders writable again the same run goes through.
    const auto r = qx7cli(home, "--yes queue fill oe1xyz");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(sentStates(table), std::vector<std::string>(60, "Y"));
    fs::remove_all(home);
}

// A print run from a queue that cannot be written would print labels it can neither mark
// nor remove, and the next run would print them again: it prints nothing and says why.
TEST(FailureReports, APrintRunFromAReadOnlyQueuePrintsNothing)
{
    const fs::path home = freshHome("qx7-cli-read-only-queue");
    makeLog(home, "oe1xyz", 5);
    ASSERT_EQ(qx7cli(home, "--yes queue fill oe1xyz").code, 0);
    const fs::path queue = home / "qx7pq.dbf";
    const fs::path pdf = home / "tmp" / "out.pdf";
    for (const char* keep : {"", "--keep "}) {
        SCOPED_TRACE(keep);
        const auto r = runWithFolderLocked(
            home, queue, std::string("print ") + keep + "--pdf '" + pdf.string() + "'");
        EXPECT_EQ(r.code, 1) << r.out;
        EXPECT_NE(r.out.find("nothing printed"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(queue.string() + " cannot be written"), std::string::npos) << r.out;
        EXPECT_FALSE(fs::exists(pdf));
    }
    const auto list = qx7cli(home, "queue list");
    EXPECT_NE(list.out.find("5 label(s)"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("printed"), std::string::npos) << list.out;
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
