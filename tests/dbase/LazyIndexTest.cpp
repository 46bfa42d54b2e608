// A tag opened from a trusted .mdx stays in the file and is read leaf by leaf: on a log
// large enough for a tree of many leaves, it must answer exactly as keys rebuilt from
// the records do, leave a valid index behind when the table is then written, and turn
// damage anywhere in the tree into a rebuild.

#include "TestUtil.h"

#include "dbase/KeyList_p.h"
#include "dbase/MdxFile_p.h"
#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace qx7::dbase {
namespace {

using test::ScratchDir;

constexpr std::uint32_t kQsos = 6000; // about 120 leaves per tag

std::string callOf(std::uint32_t i)
{
    // 250 calls: long runs of equal keys that span leaves.
    char call[16];
    std::snprintf(call, sizeof call, "DL%uQ%c", i % 250, static_cast<char>('A' + i % 7));
    return call;
}

class LazyIndex : public ::testing::Test
{
protected:
    ScratchDir dir;
    std::filesystem::path dbf = dir / "log.dbf";
    std::filesystem::path mdx = dir / "log.mdx";
    std::filesystem::path copy = dir / "copy.dbf"; // the same records, index rebuilt

    void SetUp() override
    {
        Table::create(dbf, test::logFields(), {Level::DBase4, test::logIndexes()});
        Table t;
        t.open(dbf);
        t.suspendNotifications();
        std::mt19937 engine(11);
        const auto rng = [&] { return static_cast<unsigned>(engine()); };
        for (std::uint32_t i = 0; i < kQsos; ++i) {
            char date[9];
            std::snprintf(date, sizeof date, "20%02u%02u%02u", 10 + rng() % 14, 1 + rng() % 12,
                          1 + rng() % 28);
            test::addQso(t, callOf(rng()), date, "1200");
        }
        t.close();
        std::filesystem::copy_file(dbf, copy);
    }

    // Everything a grid and a search ask, as one text to compare.
    static std::string answers(Table& t, const std::string& tag)
    {
        std::string out;
        t.setIndex(tag);
        out += "count " + std::to_string(t.indexRangeCount()) + "\n";
        for (t.first(); !t.eof(); t.next()) {
            out += std::to_string(t.recNo()) + " ";
        }
        out += "\nback ";
        for (t.last(); !t.bof(); t.prior()) {
            out += std::to_string(t.recNo()) + " ";
        }
        for (std::uint32_t n = 0; n < kQsos; n += 97) {
            EXPECT_TRUE(t.gotoIndexRangePosition(n));
            const auto back = t.indexRangePosition();
            out += "\nat " + std::to_string(n) + " " + std::to_string(t.recNo()) + " " +
                   std::to_string(back ? *back : 999999);
        }
        if (tag == "CALL") {
            for (std::uint32_t i = 0; i < 260; i += 3) {
                const std::string call = callOf(i);
                const bool found = t.findKey(call);
                out += "\nfind " + call + " " + std::to_string(found) + " " +
                       std::to_string(t.recNo());
                t.setRange(call.substr(0, 3), call.substr(0, 3) + "Z");
                out += " prefix " + std::to_string(t.indexRangeCount()) + " " +
                       std::to_string(t.recNo());
                t.moveBy(5);
                const auto pos = t.indexRangePosition();
                out += " +5 at " + std::to_string(pos ? *pos : 999999);
                t.cancelRange();
            }
        }
        return out;
    }
};

TEST_F(LazyIndex, AnswersAsTheKeysRebuiltFromTheRecords)
{
    Table fromFile;
    fromFile.open(dbf, {OpenMode::ReadOnly});
    Table rebuilt; // no .mdx beside the copy: built from the records in memory
    rebuilt.open(copy, {OpenMode::ReadOnly, test::logIndexes()});
    for (const char* tag : {"CALL", "DATETIME"}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(answers(fromFile, tag), answers(rebuilt, tag));
    }
}

TEST_F(LazyIndex, WritingAfterALazyOpenLeavesAValidIndex)
{
    std::vector<std::pair<std::string, std::uint32_t>> expected;
    {
        Table t;
        t.open(dbf);
        t.setIndex("CALL");
        t.gotoIndexRangePosition(kQsos / 2); // some leaves read, most not
        const std::uint32_t changed = t.recNo();
        t.edit();
        t.setText("CALL", "AA0AA");
        t.post();
        test::addQso(t, "ZZ9ZZ", "20240101", "0000");
        test::addQso(t, "DL7QC", "20240101", "0000");
        t.setIndex("");
        for (t.first(); !t.eof(); t.next()) {
            expected.emplace_back(t.text("CALL"), t.recNo());
        }
        EXPECT_EQ(expected[changed - 1].first, "AA0AA");
    }
    std::sort(expected.begin(), expected.end());
    // The file itself, read with every check: not rebuilt behind our back.
    const std::string bytes = test::readFile(mdx);
    const detail::MdxInfo info = detail::parseMdxHeader(bytes, "log");
    EXPECT_FALSE(info.stamp.dirty);
    ASSERT_EQ(info.tags[0].name, "CALL");
    detail::KeyList keys(info.tags[0].keyLength);
    detail::loadMdxTag(bytes, info.tags[0], kQsos + 2, keys, "log");
    std::vector<std::pair<std::string, std::uint32_t>> onDisk;
    for (auto p = keys.begin(); !keys.atEnd(p); keys.next(p)) {
        std::string call(keys.entry(p), keys.keyLength());
        call.erase(call.find_last_not_of(' ') + 1);
        onDisk.emplace_back(call, keys.recno(p));
    }
    EXPECT_EQ(onDisk, expected);
}

TEST_F(LazyIndex, DamageDeepInTheTreeEndsInARebuild)
{
    Table reference;
    reference.open(copy, {OpenMode::ReadOnly, test::logIndexes()});
    const std::string want = answers(reference, "CALL");
    const std::string good = test::readFile(mdx);
    const detail::MdxInfo info = detail::parseMdxHeader(good, "log");
    const std::size_t callHeader = std::size_t{info.tags[0].headerPage} * 512;
    const std::size_t dateHeader = std::size_t{info.tags[1].headerPage} * 512;
    // A leaf in the middle of the CALL tree: its pages lie between the two tag headers.
    const std::size_t leaf = (callHeader + dateHeader) / 2 / 1024 * 1024;
    struct Damage
    {
        const char* what;
        std::function<void(std::string&)> apply;
    };
    const Damage damages[] = {
        {"a key byte changed", [&](std::string& b) { b[leaf + 8 + 4] ^= 0x01; }},
        {"a record number changed", [&](std::string& b) { b[leaf + 8] ^= 0x01; }},
        // Without our checksum (as another program writes it): keys out of order across
        // leaves are sorted, never shown in the wrong order.
        {"leaves swapped, no checksum",
         [&](std::string& b) {
             b[callHeader + 504] = 0;
             std::swap_ranges(b.begin() + static_cast<long>(leaf + 8),
                              b.begin() + static_cast<long>(leaf + 8 + 20),
                              b.begin() + static_cast<long>(leaf + 1024 * 7 + 8));
         }},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string bytes = good;
        d.apply(bytes);
        ASSERT_NE(bytes, good);
        test::writeFile(mdx, bytes);
        {
            Table t;
            t.open(dbf, {OpenMode::ReadOnly});
            EXPECT_EQ(answers(t, "CALL"), want);
        }
        test::writeFile(mdx, good);
    }
}

TEST_F(LazyIndex, AReaderKeepsItsViewWhileAWriterReplacesTheIndex)
{
    Table reader;
    reader.open(dbf, {OpenMode::ReadOnly});
    reader.setIndex("CALL");
    std::vector<std::string> before;
    for (reader.first(); !reader.eof(); reader.next()) {
        before.push_back(reader.text("CALL"));
    }
    {
        Table writer;
        writer.open(dbf);
        for (int i = 0; i < 300; ++i) {
            test::addQso(writer, "AA" + std::to_string(i), "20240101", "0000");
        }
        writer.flush(); // a new .mdx is renamed over the one the reader has open
    }
    std::vector<std::string> after;
    for (reader.first(); !reader.eof(); reader.next()) {
        after.push_back(reader.text("CALL"));
    }
    EXPECT_EQ(after, before);
    EXPECT_TRUE(std::is_sorted(after.begin(), after.end()));
}

} // namespace
} // namespace qx7::dbase
