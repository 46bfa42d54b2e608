// The queue window reads the queue by place in its order, a page at a time, and gives
// the cursor back as it found it: also in the middle of a fill, which keeps its own
// index current between records.

#include "store/PrintQueueView.h"

#include "store/PrintQueue.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qx7 {
namespace {

using testing::TempFolder;

std::string sequence(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%6d", n);
    return text;
}

// Labels for QA1A, QA2A, ... with first-in-first-out numbers in the order given and an
// alphabetical key that runs the other way round.
void addLabels(PrintQueue& q, int from, int count)
{
    dbase::Table& t = q.QXPQTable();
    for (int i = from; i < from + count; ++i) {
        t.append();
        t.setText("INDEXD", sequence(i));
        t.setText("INDEXB", "Z" + sequence(100000 - i));
        t.setText("HISCALL", "QA" + std::to_string(i) + "A");
        t.setText("NUMQSOS", "1");
        t.setText("A_BAND", "20m");
        t.setText("A_MODE", "SSB");
        t.post();
    }
}

std::vector<std::string> calls(const std::vector<QueueLabelRow>& rows)
{
    std::vector<std::string> out;
    for (const QueueLabelRow& r : rows)
        out.push_back(r.call);
    return out;
}

TEST(PrintQueueView, ReadsPagesInTheWindowsOrderAndSkipsDeletedLabels)
{
    TempFolder dir;
    SilentPrompter quiet;
    PrintQueue q(dir.file("qx7pq.dbf"), 4, quiet);
    ASSERT_TRUE(q.CreatePrintQueue());
    addLabels(q, 1, 10);
    PrintQueueView view(q);
    ASSERT_TRUE(view.recount());
    EXPECT_EQ(view.size(), 10);
    EXPECT_EQ(calls(view.read(0, 3)), (std::vector<std::string>{"QA1A", "QA2A", "QA3A"}));
    EXPECT_EQ(calls(view.read(8, 5)), (std::vector<std::string>{"QA9A", "QA10A"}));
    EXPECT_TRUE(view.read(10, 5).empty());

    // Two labels deleted (Alt+Del) stay in the file until the next pack, but are no rows.
    dbase::Table& t = q.QXPQTable();
    for (const char* call : {"QA2A", "QA5A"}) {
        for (t.first(); !t.eof() && t.text("HISCALL") != call; t.next()) {
        }
        ASSERT_FALSE(t.eof());
        t.deleteRecord();
    }
    ASSERT_TRUE(view.recount());
    EXPECT_EQ(view.size(), 8);
    EXPECT_EQ(calls(view.read(0, 8)), (std::vector<std::string>{"QA1A", "QA3A", "QA4A", "QA6A",
                                                                "QA7A", "QA8A", "QA9A", "QA10A"}));
    EXPECT_EQ(calls(view.read(3, 2)), (std::vector<std::string>{"QA6A", "QA7A"}));

    // Alphabetical order turns them round.
    q.setIndexOnQXPQ(1);
    ASSERT_TRUE(view.recount());
    EXPECT_EQ(calls(view.read(0, 3)), (std::vector<std::string>{"QA10A", "QA9A", "QA8A"}));
    const std::vector<QueueLabelRow> first = view.read(0, 1);
    EXPECT_EQ(view.hint(first.at(0).mark, 6, "via"), "QA10A  [my call: ]\r- 20m SSB");
}

TEST(PrintQueueView, GivesTheCursorBackAndWaitsWhileALabelIsWritten)
{
    TempFolder dir;
    SilentPrompter quiet;
    PrintQueue q(dir.file("qx7pq.dbf"), 4, quiet);
    ASSERT_TRUE(q.CreatePrintQueue());
    addLabels(q, 1, 5);
    dbase::Table& t = q.QXPQTable();
    // A fill keeps the scan order current and sits on some label between records.
    t.setIndex("INDEXA");
    t.first();
    t.next();
    const std::uint32_t at = t.recNo();
    PrintQueueView view(q);
    ASSERT_TRUE(view.recount());
    EXPECT_EQ(calls(view.read(0, 2)), (std::vector<std::string>{"QA1A", "QA2A"}));
    EXPECT_FALSE(view.hint(view.read(4, 1).at(0).mark, 6, "").empty());
    EXPECT_EQ(t.currentIndex(), "INDEXA");
    EXPECT_EQ(t.recNo(), at);

    // While a label is open for writing nothing is read (a move would post it half done).
    t.append();
    t.setText("INDEXD", sequence(6));
    t.setText("HISCALL", "QB1B");
    t.setText("INDEXB", "QB1B");
    EXPECT_FALSE(view.recount());
    EXPECT_EQ(view.size(), 5);
    EXPECT_TRUE(view.read(0, 2).empty());
    EXPECT_EQ(t.state(), dbase::Table::State::Insert);
    t.post();
    ASSERT_TRUE(view.recount());
    EXPECT_EQ(view.size(), 6);
    EXPECT_EQ(calls(view.read(5, 1)), (std::vector<std::string>{"QB1B"}));
    EXPECT_EQ(t.currentIndex(), "INDEXA");

    // Inside a range (the scan looking for a label to merge into) nothing is read either.
    t.setRange("QA1A", "QA1A");
    EXPECT_FALSE(view.recount());
    EXPECT_TRUE(t.hasRange());
}

} // namespace
} // namespace qx7
