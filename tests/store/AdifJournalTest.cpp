#include "store/AdifJournal.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AdifJournal, RecordsAreLinesWithLengthsInCharacters)
{
    QsoFields q{"OE1XYZ", "20240305", "0930", "20m", "ssb", "B", "N", "-NONE", 1};
    EXPECT_EQ(journalRecord(q, "59", "", "tnx f\xC3\xBCr QSO"),
              "<call:6>OE1XYZ <qso_date:8>20240305 <time_on:4>0930 <band:3>20M <mode:3>SSB "
              "<rst_sent:2>59 <rst_rcvd:0> <comment:11>tnx f\xC3\xBCr QSO <qsl_sent:1>Y "
              "<qsl_rcvd:1>N ");
    q.qmgr = "W1XX";
    EXPECT_NE(journalRecord(q, "", "", "").find("<qsl_via:4>W1XX "), std::string::npos);
}

TEST(AdifJournal, ExportKeepsEachRecordOnceAndLeavesTargetsAloneWithoutAJournal)
{
    testing::TempFolder dir;
    AdifJournal journal(dir.path());
    const std::string target = dir.file("out.adi");
    std::ofstream(target) << "untouched";
    EXPECT_TRUE(journal.ExportAdifFile(target, true)); // no journal yet: nothing to do
    EXPECT_EQ(readAll(target), "untouched");

    for (const char* call : {"A1AA", "B1BB"}) {
        journal.addToRecord(adifElement("call", call));
        journal.EndAdifRecord();
    }
    journal.CloseAdifExport();
    ASSERT_TRUE(journal.ExportAdifFile(target, false));
    const std::string once = readAll(target);
    EXPECT_EQ(once, adifHeader() + "<call:4>A1AA <eor>\r\n<call:4>B1BB <eor>\r\n");
    // Appending the same journal again adds nothing; a new record is added at the end.
    ASSERT_TRUE(journal.ExportAdifFile(target, true));
    EXPECT_EQ(readAll(target), once);
    journal.addToRecord(adifElement("call", "C1CC"));
    journal.EndAdifRecord();
    ASSERT_TRUE(journal.ExportAdifFile(target, true));
    EXPECT_EQ(readAll(target), once + "<call:4>C1CC <eor>\r\n");

    journal.DiscardAdifExport();
    EXPECT_FALSE(std::filesystem::exists(journal.path()));
}

} // namespace
} // namespace qx7
