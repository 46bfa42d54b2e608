// Tables written by other programs (fixtures made with python3-dbf), and broken files:
// every one either reads correctly or fails with a clear Damaged error.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <map>

namespace qx7::dbase {
namespace {

const std::filesystem::path kData = std::filesystem::path(QX7_TEST_DATA) / "dbase";

std::vector<std::map<std::string, std::string>> readAll(Table& t)
{
    std::vector<std::map<std::string, std::string>> rows;
    for (t.first(); !t.eof(); t.next()) {
        std::map<std::string, std::string> row;
        for (int i = 0; i < t.fieldCount(); ++i) {
            row[t.field(i).name] = t.text(i);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ForeignTables, DBase3WithMemoAndADeletedRecord)
{
    Table t;
    t.open(kData / "dbase3_memo.dbf", {OpenMode::ReadOnly});
    EXPECT_EQ(t.format(), Format::DBase3);
    EXPECT_EQ(t.level(), 3);
    EXPECT_EQ(t.recordCount(), 3u);
    ASSERT_EQ(t.fieldCount(), 5);
    EXPECT_EQ(t.field(2).type, 'N');
    EXPECT_EQ(t.field(2).decimals, 1);
    const auto rows = readAll(t);
    ASSERT_EQ(rows.size(), 2u); // K1AA is deleted
    EXPECT_EQ(rows[0].at("CALL"), "DL1ABC");
    EXPECT_EQ(rows[0].at("QSO_DATE"), "20240105");
    EXPECT_EQ(rows[0].at("POWER"), "100.5");
    EXPECT_EQ(rows[0].at("CONFIRMED"), "T");
    EXPECT_EQ(rows[0].at("NOTES"), "first memo\nline two");
    EXPECT_EQ(rows[1].at("NOTES"), std::string(700, 'x')); // spans two memo blocks
    EXPECT_EQ(rows[1].at("CONFIRMED"), "");
    t.setShowDeleted(true);
    t.first();
    t.next();
    EXPECT_TRUE(t.isDeleted());
    EXPECT_EQ(t.text("CALL"), "K1AA");
    EXPECT_EQ(t.text("QSO_DATE"), "");
}

TEST(ForeignTables, FoxPro2WithMemoAndFloat)
{
    Table t;
    t.open(kData / "foxpro_memo.dbf", {OpenMode::ReadOnly});
    EXPECT_EQ(t.format(), Format::FoxPro2);
    const auto rows = readAll(t);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("CALL"), "ÄÖÜ");
    EXPECT_EQ(rows[0].at("NOTES"), "Grüße");
    EXPECT_EQ(rows[0].at("RATE"), "1.250");
    EXPECT_EQ(rows[1].at("RATE"), "");
    EXPECT_EQ(rows[1].at("CONFIRMED"), "F");
}

TEST(ForeignTables, VisualFoxProTypes)
{
    Table t;
    t.open(kData / "vfp_types.dbf", {OpenMode::ReadOnly});
    EXPECT_EQ(t.format(), Format::VisualFoxPro);
    EXPECT_EQ(t.fieldCount(), 7); // the hidden null-flags field is not listed
    const auto rows = readAll(t);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("STAMP"), "2024-01-05 12:34:56");
    EXPECT_EQ(rows[0].at("COUNT"), "-42");
    EXPECT_EQ(rows[0].at("MONEY"), "12.3455");
    EXPECT_EQ(rows[0].at("RATIO"), "2.5");
    EXPECT_EQ(rows[0].at("NOTES"), "vfp memo");
    EXPECT_EQ(rows[1].at("STAMP"), "");
    EXPECT_EQ(rows[1].at("OPT"), "abc");
}

TEST(ForeignTables, ReadOnlyOpensWriteNothing)
{
    test::ScratchDir dir;
    for (const char* f : {"dbase3_memo.dbf", "dbase3_memo.dbt"}) {
        std::filesystem::copy_file(kData / f, dir / f);
    }
    const std::string before = test::readFile(dir / "dbase3_memo.dbf");
    const auto stamp = std::filesystem::last_write_time(dir / "dbase3_memo.dbf");
    {
        Table t;
        t.open(dir / "dbase3_memo.dbf", {OpenMode::ReadOnly, {{"CALL", "CALL"}}});
        t.setIndex("CALL");
        readAll(t);
        EXPECT_THROW(t.edit(), Error);
        EXPECT_THROW(t.append(), Error);
    }
    EXPECT_EQ(test::readFile(dir / "dbase3_memo.dbf"), before);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "dbase3_memo.dbf"), stamp);
    EXPECT_FALSE(std::filesystem::exists(dir / "dbase3_memo.mdx"));
}

TEST(ForeignTables, WritableOpenOfAForeignTableKeepsItReadable)
{
    test::ScratchDir dir;
    for (const char* f : {"foxpro_memo.dbf", "foxpro_memo.fpt"}) {
        std::filesystem::copy_file(kData / f, dir / f);
    }
    Table t;
    t.open(dir / "foxpro_memo.dbf");
    t.first();
    t.edit();
    t.setText("POWER", "5");
    t.setText("QSO_DATE", "2024-02-29");
    EXPECT_THROW(t.setText("POWER", "123456789"), Error);
    EXPECT_THROW(t.setText("QSO_DATE", "yesterday"), Error);
    EXPECT_THROW(t.setText("NOTES", "new memo"), Error);
    t.post();
    t.close();
    t.open(dir / "foxpro_memo.dbf", {OpenMode::ReadOnly});
    t.first();
    EXPECT_EQ(t.text("POWER"), "5.0");
    EXPECT_EQ(t.text("QSO_DATE"), "20240229");
    EXPECT_EQ(t.text("NOTES"), "Grüße");
}

TEST(BadInput, BrokenTablesFailWithDamagedErrors)
{
    struct Row
    {
        const char* file;
        const char* cause; // part of the message
    };
    const Row rows[] = {
        {"broken_header.dbf", "header length"},
        {"truncated.dbf", "header length"},
        {"count_beyond_file.dbf", "counts 1000 records"},
        {"unknown_version.dbf", "unknown version"},
        {"field_past_record.dbf", "past the record length"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        Table t;
        try {
            t.open(kData / r.file, {OpenMode::ReadOnly});
            ADD_FAILURE() << "opened";
        } catch (const Error& e) {
            EXPECT_TRUE(e.isDamaged());
            EXPECT_FALSE(e.where().empty());
            EXPECT_NE(std::string(e.what()).find(r.cause), std::string::npos) << e.what();
        }
    }
}

TEST(BadInput, MemoPointerPastTheEndFailsOnlyThatField)
{
    Table t;
    t.open(kData / "memo_past_end.dbf", {OpenMode::ReadOnly});
    t.first();
    EXPECT_EQ(t.text("CALL"), "DL1ABC");
    try {
        t.text("NOTES");
        ADD_FAILURE() << "read";
    } catch (const Error& e) {
        EXPECT_TRUE(e.isDamaged());
        EXPECT_EQ(e.where(), "memo block 9999");
    }
}

TEST(BadInput, EveryTruncationOfAGoodTableIsHandled)
{
    test::ScratchDir dir;
    const auto path = dir / "t.dbf";
    Table::create(path, test::logFields(), {Level::DBase4, test::logIndexes()});
    {
        Table t;
        t.open(path);
        test::addQso(t, "DL1ABC", "20240101", "0000");
        test::addQso(t, "K1AA", "20240101", "0000");
    }
    const std::string good = test::readFile(path);
    for (std::size_t size = 0; size < good.size(); size += 7) {
        test::writeFile(path, good.substr(0, size));
        Table t;
        try {
            t.open(path, {OpenMode::ReadOnly});
            t.setIndex("CALL");
            test::walk(t, "CALL");
        } catch (const Error& e) {
            EXPECT_TRUE(e.isDamaged()) << size << ": " << e.what();
        }
    }
}

} // namespace
} // namespace qx7::dbase
