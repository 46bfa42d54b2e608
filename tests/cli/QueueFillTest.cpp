// The road from a log to labels through the real qx7cli program: create a log, fill it,
// queue it, and look at the queue table and the log afterwards.

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
using Result = testing::CliResult;

// Builds of other branches may run these tests at the same time on this machine.
fs::path uniqueHome(const std::string& name)
{
    return fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
}

TEST(QueueFill, FromALogToTheQueueAndBack)
{
    const fs::path home = uniqueHome("qx7-cli-queue-fill");
    fs::remove_all(home);
    ASSERT_EQ(qx7cli(home, "log create OE1XYZ --call OE1XYZ").code, 0);
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "oe1xyz.dbf").string(), 0);
        struct Row
        {
            const char *call, *date, *band, *mode, *qsls, *qmgr;
        };
        const Row rows[] = {
            {"DL1AA", "20240101", "20m", "CW", "N", ""},
            {"DL1AA", "20240102", "20m", "CW", "N", ""},  // same pair, newer: this one
            {"DL2BB", "20240103", "40m", "SSB", "Y", ""}, // confirmed already
            {"DM3CC", "20240104", "20m", "FT8", "N", "DL9XX"},
            {"W0ABC", "20240105", "15m", "CW", "N", ""},
        };
        for (const auto& r : rows) {
            log.append();
            log.setText("CALL", r.call);
            log.setText("DATE", r.date);
            log.setText("TIME", "1200");
            log.setText("BAND", r.band);
            log.setText("MODE", r.mode);
            log.setText("QSLS", r.qsls);
            log.setText("QSLR", "N");
            log.setText("QMGR", r.qmgr);
            log.post();
        }
    }
    const Result fill = qx7cli(home, "--yes queue fill oe1xyz --from DL --to DM9");
    ASSERT_EQ(fill.code, 0) << fill.out;
    EXPECT_NE(fill.out.find("Labels in print queue: 2 (2 new)"), std::string::npos) << fill.out;

    dbase::Table queue;
    queue.open((home / "qx7pq.dbf").string(), {dbase::OpenMode::ReadOnly, {}});
    queue.setIndex("INDEXD");
    std::vector<std::string> labels;
    for (queue.first(); !queue.eof(); queue.next())
        labels.push_back(queue.text("HISCALL") + "|" + queue.text("MANAGER") + "|" +
                         queue.text("MYCALL") + "|" + queue.text("A_DATE"));
    EXPECT_EQ(labels, (std::vector<std::string>{"DL1AA||OE1XYZ|2024-01-02",
                                                "DM3CC|DL9XX|OE1XYZ|2024-01-04"}));
    queue.close();

    dbase::Table log;
    log.open((home / "logs" / "oe1xyz.dbf").string(), {dbase::OpenMode::ReadOnly, {}});
    std::vector<std::string> sent;
    for (log.first(); !log.eof(); log.next())
        sent.push_back(log.text("QSLS") + (log.text("DATS").empty() ? "-" : "+"));
    EXPECT_EQ(sent, (std::vector<std::string>{"N-", "Y+", "Y-", "Y+", "N-"}));
    log.close();

    const Result list = qx7cli(home, "queue list");
    EXPECT_NE(list.out.find("2 label(s)"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("| via:  DL9XX |"), std::string::npos) << list.out;
    const Result exported = qx7cli(home, "queue export-adif '" + (home / "out.adi").string() + "'");
    ASSERT_EQ(exported.code, 0) << exported.out;
    std::ifstream adi(home / "out.adi");
    const std::string text((std::istreambuf_iterator<char>(adi)), {});
    EXPECT_NE(text.find("<call:5>DM3CC "), std::string::npos);
    EXPECT_NE(text.find("<qsl_via:5>DL9XX "), std::string::npos);

    const Result stats = qx7cli(home, "stats oe1xyz");
    EXPECT_NE(stats.out.find("QSOs: 5"), std::string::npos) << stats.out;
    EXPECT_EQ(qx7cli(home, "queue empty").code, 0);
    EXPECT_NE(qx7cli(home, "queue list").out.find("0 label(s)"), std::string::npos);
    EXPECT_EQ(qx7cli(home, "queue fill nosuchlog").code, 1);

    // A listener's reports become labels of their own.
    for (const char* heard : {"DL1AA", "DL2BB"})
        ASSERT_EQ(
            qx7cli(home, std::string("swl add ") + heard + " 20240101 0930 20m SSB --mycall OE1XYZ")
                .code,
            0);
    EXPECT_NE(qx7cli(home, "swl list").out.find("2 report(s)"), std::string::npos);
    EXPECT_NE(qx7cli(home, "swl queue ONL1234").out.find("(1 new)"), std::string::npos);
    EXPECT_NE(qx7cli(home, "swl list").out.find("0 report(s)"), std::string::npos);
    EXPECT_EQ(qx7cli(home, "swl add DL1AA").code, 2);
    fs::remove_all(home);
}

TEST(QueueFill, APrintedLabelThatIsKeptTakesNoMoreQsos)
{
    const fs::path home = uniqueHome("qx7-cli-printed-kept");
    fs::remove_all(home);
    fs::create_directories(home);
    std::ofstream(home / "a.adi") << "header <eoh>\n"
                                     "<call:5>DL1AA <qso_date:8>20240101 <time_on:4>1200 "
                                     "<band:3>20m <mode:2>CW <eor>\n";
    std::ofstream(home / "b.adi") << "header <eoh>\n"
                                     "<call:5>DL1AA <qso_date:8>20240201 <time_on:4>1200 "
                                     "<band:3>40m <mode:2>CW <eor>\n";
    for (const char* log : {"a", "b"})
        ASSERT_EQ(qx7cli(home, "newlog '" + (home / (std::string(log) + ".adi")).string() + "' " +
                                   log + " --call OE1XYZ")
                      .code,
                  0);
    ASSERT_EQ(qx7cli(home, "--yes queue fill a").code, 0);
    const Result kept =
        qx7cli(home, "--yes print --pdf '" + (home / "1.pdf").string() + "' --keep");
    ASSERT_EQ(kept.code, 0) << kept.out;
    const Result fill = qx7cli(home, "--yes queue fill b");
    EXPECT_NE(fill.out.find("Labels in print queue: 2 (1 new)"), std::string::npos) << fill.out;
    const Result list = qx7cli(home, "queue list");
    EXPECT_NE(list.out.find("| DL1AA | DL1AA |  | OE1XYZ | 1 | printed\n"
                            "    A: 2024-01-01 12:00 20m CW  PSE\n"
                            "     2 |"),
              std::string::npos)
        << list.out;

    // A listener's reports stay when their label cannot be written.
    for (const char* heard : {"DL1AA", "DL2BB", "DL3CC"})
        ASSERT_EQ(qx7cli(home, std::string("swl add ") + heard + " 20240101 0930 20m SSB").code, 0);
    EXPECT_EQ(qx7cli(home, "swl queue ''").code, 1);
    EXPECT_NE(qx7cli(home, "swl list").out.find("3 report(s)"), std::string::npos);
    fs::remove_all(home);
}

} // namespace
} // namespace qx7

namespace qx7 {
namespace {

TEST(QueueFill, ThePrintTimeFlagsOfTheRunAreWrittenIntoTheQueuedQsos)
{
    const fs::path home = uniqueHome("qx7-cli-print-flags");
    fs::remove_all(home);
    fs::create_directories(home);
    std::ofstream(home / "a.adi") << "header <eoh>\n"
                                     "<call:5>DL1AA <qso_date:8>20240101 <time_on:4>1200 "
                                     "<band:3>20m <mode:2>CW <qsl_rcvd:1>Y <eor>\n"
                                     "<call:5>DL2BB <qso_date:8>20240102 <time_on:4>1200 "
                                     "<band:3>40m <mode:2>CW <eor>\n";
    ASSERT_EQ(qx7cli(home, "newlog '" + (home / "a.adi").string() + "' a --call OE1XYZ").code, 0);
    const Result bad = qx7cli(home, "--yes queue fill a --sent-flag Q");
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.out.find("--sent-flag takes one of Y B D I N or - (no change), not \"Q\""),
              std::string::npos)
        << bad.out;
    const Result fill = qx7cli(home, "--yes queue fill a --sent-flag b --rcvd-flag -");
    ASSERT_EQ(fill.code, 0) << fill.out;
    EXPECT_NE(fill.out.find("(2 new)"), std::string::npos) << fill.out;
    dbase::Table log;
    log.open((home / "logs" / "a.dbf").string(), {dbase::OpenMode::ReadOnly, {}});
    std::vector<std::string> flags;
    for (log.first(); !log.eof(); log.next())
        flags.push_back(log.text("CALL") + ":" + log.text("QSLS") + log.text("QSLR"));
    EXPECT_EQ(flags, (std::vector<std::string>{"DL1AA:BY", "DL2BB:BN"}));
    log.close();
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
