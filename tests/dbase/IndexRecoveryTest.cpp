// The .dbf is the source of truth: every way an .mdx can go wrong ends in a rebuilt
// index, and locks keep two writers apart.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

using test::ScratchDir;
using Strings = std::vector<std::string>;

class Recovery : public ::testing::Test
{
protected:
    ScratchDir dir;
    std::filesystem::path dbf = dir / "log.dbf";
    std::filesystem::path mdx = dir / "log.mdx";
    const Strings sorted = {"AA1A", "BB1B", "CC1C", "DD1D"};

    void SetUp() override
    {
        Table::create(dbf, test::logFields(), {Level::DBase4, test::logIndexes()});
        Table t;
        t.open(dbf);
        for (const char* call : {"CC1C", "AA1A", "DD1D", "BB1B"}) {
            test::addQso(t, call, "20240101", "0000");
        }
    }

    Strings callOrder(OpenMode mode = OpenMode::Shared)
    {
        Table t;
        t.open(dbf, {mode});
        t.setIndex("CALL");
        return test::walk(t, "CALL");
    }
};

TEST_F(Recovery, CorruptionsOfTheIndexAllEndInARebuild)
{
    const std::string good = test::readFile(mdx);
    struct Damage
    {
        const char* what;
        std::function<void(std::string&)> apply;
    };
    const Damage damages[] = {
        {"file removed", [](std::string& b) { b.clear(); }},
        {"cut to its header", [](std::string& b) { b.resize(2048); }},
        {"cut mid-tree", [](std::string& b) { b.resize(b.size() - 600); }},
        {"garbage version", [](std::string& b) { b[0] = 9; }},
        {"dirty marker left by a crash", [](std::string& b) { b[53] = 1; }},
        {"record count stamp differs", [](std::string& b) { b[56] = 3; }},
        {"belongs to another table", [](std::string& b) { b[4] = 'X'; }},
        {"root pointer into the header", [](std::string& b) { b[2048] = 1; }},
        {"leaf key count absurd", [](std::string& b) { b[3072] = '\x7f'; }},
        {"leaf record number out of range", [](std::string& b) { b[3072 + 8] = 99; }},
        {"leaf keys out of order is repaired by sorting, counts still checked",
         [](std::string& b) { std::swap(b[3072 + 12], b[3072 + 12 + 20]); }},
        {"every byte after the header zeroed",
         [](std::string& b) { std::fill(b.begin() + 2048, b.end(), '\0'); }},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string bytes = good;
        d.apply(bytes);
        if (bytes.empty()) {
            std::filesystem::remove(mdx);
        } else {
            test::writeFile(mdx, bytes);
        }
        EXPECT_EQ(callOrder(OpenMode::ReadOnly), sorted);
        if (!bytes.empty()) {
            EXPECT_EQ(test::readFile(mdx), bytes); // read-only never writes
        }
        EXPECT_EQ(callOrder(), sorted); // a writable open repairs the file
        EXPECT_EQ(callOrder(OpenMode::ReadOnly), sorted);
        test::writeFile(mdx, good);
    }
}

TEST_F(Recovery, ChangesByAnotherProgramMakeTheIndexStale)
{
    // Another tool rewrites a record in place: same size, new modification time.
    std::string bytes = test::readFile(dbf);
    const std::size_t header = 32 + 32 * 18 + 1;
    bytes.replace(header + 1, 4, "ZZ9Z"); // CC1C, record 1
    test::writeFile(dbf, bytes);
    EXPECT_EQ(callOrder(), (Strings{"AA1A", "BB1B", "DD1D", "ZZ9Z"}));
}

TEST_F(Recovery, MissingIndexRebuildsOwnFieldTagsAndRequestedExpressionTags)
{
    std::filesystem::remove(mdx);
    Table t;
    t.open(dbf, {OpenMode::Shared, {{"DATETIME", "DATE+TIME"}}});
    ASSERT_EQ(t.indexes().size(), 2u); // CALL from the field flag, DATETIME asked for
    t.setIndex("CALL");
    EXPECT_EQ(test::walk(t, "CALL"), sorted);
    EXPECT_TRUE(std::filesystem::exists(mdx));
}

TEST_F(Recovery, IndexStaysCleanAfterAnOrderlyClose)
{
    callOrder(); // open and close writable without changes
    const std::string before = test::readFile(mdx);
    EXPECT_EQ(before[53], 0);
    {
        Table t;
        t.open(dbf);
        test::addQso(t, "EE1E", "20240101", "0000");
        EXPECT_EQ(test::readFile(mdx)[53], 1); // marked before the first write
        t.flush();
        EXPECT_EQ(test::readFile(mdx)[53], 0);
        test::addQso(t, "FF1F", "20240101", "0000");
        EXPECT_EQ(test::readFile(mdx)[53], 1);
    }
    EXPECT_EQ(test::readFile(mdx)[53], 0);
}

TEST(Locks, ExclusiveAndSharedOpensExcludeEachOther)
{
    ScratchDir dir;
    const auto path = dir / "t.dbf";
    Table::create(path, {{"CALL", 'C', 10}});
    auto kindOf = [&](OpenMode mode) {
        Table t;
        try {
            t.open(path, {mode});
            return std::string("opened");
        } catch (const Error& e) {
            return std::string(e.kind() == Error::Kind::InUse ? "in use" : e.what());
        }
    };
    {
        Table holder;
        holder.open(path, {OpenMode::Exclusive});
        EXPECT_EQ(kindOf(OpenMode::Exclusive), "in use");
        EXPECT_EQ(kindOf(OpenMode::Shared), "in use");
        EXPECT_EQ(kindOf(OpenMode::ReadOnly), "in use");
        EXPECT_THROW(Table::remove(path), Error);
    }
    {
        Table holder;
        holder.open(path, {OpenMode::ReadOnly});
        EXPECT_EQ(kindOf(OpenMode::Shared), "opened");
        EXPECT_EQ(kindOf(OpenMode::Exclusive), "in use");
    }
    EXPECT_EQ(kindOf(OpenMode::Exclusive), "opened");
    Table::remove(path);
    EXPECT_FALSE(Table::exists(path));
    EXPECT_THROW(Table::remove(path), Error);
}

TEST(Create, RejectsWhatDBaseCannotHold)
{
    ScratchDir dir;
    const auto path = dir / "t.dbf";
    const std::vector<std::vector<FieldDef>> bad = {
        {},
        {{"TOOLONGNAME1", 'C', 5}},
        {{"1CALL", 'C', 5}},
        {{"CALL", 'C', 0}},
        {{"CALL", 'C', 255}},
        {{"CALL", 'N', 5}},
        {{"CALL", 'C', 5}, {"call", 'C', 5}},
    };
    for (const auto& fields : bad) {
        EXPECT_THROW(Table::create(path, fields), Error);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_THROW(Table::create(path, {{"CALL", 'C', 5}}, {Level::DBase4, {{"X", "NOPE"}}}), Error);
    EXPECT_FALSE(std::filesystem::exists(path));
    Table::create(path, {{"CALL", 'C', 5}});
    EXPECT_THROW(Table::create(path, {{"CALL", 'C', 5}}), Error);
    Table::create(path, {{"CALL", 'C', 6}}, {Level::DBase4, {}, true});
}

} // namespace
} // namespace qx7::dbase
