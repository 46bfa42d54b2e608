#include "dbase/KeyList_p.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace qx7::dbase::detail
