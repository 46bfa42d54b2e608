// Cursor behaviour the grids and stores rely on: ranges, search, filters, bookmarks,
// master/detail, notifications.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

using test::ScratchDir;
using Strings = std::vector<std::string>;

class Navigation : public ::testing::Test
{
protected:
    ScratchDir dir;
    Table t;

    void SetUp() override
    {
        Table::create(dir / "log.dbf", test::logFields(), {Level::DBase4, test::logIndexes()});
        t.open(dir / "log.dbf");
        struct Q
        {
            const char* call;
            const char* date;
            const char* time;
            bool mark;
        };
        const Q qsos[] = {
            {"DL1ABC", "20240101", "1200", true},  {"DL1ABCD", "20240101", "1300", false},
            {"DL1AB", "20240102", "0800", true},   {"G4XYZ", "20240131", "2359", false},
            {"DL1ABC", "20240201", "0000", false}, {"K1AA", "20231231", "2359", true}};
        for (const Q& q : qsos) {
            test::addQso(t, q.call, q.date, q.time, q.mark);
        }
    }
};

TEST_F(Navigation, RangeOfOneKeyHoldsExactlyThatKey)
{
    t.setIndex("CALL");
    struct Row
    {
        const char* from;
        const char* to;
        Strings calls;
    };
    const Row rows[] = {
        {"DL1ABC", "DL1ABC", {"DL1ABC", "DL1ABC"}}, // not DL1ABCD, not DL1AB
        {"DL1AB", "DL1AB", {"DL1AB"}},
        {"DL1AB", "DL1ABCD", {"DL1AB", "DL1ABC", "DL1ABC", "DL1ABCD"}},
        {"", "DL1ABC", {"DL1AB", "DL1ABC", "DL1ABC"}}, // empty start: unbounded
        {"G", "", {"G4XYZ", "K1AA"}},
        {"X", "Z", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.from) + ".." + r.to);
        t.setRange(r.from, r.to);
        EXPECT_EQ(test::walk(t, "CALL"), r.calls);
    }
    t.cancelRange();
    EXPECT_EQ(test::walk(t, "CALL").size(), 6u);
}

TEST_F(Navigation, RangeOnAnExpressionTagMatchesWholeLeadingFields)
{
    t.setIndex("DATETIME");
    t.setRange("20240101", "20240131");
    EXPECT_EQ(test::walk(t, "TIME"), (Strings{"1200", "1300", "0800", "2359"}));
    t.setRange("202401011200", "202401011259");
    EXPECT_EQ(test::walk(t, "CALL"), (Strings{"DL1ABC"}));
    t.setRangeStart("2024");
    t.setRangeEnd("2024");
    t.applyRange(); // "2024" is padded to the whole DATE field: no such date
    EXPECT_TRUE(t.isEmpty());
}

TEST_F(Navigation, FindKeyIsExactAndFindNearestTakesTheNextKey)
{
    t.setIndex("CALL");
    EXPECT_TRUE(t.findKey("DL1ABC"));
    EXPECT_EQ(t.recNo(), 1u); // duplicates in record order
    EXPECT_FALSE(t.findKey("DL1A"));
    EXPECT_EQ(t.recNo(), 1u); // a miss stays put
    t.findNearest("DL1A");
    EXPECT_EQ(t.text("CALL"), "DL1AB");
    t.findNearest("H");
    EXPECT_EQ(t.text("CALL"), "K1AA");
    t.findNearest("ZZ");
    EXPECT_TRUE(t.eof());
    t.setIndex("");
    EXPECT_THROW(t.findKey("DL1ABC"), Error);
}

TEST_F(Navigation, EofBofAndMoveBy)
{
    t.setIndex("DATETIME");
    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.moveBy(3), 3);
    EXPECT_EQ(t.text("CALL"), "DL1AB");
    EXPECT_EQ(t.moveBy(10), 2);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.text("CALL"), "DL1ABC"); // stays on the last record
    EXPECT_EQ(t.moveBy(-10), -5);
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.text("CALL"), "K1AA");
    t.last();
    t.prior();
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.text("CALL"), "G4XYZ");
}

TEST_F(Navigation, FiltersFollowTheirDocumentedRules)
{
    struct Row
    {
        const char* filter;
        Strings calls;
    };
    const Row rows[] = {
        {"CALL = 'DL1ABC'", {"DL1ABC", "DL1ABC"}}, // trimmed equality, not a prefix
        {"CALL =  'DL1AB'", {"DL1AB"}},
        {"CALL <> 'DL1ABC'", {"DL1ABCD", "DL1AB", "G4XYZ", "K1AA"}},
        {"MARK", {"DL1ABC", "DL1AB", "K1AA"}},
        {"MARK and DATE = '20240101'", {"DL1ABC"}},
        {"not MARK .AND. CALL <> 'G4XYZ'", {"DL1ABCD", "DL1ABC"}},
        {"(CALL = 'K1AA' or CALL = 'G4XYZ') and MARK", {"K1AA"}},
        {"QMGR = ''", {"DL1ABC", "DL1ABCD", "DL1AB", "G4XYZ", "DL1ABC", "K1AA"}},
        {"", {"DL1ABC", "DL1ABCD", "DL1AB", "G4XYZ", "DL1ABC", "K1AA"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.filter);
        t.setFilter(r.filter);
        EXPECT_EQ(test::walk(t, "CALL"), r.calls);
    }
    for (const char* bad : {"CALL = ", "NOSUCH = 'x'", "CALL", "CALL = 'x' and", "(MARK"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(t.setFilter(bad), Error);
    }
}

TEST_F(Navigation, RecordFilterSeesTheCandidate)
{
    t.setIndex("CALL");
    t.setRecordFilter([](const Table& x) { return x.text("TIME") == "2359"; });
    EXPECT_EQ(test::walk(t, "CALL"), (Strings{"G4XYZ", "K1AA"}));
    t.setRecordFilter(nullptr);
    EXPECT_EQ(test::walk(t, "CALL").size(), 6u);
}

TEST_F(Navigation, BookmarksReturnToTheRecordInAnyOrder)
{
    t.setIndex("CALL");
    ASSERT_TRUE(t.findKey("G4XYZ"));
    const Bookmark mark = t.bookmark();
    t.setIndex("DATETIME");
    t.first();
    ASSERT_TRUE(t.gotoBookmark(mark));
    EXPECT_EQ(t.text("CALL"), "G4XYZ");
    t.next(); // continues in DATETIME order from there
    EXPECT_EQ(t.text("CALL"), "DL1ABC");
    EXPECT_FALSE(t.gotoBookmark({999}));
}

TEST_F(Navigation, EditingRulesAndRequiredFields)
{
    EXPECT_THROW(t.setText("CALL", "X"), Error); // not editing
    t.first();
    t.edit();
    t.setText("CALL", "CHANGED");
    t.cancel();
    EXPECT_EQ(t.text("CALL"), "DL1ABC");
    t.edit();
    t.setText("CALL", "POSTED");
    t.next(); // moving posts
    t.first();
    EXPECT_EQ(t.text("CALL"), "POSTED");

    Table::create(dir / "mgr.dbf", {{"CALL", 'C', 16, 0, true}, {"MGR", 'C', 16}});
    Table m;
    m.open(dir / "mgr.dbf");
    EXPECT_TRUE(m.field(0).required);
    m.append();
    m.setText("MGR", "W3HNK");
    EXPECT_THROW(m.post(), Error);
    // The refused record is dropped: the table browses again and the next moves and
    // appends work.
    EXPECT_EQ(m.state(), Table::State::Browse);
    EXPECT_EQ(m.recordCount(), 0u);
    m.first();
    m.append();
    m.setText("CALL", "EA8XX");
    m.post();
    EXPECT_EQ(m.recordCount(), 1u);
    m.edit();
    m.setText("CALL", "");
    EXPECT_THROW(m.post(), Error);
    EXPECT_EQ(m.state(), Table::State::Browse);
    EXPECT_EQ(m.text("CALL"), "EA8XX"); // the stored record is untouched
    m.next();
}

TEST_F(Navigation, LiveRecordCountLeavesOutDeletedRecords)
{
    t.first();
    t.deleteRecord();
    t.setFilter("CALL = 'NOBODY'");
    EXPECT_EQ(t.recordCount(), 6u);
    EXPECT_EQ(t.liveRecordCount(), 5u);
}

TEST_F(Navigation, DeletedRecordsFollowDeleteRecallAndPack)
{
    using Recnos = std::vector<std::uint32_t>;
    // Record 2 was deleted before this open: the list is read from the file.
    t.gotoBookmark({2});
    t.deleteRecord();
    t.close();
    t.open(dir / "log.dbf");
    EXPECT_EQ(t.deletedRecords(), Recnos({2}));

    t.gotoBookmark({5});
    t.deleteRecord();
    t.gotoBookmark({1});
    t.deleteRecord();
    EXPECT_EQ(t.deletedRecords(), Recnos({1, 2, 5}));

    t.setShowDeleted(true);
    t.gotoBookmark({2});
    t.undeleteRecord();
    t.undeleteRecord(); // a second recall changes nothing
    EXPECT_EQ(t.deletedRecords(), Recnos({1, 5}));

    t.close();
    t.open(dir / "log.dbf", {OpenMode::Exclusive});
    EXPECT_EQ(t.deletedRecords(), Recnos({1, 5})); // as the file says
    t.pack();
    EXPECT_TRUE(t.deletedRecords().empty());
    EXPECT_EQ(t.recordCount(), 4u);
    t.gotoBookmark({3});
    t.deleteRecord();
    EXPECT_EQ(t.deletedRecords(), Recnos({3}));
}

TEST_F(Navigation, MasterLinkFollowsTheMaster)
{
    Table::create(dir / "mgr.dbf", {{"CALL", 'C', 16}, {"DATEFROM", 'C', 8}, {"MGR", 'C', 16}},
                  {Level::DBase4, {{"CALLDATE", "CALL+DATEFROM+MGR"}}});
    Table mgr;
    mgr.open(dir / "mgr.dbf");
    const char* rows[][3] = {{"DL1ABC", "20200101", "W3HNK"},
                             {"DL1ABCD", "20200101", "X"},
                             {"K1AA", "20100101", "N2OO"},
                             {"DL1ABC", "20100101", "DJ0ZY"}};
    for (const auto& r : rows) {
        mgr.append();
        mgr.setText("CALL", r[0]);
        mgr.setText("DATEFROM", r[1]);
        mgr.setText("MGR", r[2]);
        mgr.post();
    }
    mgr.setIndex("CALLDATE");
    t.setIndex("CALL");
    mgr.setMasterLink(t, "CALL");
    ASSERT_TRUE(t.findKey("DL1ABC"));
    EXPECT_EQ(test::walk(mgr, "MGR"), (Strings{"DJ0ZY", "W3HNK"}));
    ASSERT_TRUE(t.findKey("G4XYZ"));
    EXPECT_TRUE(mgr.isEmpty());
    ASSERT_TRUE(t.findKey("K1AA"));
    EXPECT_EQ(test::walk(mgr, "MGR"), (Strings{"N2OO"}));
    t.close(); // the link ends with the master
    EXPECT_FALSE(mgr.hasRange());
    EXPECT_EQ(test::walk(mgr, "MGR").size(), 4u);
}

TEST_F(Navigation, ObserversHearChangesAndSuspensionFoldsThem)
{
    std::vector<TableEvent> events;
    const int id = t.addObserver([&](Table&, TableEvent e) { events.push_back(e); });
    t.first();
    t.next();
    EXPECT_EQ(events, (std::vector<TableEvent>{TableEvent::Scrolled, TableEvent::Scrolled}));
    events.clear();
    t.suspendNotifications();
    t.suspendNotifications();
    for (int i = 0; i < 3; ++i) {
        test::addQso(t, "BULK", "20240101", "0000");
    }
    t.resumeNotifications();
    EXPECT_TRUE(events.empty()); // still suspended once
    t.resumeNotifications();
    EXPECT_EQ(events, (std::vector<TableEvent>{TableEvent::DataChanged}));
    t.removeObserver(id);
    t.first();
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(Navigation, ClosedTablesAndBadNamesThrowNamedErrors)
{
    Table closed;
    EXPECT_THROW(closed.first(), Error);
    EXPECT_THROW(t.setIndex("NOPE"), Error);
    EXPECT_THROW(t.text("NOPE"), Error);
    EXPECT_FALSE(t.findField("nope").has_value());
    EXPECT_EQ(t.findField("call"), 0);
    try {
        t.fieldIndex("NOPE");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::NotFound);
        EXPECT_EQ(e.table(), "log");
        EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos);
    }
}

TEST(EngineVersion, StartUpCheck)
{
    EXPECT_TRUE(checkEngineVersion(engineVersion()));
    EXPECT_GE(engineVersion(), 500);
    EXPECT_TRUE(checkEngineVersion(500));
    EXPECT_FALSE(checkEngineVersion(499));
}

} // namespace
} // namespace qx7::dbase

namespace qx7::dbase {
namespace {

class IndexPositions : public Navigation
{};

TEST_F(IndexPositions, EntriesOfTheRangeAreNumberedAndReachedByNumber)
{
    t.setIndex("CALL"); // DL1AB DL1ABC DL1ABC DL1ABCD G4XYZ K1AA
    EXPECT_EQ(t.indexRangeCount(), 6u);
    ASSERT_TRUE(t.gotoIndexRangePosition(4));
    EXPECT_EQ(t.text("CALL"), "G4XYZ");
    EXPECT_EQ(t.indexRangePosition(), 4u);
    t.next();
    EXPECT_EQ(t.indexRangePosition(), 5u);
    EXPECT_FALSE(t.gotoIndexRangePosition(6));

    t.setRange("DL1ABC", "DL1ABCD");
    EXPECT_EQ(t.indexRangeCount(), 3u);
    ASSERT_TRUE(t.gotoIndexRangePosition(2));
    EXPECT_EQ(t.text("CALL"), "DL1ABCD");
    EXPECT_EQ(t.indexRangePosition(), 2u);
    ASSERT_TRUE(t.gotoIndexRangePosition(0));
    EXPECT_EQ(t.text("CALL"), "DL1ABC");
    t.setRange("X", "Z");
    EXPECT_EQ(t.indexRangeCount(), 0u);
    EXPECT_FALSE(t.gotoIndexRangePosition(0));

    // A record outside the range has no number in it; a new record takes its place in order.
    t.cancelRange();
    t.first();
    t.setRange("G", "");
    t.setIndex("CALL");
    t.findKey("DL1AB");
    t.setRange("G", "");
    EXPECT_EQ(t.indexRangeCount(), 2u);
    t.cancelRange();
    test::addQso(t, "A1A", "20240101", "1200", false);
    EXPECT_EQ(t.indexRangeCount(), 7u);
    ASSERT_TRUE(t.gotoIndexRangePosition(0));
    EXPECT_EQ(t.text("CALL"), "A1A");
    // Deleted and filtered records keep their numbers.
    t.setFilter("MARK");
    EXPECT_EQ(t.indexRangeCount(), 7u);
    ASSERT_TRUE(t.gotoIndexRangePosition(1));
    EXPECT_EQ(t.text("CALL"), "DL1AB");
}

} // namespace
} // namespace qx7::dbase
