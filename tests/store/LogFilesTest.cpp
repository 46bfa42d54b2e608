// The rows of the open-log list, read from descriptors and table headers, for good,
// damaged and busy logs; deleting a log; and the statistics report's table.

#include "TempFolder.h"

#include "store/LogFiles.h"
#include "store/LogTable.h"
#include "store/StatisticsReport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

void makeLog(const std::string& folder, const std::string& name, const std::string& call, int qsos)
{
    ASSERT_TRUE(CreateLogTable(folder, name));
    const LogPaths p = logPaths(folder, name);
    ASSERT_TRUE(CreateLogDescriptor(p.table));
    writeLogDescriptor(p.descriptor, {call, {}});
    dbase::Table t;
    openLog(t, p.table, 0);
    for (int i = 0; i < qsos; ++i) {
        t.append();
        t.setText("CALL", "DL" + std::to_string(i) + "AA");
        t.setText("DATE", "20240101");
        t.setText("TIME", "1200");
        t.post();
    }
    t.close();
}

const LogFileRow* rowNamed(const std::vector<LogFileRow>& rows, const std::string& name)
{
    for (const LogFileRow& r : rows)
        if (r.name == name)
            return &r;
    return nullptr;
}

TEST(LogFiles, HeaderDatesFollowTheYearByteRules)
{
    const struct
    {
        int y, m, d;
        const char* text;
    } cases[] = {{103, 3, 21, "2003.03.21"},
                 {5, 1, 2, "2005.01.02"},
                 {50, 12, 31, "2050.12.31"},
                 {51, 6, 1, "1951.06.01"},
                 {150, 6, 1, "2050.06.01"},
                 {24, 2, 29, "2024.02.29"},
                 {23, 2, 29, ""},
                 {24, 13, 1, ""},
                 {24, 4, 0, ""},
                 {24, 4, 31, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(dbaseHeaderDate(c.y, c.m, c.d), c.text) << c.y << ' ' << c.m << ' ' << c.d;
    EXPECT_EQ(dbaseHeaderYear(200), 200);
}

TEST(LogFiles, GoodDamagedShortAndMissingLogsEachGetTheirRow)
{
    testing::TempFolder dir;
    makeLog(dir.path(), "good", "DL0QX", 3);
    makeLog(dir.path(), "cut", "DL1CUT", 5);
    makeLog(dir.path(), "short", "DL2SH", 1);
    makeLog(dir.path(), "nodbf", "DL3NO", 1);
    std::ofstream(dir.file("broken.qx7"), std::ios::binary) << "this is no table";
    std::ofstream(dir.file("broken.dbf"), std::ios::binary) << "nor this";
    fs::resize_file(dir.file("cut.dbf"), fs::file_size(dir.file("cut.dbf")) - 40);
    fs::resize_file(dir.file("short.dbf"), 20);
    fs::remove(dir.file("nodbf.dbf"));

    const auto rows = readLogFolder(dir.path());
    ASSERT_EQ(rows.size(), 5u);
    const LogFileRow* good = rowNamed(rows, "good");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->call, "DL0QX");
    EXPECT_EQ(good->qsos, "3");
    EXPECT_EQ(good->lastChanged.size(), 10u);
    EXPECT_TRUE(good->usable());
    EXPECT_EQ(rowNamed(rows, "broken")->call, kDamagedDescriptor);
    EXPECT_EQ(rowNamed(rows, "broken")->qsos, "?");
    EXPECT_EQ(rowNamed(rows, "cut")->lastChanged, kTableDamaged);
    EXPECT_EQ(rowNamed(rows, "short")->qsos, "?");
    EXPECT_FALSE(rowNamed(rows, "short")->usable());
    EXPECT_EQ(rowNamed(rows, "nodbf")->qsos, "");
    EXPECT_EQ(rowNamed(rows, "nodbf")->lastChanged, kTableMissing);
}

TEST(LogFiles, ALogAnotherProcessWritesIsInUseButNotOneThisProcessWrites)
{
    testing::TempFolder dir;
    makeLog(dir.path(), "busy", "DL0QX", 2);
    const std::string table = logPaths(dir.path(), "busy").table;
    {
        dbase::Table own;
        openLog(own, table, 0);
        EXPECT_FALSE(readLogFileRow(dir.file("busy.qx7")).inUse);
    }
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        dbase::Table t;
        openLog(t, table, 0);
        char ok = 'y';
        (void)::write(fds[1], &ok, 1);
        for (;;)
            ::pause();
    }
    char ok = 'n';
    ASSERT_EQ(::read(fds[0], &ok, 1), 1);
    const LogFileRow row = readLogFileRow(dir.file("busy.qx7"));
    std::string why;
    const bool deleted = deleteLogFiles(dir.path(), "busy", &why);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_TRUE(row.inUse);
    EXPECT_EQ(row.lastChanged, kLogInUse);
    EXPECT_EQ(row.qsos, "2");
    EXPECT_FALSE(deleted);
    EXPECT_EQ(why, kLogInUse);
    EXPECT_TRUE(fs::exists(dir.file("busy.qx7")));
    EXPECT_FALSE(readLogFileRow(dir.file("busy.qx7")).inUse);
}

TEST(LogFiles, DeletingRemovesTheThreeFilesAndSkipsMissingOnes)
{
    testing::TempFolder dir;
    makeLog(dir.path(), "gone", "DL0QX", 1);
    makeLog(dir.path(), "half", "DL0QX", 1);
    fs::remove(dir.file("half.dbf"));
    for (const char* name : {"gone", "half"}) {
        std::string why;
        EXPECT_TRUE(deleteLogFiles(dir.path(), name, &why)) << why;
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
    {
        dbase::Table open;
        makeLog(dir.path(), "open", "DL0QX", 1);
        openLog(open, dir.file("open.dbf"), 0);
        EXPECT_FALSE(deleteLogFiles(dir.path(), "open"));
    }
    EXPECT_TRUE(fs::exists(dir.file("open.qx7")));
}

TEST(LogFiles, FooterLinesAreStoredAfterTheCallRecord)
{
    testing::TempFolder dir;
    makeLog(dir.path(), "f", "DL0QX", 0);
    const std::string d = logPaths(dir.path(), "f").descriptor;
    writeLogDescriptor(d, {"DL0QX", {"Tnx QSO", "73"}});
    dbase::Table t;
    t.open(d, {dbase::OpenMode::ReadOnly, {}});
    std::vector<std::string> records;
    for (t.first(); !t.eof(); t.next())
        records.push_back(t.text("KEY0") + "=" + t.text("KEY1"));
    EXPECT_EQ(records, (std::vector<std::string>{"000=DL0QX", "001=Tnx QSO", "002=73"}));
    t.close();
    EXPECT_FALSE(fs::exists(d + ".new"));
    // A descriptor held elsewhere is not rewritten and keeps its lines.
    dbase::Table holder;
    holder.open(d, {dbase::OpenMode::Exclusive, {}});
    EXPECT_THROW(writeLogDescriptor(d, {"DL0QX", {}}), dbase::Error);
    holder.close();
    EXPECT_EQ(readLogDescriptor(d).footerLines.size(), 2u);
}

TEST(StatisticsReport, OneBandAndModeGiveOneColumnOneRowAndTheLogSize)
{
    ScanStatistics s;
    const int cw = 4, m20 = 7; // indexes in the mode and band tables
    s.LogSize = 7;
    s.BandTotals[m20] = 7;
    s.ModeBandCounts[cw].total = 7;
    s.ModeBandCounts[cw].perBand[m20] = 7;
    s.QSOsPrinted = 5;
    s.LabelsNeeded = 2;
    s.BandsPerStation[1] = 3;
    s.BandsPerStation[12] = 1;
    const auto table = statisticsTable(s);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], "            CW    band");
    EXPECT_EQ(table[1], std::string(table[0].size(), '-'));
    EXPECT_EQ(table[2], "   20m       7       7");
    EXPECT_EQ(table[3], table[1]);
    EXPECT_EQ(table[4], "  mode       7       7");
    const auto report = statisticsReport(s, {"mylog", "DL0QX", 6, "/x/layouts/card.qxd"});
    EXPECT_EQ(report[1], "Log:            mylog");
    EXPECT_EQ(report[3], "Calculated for: 6 QSO lines on label design card.qxd");
    const std::vector<std::string> tail(report.end() - 6, report.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"", "QSOs printed:         5", "Labels needed:        2",
                                        "", " 1-Band QSOs:         3", "12-Band QSOs:         1"}));
}

} // namespace
} // namespace qx7
