#include "store/BatchFile.h"
#include "core/Prompter.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qx7 {
namespace {

using testing::TempFolder;

TEST(BatchFile, CallAndQsoLinesAreSortedOutAndMarkupDropped)
{
    const auto list = parseBatchText("  CALL;qa1abc;please direct  \r\n"
                                     "<tr><td>CALL;W1AW;in a markup line</td></tr>\n"
                                     "QSO ;qa1abc;20030321;1322;20m;RTTY\n"
                                     "QSO ;QA1ABC;20030322;0800;40m;CW;my second\r"
                                     "CALL;QA1ABC\n"               // no ";" after the call
                                     "QSO ;QA1ABC;20030321;1322\n" // cut short
                                     "just a remark\n");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->lines.size(), 6u); // only the markup line is gone
    ASSERT_EQ(list->calls.size(), 1u);
    EXPECT_EQ(list->calls[0].call, "QA1ABC");
    EXPECT_EQ(list->calls[0].comment, "please direct");
    ASSERT_EQ(list->qsos.size(), 2u);
    EXPECT_EQ(list->qsos[0].call, "QA1ABC");
    EXPECT_EQ(list->qsos[0].mode, "RTTY");
    EXPECT_EQ(list->qsos[0].comment, "");
    EXPECT_EQ(list->qsos[1].time, "0800");
    EXPECT_EQ(list->qsos[1].mode, "CW");
    EXPECT_EQ(list->qsos[1].comment, "my second");
}

TEST(BatchFile, WebPagesGiveTheirTextLines)
{
    const std::string page = "<!DOCTYPE html><html><head><title>Requests</title>"
                             "<style>p{color:red}</style><script>var x='CALL;NO;';</script>"
                             "</head><body><p>CALL;QA1ABC;via &amp; direct</p>"
                             "QSO ;QA1ABC;20030321;1322;20m;RTTY<br>"
                             "<table><tr><td>CALL;K1XYZ;</td></tr></table><!-- CALL;HIDDEN; -->"
                             "</body></html>";
    EXPECT_TRUE(looksLikeHtml(page));
    const auto list = parseBatchBytes(page, false);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->calls.size(), 2u);
    EXPECT_EQ(list->calls[0].comment, "via & direct");
    EXPECT_EQ(list->calls[1].call, "K1XYZ");
    EXPECT_EQ(list->qsos.size(), 1u);
}

TEST(BatchFile, WhatIsNoListIsRefusedWithAReason)
{
    std::string error;
    EXPECT_FALSE(parseBatchBytes(std::string("CALL;A;\0\x01\x02", 10), false, &error));
    EXPECT_NE(error.find("not a text file"), std::string::npos);
    error.clear();
    EXPECT_FALSE(
        parseBatchBytes("CALL;A;\n" + std::string(kBatchMaxLineLength + 1, 'x'), false, &error));
    EXPECT_NE(error.find("Line 2"), std::string::npos);
    error.clear();
    TempFolder dir;
    EXPECT_FALSE(readBatchFile(dir.file("missing.txt"), &error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
    // Windows-1252 comments arrive as UTF-8.
    const auto list = parseBatchBytes("CALL;OE1X;Gr\xFC\xDF"
                                      "e",
                                      false);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->calls[0].comment, "Gr\xC3\xBC\xC3\x9F"
                                      "e");
}

TEST(BatchFile, OwnCallsCannotReachAFilterExpression)
{
    EXPECT_TRUE(isValidOwnCall("QA0XX/P"));
    EXPECT_TRUE(isValidOwnCall(""));
    EXPECT_FALSE(isValidOwnCall("X' OR 'A"));
}

class BatchImport : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(batch.OpenBatchTables()); }
    std::string statusOf(const std::string& call)
    {
        return batch.BatchInputTable1().findKey(call) ? batch.BatchInputTable1().text("STATUS")
                                                      : "none";
    }
    size_t count(dbase::Table& t)
    {
        size_t n = 0;
        for (t.first(); !t.isEmpty() && !t.eof(); t.next())
            ++n;
        return n;
    }
    TempFolder dir;
    ScriptedPrompter prompter;
    BatchInput batch{dir.path(), 4, prompter};
};

TEST_F(BatchImport, ASecondImportAddsNoDuplicatesAndKeepsPrintedCalls)
{
    const auto list = parseBatchText("CALL;QA1ABC;please direct\n"
                                     "QSO ;QA1ABC;20030321;1322;20m;RTTY\n"
                                     "CALL;K1XYZ;\nCALL;W1AW;\n"
                                     "QSO ;NOBODY;20030321;1322;20m;RTTY\n");
    ASSERT_TRUE(list);
    BatchImportCounts c = importBatchList(batch, *list, "QA0XX");
    EXPECT_EQ(c.callsAdded, 3);
    EXPECT_EQ(c.qsosAdded, 1);
    EXPECT_EQ(c.qsosIgnored, 1); // NOBODY asked for no card
    ASSERT_TRUE(batch.BatchInputTable1().findKey("QA1ABC"));
    EXPECT_EQ(batch.BatchInputTable1().text("COMMENT"), "please direct");
    EXPECT_EQ(batch.BatchInputTable1().text("MYCALL"), "QA0XX");
    EXPECT_EQ(count(batch.BatchInputTable2()), 1u);

    for (const auto& [call, status] : {std::pair{"QA1ABC", "2"}, {"K1XYZ", "3"}}) {
        ASSERT_TRUE(batch.BatchInputTable1().findKey(call));
        batch.BatchInputTable1().edit();
        batch.BatchInputTable1().setText("STATUS", status);
        batch.BatchInputTable1().post();
    }
    c = importBatchList(batch, *list, "QA0XX");
    EXPECT_EQ(c.callsAdded, 0);
    EXPECT_EQ(c.callsKept, 1);
    EXPECT_EQ(c.qsosAdded, 0);
    EXPECT_EQ(statusOf("QA1ABC"), "2");
    EXPECT_EQ(statusOf("K1XYZ"), "0");
    EXPECT_EQ(count(batch.BatchInputTable1()), 3u);
    EXPECT_TRUE(batch.BatchInputTable1().filter().empty()); // left unfiltered
}

TEST_F(BatchImport, ALogSeesItsOwnRequestsAndThoseForEveryLog)
{
    importBatchList(batch, *parseBatchText("CALL;K1AA;\n"), "");
    importBatchList(batch, *parseBatchText("CALL;K2BB;\n"), "QA0XX");
    importBatchList(batch, *parseBatchText("CALL;K3CC;\n"), "OTHER");
    batch.FilterBatchTablesForLog("QA0XX");
    EXPECT_EQ(count(batch.BatchInputTable1()), 2u);
    batch.FilterBatchTables("OTHER");
    EXPECT_EQ(count(batch.BatchInputTable1()), 1u);
    batch.FilterBatchTables("");
    EXPECT_EQ(count(batch.BatchInputTable1()), 3u);
}

} // namespace
} // namespace qx7
