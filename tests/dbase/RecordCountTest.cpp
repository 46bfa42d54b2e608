// The header's record count against the records in the file: a count that is too low
// must not hide records (nor let a rewrite drop them), while the leftovers of an append
// that a kill interrupted are no records at all.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qx7::dbase {
namespace {

using test::ScratchDir;

std::uint32_t countField(const std::string& bytes)
{
    std::uint32_t n = 0;
    std::memcpy(&n, bytes.data() + 4, 4); // little-endian hosts only, as the tests run
    return n;
}

void setCountField(std::string& bytes, std::uint32_t n)
{
    std::memcpy(bytes.data() + 4, &n, 4);
}

std::filesystem::path logWith(const ScratchDir& dir, int qsos)
{
    const auto path = dir / "log.dbf";
    Table::create(path, test::logFields(), {Level::DBase4, test::logIndexes()});
    Table t;
    t.open(path);
    for (int i = 0; i < qsos; ++i) {
        test::addQso(t, "DL" + std::to_string(i), "20240101", "1200");
    }
    t.close();
    return path;
}

TEST(RecordCount, TooLowACountIsReportedAndNothingIsRewritten)
{
    ScratchDir dir;
    const auto path = logWith(dir, 1000);
    std::string bytes = test::readFile(path);
    setCountField(bytes, 10);
    test::writeFile(path, bytes);

    for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared, OpenMode::Exclusive}) {
        Table t;
        try {
            t.open(path, {mode});
            ADD_FAILURE() << "opened as if it held 10 records";
        } catch (const Error& e) {
            EXPECT_TRUE(e.isDamaged());
            EXPECT_NE(std::string(e.what()).find("counts 10 records but the file holds 1000"),
                      std::string::npos)
                << e.what();
        }
        EXPECT_EQ(test::readFile(path), bytes) << "the hidden records must survive";
    }
}

TEST(RecordCount, AnInterruptedAppendIsNoRecordAndIsOverwritten)
{
    ScratchDir dir;
    const auto path = logWith(dir, 3);
    // What an append killed before its count leaves: the record's bytes past the count,
    // its flag still the end mark, and a new end mark behind it.
    std::string bytes = test::readFile(path);
    Table probe;
    probe.open(path, {OpenMode::ReadOnly});
    const auto length = static_cast<std::size_t>(probe.recordLength());
    const auto header = static_cast<std::size_t>(probe.headerLength());
    probe.close();
    std::string torn = bytes.substr(header + 2 * length, length); // a copy of record 3
    torn[0] = 0x1A;
    bytes.resize(header + 3 * length);
    bytes += torn;
    bytes.push_back(0x1A);
    test::writeFile(path, bytes);

    {
        Table t;
        t.open(path, {OpenMode::ReadOnly});
        EXPECT_EQ(t.recordCount(), 3u);
    }
    Table t;
    t.open(path);
    EXPECT_EQ(t.recordCount(), 3u);
    test::addQso(t, "K1AA", "20240102", "0800");
    t.close();
    const std::string after = test::readFile(path);
    EXPECT_EQ(countField(after), 4u);
    EXPECT_EQ(after.size(), header + 4 * length + 1);
    EXPECT_EQ(after[header + 3 * length], ' ');
    t.open(path, {OpenMode::ReadOnly});
    t.setIndex("CALL");
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"DL0", "DL1", "DL2", "K1AA"}));
}

TEST(RecordCount, AnAppendKilledBeforeItsFlagIsFinishedAtTheNextWritableOpen)
{
    ScratchDir dir;
    const auto path = logWith(dir, 2);
    Table probe;
    probe.open(path, {OpenMode::ReadOnly});
    const auto length = static_cast<std::size_t>(probe.recordLength());
    const auto header = static_cast<std::size_t>(probe.headerLength());
    probe.close();
    std::string bytes = test::readFile(path);
    bytes[header + length] = 0x1A; // record 2 counted, its flag not yet written
    test::writeFile(path, bytes);

    Table t;
    t.open(path);
    t.close();
    EXPECT_EQ(test::readFile(path)[header + length], ' ');
    t.open(path, {OpenMode::ReadOnly});
    EXPECT_EQ(test::walk(t, "CALL"), (std::vector<std::string>{"DL0", "DL1"}));
}

} // namespace
} // namespace qx7::dbase
