#include "store/QsoEdit.h"
#include "store/LogTable.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using testing::TempFolder;

struct Qso
{
    const char* call;
    const char* qsls;
};

// A log "t" with one QSO per entry, on 2024-03-05.
class QsoEditTest : public ::testing::Test
{
protected:
    void make(std::initializer_list<Qso> qsos)
    {
        ASSERT_TRUE(CreateLogTable(dir.path(), "t"));
        openLog(table, logPaths(dir.path(), "t").table, 0);
        for (const Qso& q : qsos) {
            table.append();
            table.setText("CALL", q.call);
            table.setText("DATE", "20240305");
            table.setText("TIME", "1200");
            table.setText("QSLS", q.qsls);
            table.post();
        }
        table.setIndex("");
        table.first();
    }
    // The field as a second, fresh open of the file sees it: what a crash would leave.
    std::string onDisk(std::uint32_t recno, const char* field)
    {
        dbase::Table fresh;
        fresh.open(logPaths(dir.path(), "t").table, {dbase::OpenMode::ReadOnly, {}});
        for (fresh.first(); !fresh.eof(); fresh.next())
            if (fresh.recNo() == recno)
                return fresh.text(field);
        return "?";
    }
    dbase::Bookmark at(std::uint32_t recno)
    {
        for (table.first(); !table.eof(); table.next())
            if (table.recNo() == recno)
                return table.bookmark();
        return {};
    }

    TempFolder dir;
    dbase::Table table;
};

TEST(QsoFieldChecks, DatesTimesAndCalls)
{
    EXPECT_EQ(checkQsoField("DATE", "20240229"), "");
    EXPECT_EQ(checkQsoField("DATE", "20230229"), kNoValidDate);
    EXPECT_EQ(checkQsoField("DATE", "2024031"), kNoValidDate);
    EXPECT_EQ(checkQsoField("DATE", "20241301"), kNoValidDate);
    EXPECT_EQ(checkQsoField("DATE", ""), kNoValidDate);
    EXPECT_EQ(checkQsoField("DATS", ""), "");
    EXPECT_EQ(checkQsoField("DATR", "20240432"), kNoValidDate);
    EXPECT_EQ(checkQsoField("TIME", "0000"), "");
    EXPECT_EQ(checkQsoField("TIME", "2359"), "");
    EXPECT_EQ(checkQsoField("TIME", "2400"), kNoValidTime);
    EXPECT_EQ(checkQsoField("TIME", "1260"), kNoValidTime);
    EXPECT_EQ(checkQsoField("TIME", "123"), kNoValidTime);
    EXPECT_EQ(checkQsoField("CALL", "K1"), kNoValidCall);
    EXPECT_EQ(checkQsoField("CALL", "K1A"), "");
    EXPECT_EQ(checkQsoField("BAND", "20m"), "");
    EXPECT_EQ(checkQsoField("BAND", "70CM"), "");
    EXPECT_EQ(checkQsoField("BAND", ""), "");
    EXPECT_EQ(checkQsoField("BAND", "11m"), kNoValidBand);
    EXPECT_EQ(checkQsoField("MODE", "rtty"), "");
    EXPECT_EQ(checkQsoField("MODE", "CWX"), kNoValidMode);
    EXPECT_EQ(checkQsoInput({{"CALL", "K1ABC"}, {"BAND", "20m"}, {"MODE", "XX9"}}), kNoValidMode);
}

TEST(QsoFieldChecks, FlagCycle)
{
    EXPECT_EQ(nextQslFlag("N"), "Y");
    EXPECT_EQ(nextQslFlag("D"), "I");
    EXPECT_EQ(nextQslFlag("I"), "!");
    EXPECT_EQ(nextQslFlag("!"), "N");
    EXPECT_EQ(nextQslFlag(""), "N");
    EXPECT_EQ(nextQslFlag("x"), "x");
}

TEST_F(QsoEditTest, FlagOnCurrentQsoStampsOrClearsItsDate)
{
    make({{"W1AW", "D"}});
    ASSERT_EQ(CycleQSLFlag(table, {}, true, std::string("20240310")), 1);
    EXPECT_EQ(onDisk(1, "QSLS"), "I");
    EXPECT_EQ(onDisk(1, "DATS"), "20240310");
    ASSERT_EQ(CycleQSLFlag(table, {}, true, std::string("20240310")), 1);
    EXPECT_EQ(onDisk(1, "QSLS"), "!");
    EXPECT_EQ(onDisk(1, "DATS"), "");
    // Without a QSL sent date the flag still moves, and the date stays empty.
    CycleQSLFlag(table, {}, true, std::string("20240310"));
    CycleQSLFlag(table, {}, true, std::nullopt);
    EXPECT_EQ(onDisk(1, "QSLS"), "Y");
    EXPECT_EQ(onDisk(1, "DATS"), "");
}

TEST_F(QsoEditTest, SelectionTakesTheFirstRowsSuccessor)
{
    make({{"W1AW", "N"}, {"DL1ABC", "Y"}, {"G3XYZ", "B"}, {"F5AA", "N"}});
    const std::vector<dbase::Bookmark> rows = {at(1), at(2), at(3)};
    EXPECT_EQ(CycleQSLFlag(table, rows, true, std::string("20240310")), 3);
    for (std::uint32_t r : {1u, 2u, 3u}) {
        EXPECT_EQ(onDisk(r, "QSLS"), "Y") << r;
        EXPECT_EQ(onDisk(r, "DATS"), "20240310") << r;
    }
    EXPECT_EQ(onDisk(4, "QSLS"), "N");
    // Received flags are their own field.
    EXPECT_EQ(CycleQSLFlag(table, {at(4)}, false, std::string("20240311")), 1);
    EXPECT_EQ(onDisk(4, "QSLR"), "N"); // empty counts as "!"
    EXPECT_EQ(onDisk(4, "DATR"), "");
}

TEST_F(QsoEditTest, MarksAreToggledAndAllRemoved)
{
    make({{"W1AW", "N"}, {"DL1ABC", "N"}, {"G3XYZ", "N"}});
    at(1);
    ASSERT_TRUE(ToggleQsoMark(table));
    at(3);
    ASSERT_TRUE(ToggleQsoMark(table));
    EXPECT_EQ(onDisk(1, "MARK"), "T");
    EXPECT_EQ(onDisk(2, "MARK"), "");
    at(3);
    ToggleQsoMark(table);
    EXPECT_EQ(onDisk(3, "MARK"), "F");
    at(2);
    ToggleQsoMark(table);
    EXPECT_EQ(RemoveAllMarks(table), 2);
    for (std::uint32_t r : {1u, 2u, 3u})
        EXPECT_EQ(onDisk(r, "MARK"), "F") << r;
    EXPECT_EQ(table.recNo(), 1u);
}

TEST_F(QsoEditTest, BadValuesNeverReachTheFile)
{
    make({{"W1AW", "N"}});
    EXPECT_EQ(SetQsoFields(table, {{"TIME", "2400"}}), kNoValidTime);
    EXPECT_EQ(SetQsoFields(table, {{"COMM", "hello"}, {"DATE", "20240230"}}), kNoValidDate);
    EXPECT_EQ(SetQsoFields(table, {{"CALL", "K1"}}), kNoValidCall);
    EXPECT_EQ(SetQsoFields(table, {{"BAND", "11m"}}), kNoValidBand);
    EXPECT_EQ(SetQsoFields(table, {{"BAND", "40m"}, {"MODE", "CWX"}}), kNoValidMode);
    EXPECT_EQ(onDisk(1, "BAND"), "");
    EXPECT_EQ(onDisk(1, "TIME"), "1200");
    EXPECT_EQ(onDisk(1, "COMM"), "");
    EXPECT_EQ(onDisk(1, "CALL"), "W1AW");
    EXPECT_EQ(table.state(), dbase::Table::State::Browse);

    EXPECT_EQ(SetQsoFields(table, {{"call", "k1abc"}, {"TIME", "2359"}, {"MARK", "T"}}), "");
    EXPECT_EQ(onDisk(1, "CALL"), "K1ABC");
    EXPECT_EQ(onDisk(1, "TIME"), "2359");
    EXPECT_EQ(onDisk(1, "MARK"), "T");

    EXPECT_EQ(AppendQso(table, {{"CALL", "VK2XX"}, {"DATE", "20240101"}}), kNoValidTime);
    EXPECT_EQ(AppendQso(table, {{"CALL", "VK2XX"}, {"DATE", "20240101"}, {"TIME", "0000"}}), "");
    EXPECT_EQ(onDisk(2, "CALL"), "VK2XX");
    EXPECT_EQ(onDisk(3, "CALL"), "?");
}

TEST_F(QsoEditTest, ManagersOfSelectionAndWholeLog)
{
    make({{"W1AW", "N"}, {"DL1ABC", "N"}, {"G3XYZ", "N"}});
    EXPECT_EQ(SetManagerOf(table, {at(2)}, "w3hnk"), 1);
    EXPECT_EQ(onDisk(2, "QMGR"), "W3HNK");
    int asked = 0;
    const auto lookUp = [&](const std::string& call, const std::string& date) {
        ++asked;
        EXPECT_EQ(date, "20240305");
        return call == "G3XYZ" ? std::string("M0ABC") : std::string();
    };
    const ManagerFillResult r = FillLogManagers(table, lookUp);
    EXPECT_EQ(r.changed, 1);
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(asked, 2); // the QSO with a manager is not looked up
    EXPECT_EQ(onDisk(2, "QMGR"), "W3HNK");
    EXPECT_EQ(onDisk(3, "QMGR"), "M0ABC");

    SetManagerOf(table, {at(3)}, "");
    const ManagerFillResult stopped = FillLogManagers(table, lookUp, [] { return false; });
    EXPECT_TRUE(stopped.aborted);
    EXPECT_EQ(onDisk(3, "QMGR"), "");
}

} // namespace
} // namespace qx7
