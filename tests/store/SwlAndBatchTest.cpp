#include "core/Prompter.h"
#include "store/BatchInput.h"
#include "store/PrintQueue.h"
#include "store/SwlReports.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qx7 {
namespace {

using testing::TempFolder;

// The records a table shows under its filter, range and master link.
size_t visibleRecords(dbase::Table& t)
{
    size_t n = 0;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next())
        ++n;
    return n;
}

TEST(SwlReports, ReportsStayUntilTheirLabelIsPosted)
{
    TempFolder dir;
    SilentPrompter prompter;
    PrintQueue queue(dir.file("qx7pq.dbf"), 4, prompter);
    ASSERT_TRUE(queue.OpenPrintQueue());
    SwlReports swl(dir.path());
    ASSERT_TRUE(swl.OpenSWLTable());
    for (const char* heard : {"DL1AA", "DL2BB", "DL3CC"})
        swl.addReport(heard, "20240101", "0930", "20m", "SSB", "", "W1AW", "");
    // No listener call: the label has no sort key and cannot be posted.
    EXPECT_THROW(swl.QueueSWLReports("", queue, 6, 216, LabelFormat{}), dbase::Error);
    EXPECT_EQ(visibleRecords(swl.SWLTable()), 3u);
    EXPECT_EQ(queue.QXPQTable().state(), dbase::Table::State::Browse);
    EXPECT_EQ(queue.RecountLabels(), 0);
    swl.QueueSWLReports("ONL1234", queue, 2, 216, LabelFormat{});
    EXPECT_EQ(visibleRecords(swl.SWLTable()), 0u);
    EXPECT_EQ(queue.RecountLabels(), 2);
}

TEST(SwlReports, SevenReportsOnSixLineLabelsMakeTwoLabels)
{
    TempFolder dir;
    SilentPrompter prompter;
    PrintQueue queue(dir.file("qx7pq.dbf"), 4, prompter);
    ASSERT_TRUE(queue.OpenPrintQueue());
    SwlReports swl(dir.path());
    ASSERT_TRUE(swl.OpenSWLTable());
    for (int n : {7, 6}) {
        SCOPED_TRACE(n);
        queue.EmptyPrintQueue();
        for (int i = 0; i < n; ++i)
            swl.addReport("DL" + std::to_string(i) + "ABC", "2024010" + std::to_string(i + 1),
                          "0930", "20m", "SSB", "", "W1AW", "");
        swl.QueueSWLReports("ONL1234", queue, 6, 216, LabelFormat{});
        EXPECT_TRUE(swl.SWLTable().isEmpty());
        dbase::Table& q = queue.QXPQTable();
        queue.restoreViewOrder();
        std::vector<std::string> counts;
        for (q.first(); !q.eof(); q.next())
            counts.push_back(q.text("NUMQSOS"));
        EXPECT_EQ(counts,
                  n == 7 ? (std::vector<std::string>{"6", "1"}) : std::vector<std::string>{"6"});
        q.first();
        EXPECT_EQ(q.text("INDEXB"), "ONL1234"); // the listener as typed, not a sort key
        EXPECT_EQ(q.text("HISCALL"), "ONL1234");
        EXPECT_EQ(q.text("MYCALL"), "W1AW");
        EXPECT_EQ(q.text("A_HRDC"), "DL0ABC");
        EXPECT_EQ(q.text("B_DATE"), "2024-01-02");
        EXPECT_EQ(q.text("A_TIME"), "09:30");
        EXPECT_EQ(q.text("INDEXD"), "");
        EXPECT_EQ(queue.LabelsInQueue, n == 7 ? 2 : 1);
    }
    // A listener call with a zero is printed slashed.
    swl.addReport("K1A", "20240101", "0930", "20m", "SSB", "", "W1AW", "");
    queue.EmptyPrintQueue();
    swl.QueueSWLReports("ON0L", queue, 6, 216, LabelFormat{});
    queue.QXPQTable().first();
    EXPECT_EQ(queue.QXPQTable().text("HISCALL"), "ON\xC3\x98L");
}

class Batch : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(batch.OpenBatchTables()); }
    std::vector<std::string> qsosOf(const std::string& station)
    {
        std::vector<std::string> out;
        if (!batch.BatchInputTable1().findKey(station))
            return out;
        dbase::Table& t = batch.BatchInputTable2();
        for (t.first(); !t.isEmpty() && !t.eof(); t.next())
            out.push_back(t.text("DATE") + " " + t.text("BAND"));
        return out;
    }
    TempFolder dir;
    ScriptedPrompter prompter;
    BatchInput batch{dir.path(), 4, prompter};
};

TEST_F(Batch, AnsweredStationsKeepTheirStatusOthersAreReplaced)
{
    batch.AddBatchStation("DL1ABC", "W1AW", "0", "first");
    batch.AddBatchStation("DL1ABC", "W1AW", "1", "second");
    dbase::Table& t = batch.BatchInputTable1();
    ASSERT_TRUE(t.findKey("W1AW"));
    EXPECT_EQ(t.text("COMMENT"), "second");
    t.edit();
    t.setText("STATUS", "2");
    t.post();
    batch.AddBatchStation("DL1ABC", "W1AW", "0", "third");
    ASSERT_TRUE(t.findKey("W1AW"));
    EXPECT_EQ(t.text("COMMENT"), "second");
    EXPECT_EQ(t.text("STATUS"), "2");
    EXPECT_EQ(t.recordCount(), 1u);
}

TEST_F(Batch, QsosNeedTheirStationAndAreStoredOnce)
{
    batch.AddBatchQSO("DL1ABC", "K1ABC", "0", "", "CW", "20m", "1200", "20240101");
    EXPECT_EQ(batch.BatchInputTable2().recordCount(), 0u);
    batch.AddBatchStation("DL1ABC", "K1ABC", "0", "");
    batch.AddBatchStation("DL1ABC", "W1AW", "0", "");
    for (int i = 0; i < 2; ++i)
        batch.AddBatchQSO("DL1ABC", "K1ABC", "0", "", "CW", "20m", "1200", "20240101");
    batch.AddBatchQSO("DL1ABC", "K1ABC", "0", "", "CW", "40m", "1200", "20240101");
    batch.AddBatchQSO("DL1ABC", "W1AW", "0", "", "SSB", "20m", "1300", "20240102");
    EXPECT_EQ(qsosOf("K1ABC"), (std::vector<std::string>{"20240101 20m", "20240101 40m"}));
    EXPECT_EQ(qsosOf("W1AW"), std::vector<std::string>{"20240102 20m"});
}

TEST_F(Batch, DeletingTheLastStationTakesItsQsosAndEndsBatchInput)
{
    batch.AddBatchStation("DL1ABC", "K1ABC", "0", "");
    batch.AddBatchQSO("DL1ABC", "K1ABC", "0", "", "CW", "20m", "1200", "20240101");
    ASSERT_TRUE(batch.BatchInputTable1().findKey("K1ABC"));
    EXPECT_FALSE(batch.deleteCurrentStation());
    EXPECT_FALSE(batch.hasStations());
    batch.BatchInputTable2().setShowDeleted(false);
    batch.BatchInputTable2().clearMasterLink();
    batch.BatchInputTable2().cancelRange();
    batch.BatchInputTable2().first();
    EXPECT_TRUE(batch.BatchInputTable2().isEmpty());
}

TEST_F(Batch, FilterShowsOneOwnCall)
{
    batch.AddBatchStation("DL1ABC", "K1ABC", "0", "");
    batch.AddBatchStation("DL0XYZ", "W1AW", "0", "");
    batch.FilterBatchTables("DL0XYZ");
    dbase::Table& t = batch.BatchInputTable1();
    std::vector<std::string> shown;
    for (t.first(); !t.eof(); t.next())
        shown.push_back(t.text("HISCALL"));
    EXPECT_EQ(shown, std::vector<std::string>{"W1AW"});
    EXPECT_EQ(visibleRecords(t), 1u);
    batch.FilterBatchTables("");
    EXPECT_EQ(visibleRecords(t), 2u);
}

TEST_F(Batch, RequestsForAllLogsHaveNoOwnCall)
{
    batch.AddBatchStation("", "W1AW", "0", "any log");
    batch.AddBatchQSO("", "W1AW", "0", "", "CW", "20m", "1200", "20240101");
    batch.AddBatchStation("DL1ABC", "K1ABC", "0", "");
    EXPECT_EQ(visibleRecords(batch.BatchInputTable1()), 2u);
    EXPECT_EQ(qsosOf("W1AW"), std::vector<std::string>{"20240101 20m"});
    ASSERT_TRUE(batch.BatchInputTable1().findKey("W1AW"));
    EXPECT_EQ(batch.BatchInputTable1().text("MYCALL"), "");
}

TEST_F(Batch, ARefusedStationLeavesTheTableUsable)
{
    EXPECT_THROW(batch.AddBatchStation("DL1ABC", "", "0", ""), dbase::Error); // no station
    EXPECT_EQ(batch.BatchInputTable1().state(), dbase::Table::State::Browse);
    batch.AddBatchStation("DL1ABC", "W1AW", "0", "");
    EXPECT_EQ(visibleRecords(batch.BatchInputTable1()), 1u);
}

TEST(BatchTables, OlderTablesThatInsistOnAnOwnCallAreRebuiltWithTheirRecords)
{
    TempFolder dir;
    const std::vector<dbase::FieldDef> older = {{"MYCALL", 'C', 16, 0, true},
                                                {"HISCALL", 'C', 16, 0, true},
                                                {"COMMENT", 'C', 250, 0, false},
                                                {"STATUS", 'C', 1, 0, false}};
    dbase::Table::create(dir.file("QXBatchInput1.dbf"), older,
                         {dbase::Level::DBase4, {{"MYCALL", "MYCALL"}, {"HISCALL", "HISCALL"}}});
    {
        dbase::Table t;
        t.open(dir.file("QXBatchInput1.dbf"));
        t.append();
        t.setText("MYCALL", "DL1ABC");
        t.setText("HISCALL", "K1ABC");
        t.setText("COMMENT", "kept");
        t.post();
    }
    ScriptedPrompter prompter;
    BatchInput batch(dir.path(), 4, prompter);
    ASSERT_TRUE(batch.OpenBatchTables());
    batch.AddBatchStation("", "W1AW", "0", "");
    dbase::Table& t = batch.BatchInputTable1();
    EXPECT_EQ(visibleRecords(t), 2u);
    ASSERT_TRUE(t.findKey("K1ABC"));
    EXPECT_EQ(t.text("COMMENT"), "kept");
    EXPECT_TRUE(t.field(t.fieldIndex("HISCALL")).required);
    EXPECT_FALSE(std::filesystem::exists(dir.file("QXBatchInput1_copy.dbf")));
}

TEST(BatchTables, FailureMessagesNameTheTable)
{
    TempFolder dir;
    ScriptedPrompter prompter;
    prompter.expect("Error: Batch Input table 1 could not be created!", PromptButton::Ok);
    BatchInput batch(dir.file("missing/folder"), 4, prompter);
    EXPECT_FALSE(batch.OpenBatchTables());
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_TRUE(prompter.allAnswered());
}

} // namespace
} // namespace qx7
