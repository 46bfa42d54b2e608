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

TEST(AdifJournal, ModeCutByTheLogFieldIsWrittenWhole)
{
    const QsoFields q{"OE1XYZ", "20240305", "0930", "2m", "DIGITALV", "N", "N", "", 1};
    EXPECT_NE(journalRecord(q, "", "", "").find("<mode:12>DIGITALVOICE "), std::string::npos);
}

// Another program's file: a header of any length, records over several lines.
TEST(AdifJournal, AppendingKeepsEveryRecordOfTheTarget)
{
    testing::TempFolder dir;
    AdifJournal journal(dir.path());
    const std::string target = dir.file("other.adi");
    const std::string header = "Made by another logger\r\n<ADIF_VER:5>3.1.4\r\n"
                               "<PROGRAMID:5>OTHER\r\n<EOH>\r\n";
    const std::string first = "<CALL:4>W1AW <QSO_DATE:8>20240101 <EOR>";
    const std::string second = "<CALL:4>K1AA\r\n<QSO_DATE:8>20240102\r\n<EOR>";
    const std::string third = "<CALL:4>K2BB <QSO_DATE:8>20240103\r\n<EOR>";
    std::ofstream(target, std::ios::binary) << header << first << "\r\n"
                                            << second << "\r\n"
                                            << third << "\r\n";
    journal.addToRecord(adifElement("call", "A1AA"));
    journal.EndAdifRecord();
    journal.CloseAdifExport();
    ASSERT_TRUE(journal.ExportAdifFile(target, true));
    EXPECT_EQ(readAll(target), adifHeader() + first + "\r\n" + second + "\r\n" + third +
                                   "\r\n<call:4>A1AA <eor>\r\n");

    // A file with no header at all loses nothing either.
    std::ofstream(target, std::ios::binary) << first << "\r\n";
    ASSERT_TRUE(journal.ExportAdifFile(target, true));
    EXPECT_EQ(readAll(target), adifHeader() + first + "\r\n<call:4>A1AA <eor>\r\n");
}

} // namespace
} // namespace qx7
