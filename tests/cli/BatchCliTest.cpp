// QSL request lists through the real qx7cli program: import, check against a log, queue.

#include "dbase/Table.h"
#include "RunQx7cli.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

using testing::qx7cli;

fs::path uniqueHome(const std::string& name)
{
    return fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
}

void writeFile(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

TEST(BatchCli, ARequestListReachesTheQueueOnceAndKeepsItsStatus)
{
    const fs::path home = uniqueHome("qx7-cli-batch");
    fs::remove_all(home);
    ASSERT_EQ(qx7cli(home, "log create dx --call QA0XX").code, 0);
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "dx.dbf").string(), 0);
        for (const char* call : {"QA1ABC", "QA1ABC", "QA1ABCD", "K1XYZ"}) {
            log.append();
            log.setText("CALL", call);
            log.setText("DATE", "20030321");
            log.setText("TIME", call[4] == 'B' && log.recordCount() == 2 ? "1400" : "1322");
            log.setText("BAND", "20m");
            log.setText("MODE", "RTTY");
            log.setText("QSLS", "N");
            log.setText("QSLR", "N");
            log.post();
        }
    }
    const fs::path list = home / "requests.txt";
    writeFile(list, "CALL;qa1abc;please direct\nQSO ;QA1ABC;20030321;1322;20m;RTTY\n"
                    "CALL;DL9NOT;\nCALL;K1XYZ;\n");
    auto r = qx7cli(home, "batch import '" + list.string() + "' --own qa0xx");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Callsigns in import file: 3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Callsigns in Batch Input table: 3"), std::string::npos) << r.out;

    r = qx7cli(home, "batch queue dx");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("not in the log: 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Calls printed: 2 (3 QSOs)"), std::string::npos) << r.out;
    r = qx7cli(home, "queue list");
    EXPECT_NE(r.out.find("2 label(s)"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("QA1ABCD"), std::string::npos) << r.out; // only the exact call

    // A second run queues nothing again; a second import leaves printed calls printed.
    r = qx7cli(home, "batch queue dx");
    EXPECT_NE(r.out.find("Calls printed: 0"), std::string::npos) << r.out;
    ASSERT_EQ(qx7cli(home, "batch import '" + list.string() + "' --own QA0XX").code, 0);
    r = qx7cli(home, "batch list");
    EXPECT_NE(r.out.find("QA1ABC | QA0XX | printed | please direct"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DL9NOT | QA0XX | received"), std::string::npos) << r.out;
    fs::remove_all(home);
}

TEST(BatchCli, BadListsAreRefusedAndTheTablesKept)
{
    const fs::path home = uniqueHome("qx7-cli-batch-bad");
    fs::remove_all(home);
    fs::create_directories(home);
    writeFile(home / "good.txt", "CALL;K1AA;\n");
    ASSERT_EQ(qx7cli(home, "batch import '" + (home / "good.txt").string() + "'").code, 0);
    writeFile(home / "picture.txt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    auto r = qx7cli(home, "batch import '" + (home / "picture.txt").string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("not a text file"), std::string::npos) << r.out;
    writeFile(home / "long.txt", "CALL;K2BB;\n" + std::string(100000, 'A') + "\n");
    r = qx7cli(home, "batch import '" + (home / "long.txt").string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("Line 2 is longer"), std::string::npos) << r.out;
    r = qx7cli(home, "batch import '" + (home / "none.txt").string() + "'");
    EXPECT_EQ(r.code, 1);
    r = qx7cli(home, "batch import '" + (home / "good.txt").string() + "' --own \"X' OR 'A\"");
    EXPECT_EQ(r.code, 2);
    r = qx7cli(home, "batch list");
    EXPECT_NE(r.out.find("K1AA"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1 call(s)"), std::string::npos) << r.out;
    fs::remove_all(home);
}

TEST(BatchCli, CheckSaysWhyAClaimFoundNothingAndTakeQueuesTheNearestQso)
{
    const fs::path home = uniqueHome("qx7-cli-batch-take");
    fs::remove_all(home);
    ASSERT_EQ(qx7cli(home, "log create dx --call QA0XX").code, 0);
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "dx.dbf").string(), 0);
        for (const auto& [time, band, mode] :
             {std::tuple{"1322", "20m", "RTTY"}, std::tuple{"1400", "40m", "CW"}}) {
            log.append();
            log.setText("CALL", "QA1ABC");
            log.setText("DATE", "20030321");
            log.setText("TIME", time);
            log.setText("BAND", band);
            log.setText("MODE", mode);
            log.setText("QSLS", "N");
            log.setText("QSLR", "N");
            log.post();
        }
    }
    const fs::path list = home / "requests.txt";
    writeFile(list, "CALL;QA1ABC;\nQSO ;QA1ABC;20030321;1340;20m;RTTY\n"
                    "QSO ;QA1ABC;20030321;1410;20m;CW\nQSO ;QA1ABC;20030321;1330;20m;CW\n"
                    "QSO ;QA1ABC;20030321;1415;80m;SSB\nQSO ;QA1ABC;20030322;0900;20m;RTTY\n"
                    "CALL;DL9NOT;\nQSO ;DL9NOT;20030321;1322;20m;RTTY\n");
    ASSERT_EQ(qx7cli(home, "batch import '" + list.string() + "'").code, 0);

    auto r = qx7cli(home, "batch check dx");
    ASSERT_EQ(r.code, 0) << r.out;
    for (const char* line :
         {"Claimed QSOs found: 1, not found: 5", "DL9NOT | not in log | no such call in the log",
          "    20030321 1340 20m RTTY: found: 20030321 1322 20m RTTY",
          "    20030321 1410 20m CW: other band: nearest 20030321 1400 40m CW (10 min earlier)",
          "    20030321 1330 20m CW: other mode: nearest 20030321 1322 20m RTTY (8 min earlier)",
          "    20030321 1415 80m SSB: other band and mode: nearest 20030321 1400 40m CW (15 min "
          "earlier)",
          "    20030322 0900 20m RTTY: no QSO within \xC2\xB1"
          "30 min; nearest 20030321 1322 20m RTTY (19 h 38 min earlier)",
          "    20030321 1322 20m RTTY: no such call in the log"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;

    // The 40m QSO is taken for the other-band claim, the 20m one for the other-mode claim.
    // Each QSO goes into the queue once: the later claims whose nearest QSO they are find
    // its card sent already.
    r = qx7cli(home, "batch take dx qa1abc");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Queued 20030321 1400 40m CW for the claim 20030321 1410 20m CW"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("QSOs taken instead of claims: 2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Labels in print queue: 1"), std::string::npos) << r.out;
    r = qx7cli(home, "queue list");
    EXPECT_NE(r.out.find("14:00 40m CW"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("13:22 20m RTTY"), std::string::npos) << r.out;
    r = qx7cli(home, "batch list");
    EXPECT_NE(r.out.find("20030321 1410 20m CW | printed"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("20030321 1340 20m RTTY | checked"), std::string::npos) << r.out;

    r = qx7cli(home, "batch take dx DL1NOBODY");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("DL1NOBODY is not requested"), std::string::npos) << r.out;
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
