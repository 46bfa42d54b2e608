// The suite every level we write must pass: create, fill, close, reopen, compare.

#include "TestUtil.h"

#include "dbase/DbfHeader_p.h"
#include "dbase/Table.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

using test::ScratchDir;

class RoundTrip : public ::testing::TestWithParam<Level>
{
protected:
    ScratchDir dir;
    std::filesystem::path path = dir / "log.dbf";

    void createLog() { Table::create(path, test::logFields(), {GetParam(), test::logIndexes()}); }
};

TEST_P(RoundTrip, CreatesTheDeclaredStructure)
{
    createLog();
    Table t;
    t.open(path, {OpenMode::ReadOnly});
    EXPECT_EQ(t.level(), GetParam() == Level::DBase7 ? 7 : 4);
    EXPECT_EQ(t.versionByte(), GetParam() == Level::DBase7 ? 0x04 : 0x03);
    EXPECT_EQ(t.languageDriverId(), 0x57);
    EXPECT_EQ(t.languageDriverName(), "DBWINUS0");
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.recordLength(), 182);
    ASSERT_EQ(t.fieldCount(), 18);
    EXPECT_EQ(t.field(0).name, "CALL");
    EXPECT_EQ(t.field(0).width, 16);
    EXPECT_TRUE(t.field(0).hasOwnTag);
    EXPECT_FALSE(t.field(1).hasOwnTag); // DATE is only part of DATETIME
    EXPECT_EQ(t.field(17).type, 'L');
    EXPECT_EQ(t.lastUpdate(), detail::today());
    ASSERT_EQ(t.indexes().size(), 2u);
    EXPECT_EQ(t.indexes()[1].name, "DATETIME");
    EXPECT_EQ(t.indexes()[1].expression, "DATE+TIME");
    EXPECT_EQ(t.indexes()[1].keyLength, 12);
    EXPECT_TRUE(std::filesystem::exists(dir / "log.mdx"));
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
}

TEST_P(RoundTrip, ValuesSurviveCloseAndReopen)
{
    createLog();
    {
        Table t;
        t.open(path);
        test::addQso(t, "DL1ABC", "20240105", "1200", true);
        t.append();
        t.setText("CALL", "F/ON4XYZ/P-TOO-LONG-FOR-16");
        t.setText("COMM", "Grüße aus Köln — 73 € Жук");
        t.setText("DATE", "20231231");
        t.post();
        test::addQso(t, "", "", "");
        t.close();
    }
    Table t;
    t.open(path, {OpenMode::ReadOnly});
    ASSERT_EQ(t.recordCount(), 3u);
    const auto calls = test::walk(t, "CALL");
    EXPECT_EQ(calls, (std::vector<std::string>{"DL1ABC", "F/ON4XYZ/P-TOO-L", ""}));
    t.first();
    EXPECT_TRUE(t.boolean("MARK"));
    EXPECT_EQ(t.text("MARK"), "T");
    t.next();
    EXPECT_EQ(t.text("COMM"), "Grüße aus Köln — 73 € ???"); // no Cyrillic in Windows-1252
    EXPECT_FALSE(t.boolean("MARK"));
    EXPECT_EQ(t.text("MARK"), ""); // never set: blank, neither true nor false
}

TEST_P(RoundTrip, IndexOrderSurvivesReopen)
{
    createLog();
    {
        Table t;
        t.open(path);
        test::addQso(t, "W1AW", "20240102", "0900");
        test::addQso(t, "DL1ABC", "20240101", "2359");
        test::addQso(t, "DL1ABC", "20240101", "0001");
        test::addQso(t, "9A1A", "20231231", "2300");
    }
    Table t;
    t.open(path);
    t.setIndex("CALL");
    EXPECT_EQ(test::walk(t, "CALL"),
              (std::vector<std::string>{"9A1A", "DL1ABC", "DL1ABC", "W1AW"}));
    t.setIndex("DATETIME");
    EXPECT_EQ(test::walk(t, "TIME"), (std::vector<std::string>{"2300", "0001", "2359", "0900"}));
    t.setIndex("");
    EXPECT_EQ(test::walk(t, "CALL"),
              (std::vector<std::string>{"W1AW", "DL1ABC", "DL1ABC", "9A1A"}));
}

TEST_P(RoundTrip, EditsMoveRecordsInEveryTag)
{
    createLog();
    Table t;
    t.open(path);
    test::addQso(t, "AA1A", "20240101", "0000");
    test::addQso(t, "BB1B", "20240102", "0000");
    t.setIndex("CALL");
    t.first();
    t.edit();
    t.setText("CALL", "ZZ9Z");
    t.setText("DATE", "20250101");
    t.post();
    EXPECT_EQ(t.text("CALL"), "ZZ9Z"); // the cursor follows the record
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"BB1B", "ZZ9Z"}));
    t.close();
    t.open(path);
    t.setIndex("DATETIME");
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"BB1B", "ZZ9Z"}));
}

TEST_P(RoundTrip, DeletedRecordsAreHiddenUntilShownAndGoneAfterPack)
{
    createLog();
    Table t;
    t.open(path, {OpenMode::Exclusive});
    for (const char* call : {"A1", "B2", "C3", "D4"}) {
        test::addQso(t, call, "20240101", "0000");
    }
    t.setIndex("CALL");
    ASSERT_TRUE(t.findKey("B2"));
    t.deleteRecord();
    EXPECT_EQ(t.text("CALL"), "C3"); // moved on to the next record
    t.last();
    t.deleteRecord();
    EXPECT_EQ(t.text("CALL"), "C3"); // nothing after it: the prior one
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"A1", "C3"}));
    t.setShowDeleted(true);
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"A1", "B2", "C3", "D4"}));
    ASSERT_TRUE(t.findKey("D4"));
    EXPECT_TRUE(t.isDeleted());
    t.undeleteRecord();
    t.setShowDeleted(false);
    t.pack();
    EXPECT_EQ(t.recordCount(), 3u);
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"A1", "C3", "D4"}));
    t.close();
    t.open(path, {OpenMode::ReadOnly});
    t.setIndex("CALL");
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"A1", "C3", "D4"}));
}

TEST_P(RoundTrip, TagAddedLaterIsKeptAndMarkedInTheHeader)
{
    Table::create(path, test::logFields(), {GetParam(), {}});
    EXPECT_FALSE(std::filesystem::exists(dir / "log.mdx"));
    Table t;
    t.open(path);
    test::addQso(t, "K1ABC", "20240101", "0000");
    t.edit();
    t.setText("QMGR", "W3HNK");
    t.post();
    test::addQso(t, "K2ABC", "20240101", "0000");
    t.addIndex({"QMGR", "QMGR"});
    t.close();
    t.open(path, {OpenMode::ReadOnly});
    ASSERT_EQ(t.indexes().size(), 1u);
    EXPECT_TRUE(t.field(t.fieldIndex("QMGR")).hasOwnTag);
    t.setIndex("QMGR");
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"K2ABC", "K1ABC"}));
}

INSTANTIATE_TEST_SUITE_P(Levels, RoundTrip,
                         ::testing::Values(Level::DBase4, Level::DBase5, Level::DBase7),
                         [](const auto& p) {
                             return "Level" + std::to_string(static_cast<int>(p.param));
                         });

} // namespace
} // namespace qx7::dbase
