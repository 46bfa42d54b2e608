// The header's record count against the records in the file: a count that is too low
// must not hide records (nor let a rewrite drop them), while the leftovers of an append
// that a kill interrupted are no records at all.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

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

// Many records appended at once go to the file in batches, each kill-safe like one
// append: whole, counted, indexed, and the table ends with exactly one end mark.
TEST(RecordCount, AppendManyWritesWholeIndexedBatches)
{
    ScratchDir dir;
    const auto path = logWith(dir, 3);
    Table t;
    t.open(path);
    const auto length = static_cast<std::size_t>(t.recordLength());
    const auto header = static_cast<std::size_t>(t.headerLength());
    const std::size_t perBatch = (std::size_t{1} << 20) / length;
    const std::size_t many = perBatch * 2 + 17; // two full batches and a part
    int changes = 0;
    t.addObserver([&](Table&, TableEvent e) { changes += e == TableEvent::DataChanged; });
    t.appendMany(many, [&](std::size_t i) {
        t.setText("CALL", "W" + std::to_string(many - i));
        t.setText("DATE", "20240102");
        t.setBoolean("MARK", i % 2 == 0);
    });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.recNo(), 3 + many);
    EXPECT_EQ(t.text("CALL"), "W1");
    t.close();

    const std::string bytes = test::readFile(path);
    EXPECT_EQ(countField(bytes), 3 + many);
    ASSERT_EQ(bytes.size(), header + (3 + many) * length + 1);
    EXPECT_EQ(bytes.back(), 0x1A);
    for (std::size_t r = 0; r < 3 + many; ++r)
        ASSERT_EQ(bytes[header + r * length], ' ') << "record " << r + 1;
    t.open(path, {OpenMode::ReadOnly});
    t.setIndex("CALL");
    const std::vector<std::string> calls = test::walk(t, "CALL");
    ASSERT_EQ(calls.size(), 3 + many);
    EXPECT_EQ(calls.front(), "DL0");
    EXPECT_TRUE(std::is_sorted(calls.begin(), calls.end()));
    t.setIndex("");
    t.last();
    t.prior();
    EXPECT_EQ(t.text("CALL"), "W2");
    EXPECT_FALSE(t.boolean("MARK"));
}

// A kill between a batch's count and its first record's flag leaves that flag as the end
// mark, possibly a whole batch before the end; the next writable open finishes it.
TEST(RecordCount, ABatchKilledBeforeItsFlagIsFinishedAtTheNextWritableOpen)
{
    ScratchDir dir;
    const auto path = logWith(dir, 3);
    Table t;
    t.open(path);
    const auto length = static_cast<std::size_t>(t.recordLength());
    const auto header = static_cast<std::size_t>(t.headerLength());
    const std::size_t perBatch = (std::size_t{1} << 20) / length;
    const std::size_t many = perBatch + perBatch / 2;
    t.appendMany(many, [&](std::size_t i) { t.setText("CALL", "K" + std::to_string(i)); });
    t.close();
    std::string bytes = test::readFile(path);
    const std::size_t pending = 3 + perBatch; // the first record of the last batch, from 0
    bytes[header + pending * length] = 0x1A;
    test::writeFile(path, bytes);

    t.open(path);
    t.close();
    const std::string after = test::readFile(path);
    for (std::size_t r = 0; r < 3 + many; ++r)
        ASSERT_EQ(after[header + r * length], ' ') << "record " << r + 1;
    t.open(path, {OpenMode::ReadOnly});
    EXPECT_EQ(t.liveRecordCount(), 3 + many);
}

// A fill that throws keeps the batches written before it and nothing of the rest.
TEST(RecordCount, AppendManyStoppedByAFailureKeepsTheWrittenBatches)
{
    ScratchDir dir;
    const auto path = logWith(dir, 1);
    Table t;
    t.open(path);
    const std::size_t perBatch =
        (std::size_t{1} << 20) / static_cast<std::size_t>(t.recordLength());
    EXPECT_THROW(t.appendMany(perBatch * 3,
                              [&](std::size_t i) {
                                  if (i == perBatch + 5)
                                      throw std::runtime_error("stop");
                                  t.setText("CALL", "K" + std::to_string(i));
                              }),
                 std::runtime_error);
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.recordCount(), 1 + perBatch);
    test::addQso(t, "W1AW", "20240101", "1200");
    t.close();
    t.open(path, {OpenMode::ReadOnly});
    t.setIndex("CALL");
    EXPECT_EQ(test::walk(t, "CALL").size(), 2 + perBatch);
    EXPECT_TRUE(t.findKey("W1AW"));
}

} // namespace
} // namespace qx7::dbase
