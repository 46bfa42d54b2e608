#include "dbase/KeyList_p.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>

namespace qx7::dbase::detail {
namespace {

using Model = std::set<std::pair<std::string, std::uint32_t>>;

std::vector<std::pair<std::string, std::uint32_t>> contents(const KeyList& list)
{
    std::vector<std::pair<std::string, std::uint32_t>> out;
    for (auto p = list.begin(); !list.atEnd(p); list.next(p)) {
        out.emplace_back(std::string(list.entry(p), list.keyLength()), list.recno(p));
    }
    return out;
}

// Random inserts and erases against std::set: enough operations to split and empty
// chunks many times over, with many duplicate keys.
TEST(KeyList, MatchesAnOrderedSetUnderRandomChanges)
{
    std::mt19937 rng(7);
    KeyList list(3);
    Model model;
    std::uint32_t nextRecno = 1;
    for (int i = 0; i < 20000; ++i) {
        const bool insert = model.empty() || rng() % 3 != 0;
        if (insert) {
            std::string key = {static_cast<char>('A' + rng() % 5),
                               static_cast<char>('a' + rng() % 4),
                               static_cast<char>(rng() % 2 ? ' ' : '\xe9')};
            const std::uint32_t recno = nextRecno++;
            list.insert(key.data(), recno);
            model.emplace(key, recno);
        } else {
            auto it = model.begin();
            std::advance(it, static_cast<long>(rng() % model.size()));
            EXPECT_TRUE(list.erase(it->first.data(), it->second));
            model.erase(it);
        }
    }
    EXPECT_EQ(list.size(), model.size());
    EXPECT_EQ(contents(list), std::vector(model.begin(), model.end()));
    EXPECT_FALSE(list.erase("ZZZ", 1));
}

TEST(KeyList, BoundsCompareOnlyTheGivenPrefix)
{
    KeyList list(4);
    const char* keys[] = {"AA  ", "AB  ", "AB  ", "ABC ", "B   "};
    std::uint32_t r = 1;
    for (const char* k : keys) {
        list.insert(k, r++);
    }
    struct Row
    {
        const char* probe;
        std::size_t length;
        std::uint32_t lower; // record at the lower bound, 0 = end
        std::uint32_t upper;
    };
    const Row rows[] = {
        {"AB", 2, 2, 5}, {"AB  ", 4, 2, 4}, {"A", 1, 1, 5}, {"C", 1, 0, 0},
        {"", 0, 1, 0},   {"AA  ", 4, 1, 2}, {"0", 1, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.probe);
        const auto lo = list.lowerBound(row.probe, row.length);
        const auto hi = list.upperBound(row.probe, row.length);
        EXPECT_EQ(list.atEnd(lo) ? 0u : list.recno(lo), row.lower);
        EXPECT_EQ(list.atEnd(hi) ? 0u : list.recno(hi), row.upper);
    }
}

TEST(KeyList, StepsBothWaysAcrossChunks)
{
    KeyList list(8);
    const std::uint32_t n = 5000; // several chunks
    for (std::uint32_t i = n; i >= 1; --i) {
        char key[9];
        std::snprintf(key, sizeof key, "%08u", i);
        list.insert(key, i);
    }
    std::uint32_t expected = 1;
    for (auto p = list.begin(); !list.atEnd(p); list.next(p)) {
        ASSERT_EQ(list.recno(p), expected++);
    }
    expected = n;
    auto p = list.last();
    do {
        ASSERT_EQ(list.recno(p), expected--);
    } while (list.prior(p));
    EXPECT_EQ(expected, 0u);
}

TEST(KeyList, InsertionOrderDoesNotChangeTheResult)
{
    KeyList ordered(12);
    KeyList shuffled(12);
    std::vector<std::uint32_t> order(20000);
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i] = i + 1;
    }
    for (std::uint32_t i : order) {
        char key[13];
        std::snprintf(key, sizeof key, "%012u", i);
        ordered.insert(key, i);
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(1));
    for (std::uint32_t i : order) {
        char key[13];
        std::snprintf(key, sizeof key, "%012u", i);
        shuffled.insert(key, i);
    }
    EXPECT_EQ(contents(ordered), contents(shuffled));
}

// A lazy list over chunks kept elsewhere must answer every question as the same keys
// held in memory do, hold only a few chunks at a time, and become an ordinary list when
// changed.
TEST(KeyList, LazyViewAnswersAsTheListInMemory)
{
    struct Source : KeyList::ChunkSource
    {
        std::vector<std::string> chunks; // entries of each chunk
        mutable int reads = 0;
        void read(std::size_t chunk, std::size_t count, char* out) const override
        {
            ++reads;
            std::memcpy(out, chunks[chunk].data(), chunks[chunk].size());
            EXPECT_EQ(chunks[chunk].size(), count * 8);
        }
    };
    KeyList full(4);
    auto source = std::make_shared<Source>();
    std::vector<std::uint32_t> counts;
    std::vector<char> fences;
    std::mt19937 rng(3);
    std::uint32_t recno = 0;
    std::string chunk;
    // Keys with long runs of duplicates, so equal keys span chunks; uneven chunk sizes.
    for (int k = 0; k < 400; ++k) {
        char key[5];
        std::snprintf(key, sizeof key, "K%03d", k);
        for (std::uint32_t d = rng() % 90; d > 0; --d) {
            ++recno;
            full.appendSorted(key, recno);
            chunk += full.makeEntry(key, recno);
            if (rng() % 40 == 0) {
                source->chunks.push_back(chunk);
                counts.push_back(static_cast<std::uint32_t>(chunk.size() / 8));
                fences.insert(fences.end(), chunk.end() - 8, chunk.end());
                chunk.clear();
            }
        }
    }
    if (!chunk.empty()) {
        source->chunks.push_back(chunk);
        counts.push_back(static_cast<std::uint32_t>(chunk.size() / 8));
        fences.insert(fences.end(), chunk.end() - 8, chunk.end());
    }
    KeyList lazy(4);
    const std::uint64_t before = lazy.version();
    lazy.setLazy(source, counts, fences);
    EXPECT_NE(lazy.version(), before);
    ASSERT_EQ(lazy.size(), full.size());
    EXPECT_EQ(source->reads, 0); // nothing read until asked

    const auto at = [](const KeyList& l, KeyList::Pos p) {
        return l.atEnd(p)
                   ? std::string("end")
                   : std::string(l.entry(p), l.entryWidth()) + "@" + std::to_string(l.ordinal(p));
    };
    for (int k = -1; k <= 401; ++k) {
        char probe[9];
        std::snprintf(probe, sizeof probe, "K%03d", k);
        for (std::size_t length : {1u, 3u, 4u}) {
            SCOPED_TRACE(std::string(probe, length));
            EXPECT_EQ(at(lazy, lazy.lowerBound(probe, length)),
                      at(full, full.lowerBound(probe, length)));
            EXPECT_EQ(at(lazy, lazy.upperBound(probe, length)),
                      at(full, full.upperBound(probe, length)));
        }
        // With a record number: where a cursor finds its own entry again.
        const std::string e = full.makeEntry(probe, recno / 2);
        EXPECT_EQ(at(lazy, lazy.lowerBound(e.data(), 8)), at(full, full.lowerBound(e.data(), 8)));
    }
    for (std::size_t n = 0; n <= full.size(); n += 37) {
        EXPECT_EQ(at(lazy, lazy.posAt(n)), at(full, full.posAt(n)));
    }
    EXPECT_EQ(contents(lazy), contents(full));
    auto p = lazy.last();
    std::size_t back = 0;
    do {
        ++back;
    } while (lazy.prior(p));
    EXPECT_EQ(back, full.size());
    EXPECT_LE(lazy.chunksHeld(), 64u);

    // A change reads the rest and goes on as an ordinary list.
    const std::uint64_t viewVersion = lazy.version();
    lazy.insert("K200", recno + 1);
    full.insert("K200", recno + 1);
    EXPECT_FALSE(lazy.isLazy());
    EXPECT_NE(lazy.version(), viewVersion);
    EXPECT_EQ(contents(lazy), contents(full));
}

} // namespace
} // namespace qx7::dbase::detail
