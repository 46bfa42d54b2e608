#include "dbase/EntrySort_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace qx7::dbase::detail {
namespace {

// Entries of `keyLength` key bytes followed by a 4-byte big-endian arrival number, the
// way an index tag's entries are laid out.
std::string entryOf(const std::string& key, std::uint32_t arrival)
{
    std::string e = key;
    for (int shift = 24; shift >= 0; shift -= 8) {
        e.push_back(static_cast<char>((arrival >> shift) & 0xff));
    }
    return e;
}

std::string pack(const std::vector<std::string>& keys)
{
    std::string out;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        out += entryOf(keys[i], static_cast<std::uint32_t>(i + 1));
    }
    return out;
}

// What the sort must produce: by key as memcmp orders it, equal keys by arrival.
std::string expected(const std::vector<std::string>& keys)
{
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::memcmp(keys[a].data(), keys[b].data(), keys[a].size()) < 0;
    });
    std::string out;
    for (std::size_t i : order) {
        out += entryOf(keys[i], static_cast<std::uint32_t>(i + 1));
    }
    return out;
}

void expectSorted(const std::vector<std::string>& keys, std::size_t keyLength)
{
    std::string entries = pack(keys);
    sortEntriesByKey(entries, keyLength + 4, keyLength);
    EXPECT_EQ(entries, expected(keys));
}

TEST(EntrySort, EmptyAndSingleEntriesStayAsTheyAre)
{
    std::string none;
    sortEntriesByKey(none, 7, 3);
    EXPECT_TRUE(none.empty());
    expectSorted({"ZZZ"}, 3);
}

// Both sizes: the few-entries path and the byte-wise distribution.
TEST(EntrySort, EqualKeysKeepTheirArrivalOrder)
{
    for (std::size_t n : {10u, 5000u}) {
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < n; ++i) {
            keys.push_back(i % 3 == 0 ? "SAME" : (i % 3 == 1 ? "ALSO" : "SAME"));
        }
        expectSorted(keys, 4);
        std::vector<std::string> allEqual(n, "K1  ");
        std::string entries = pack(allEqual);
        const std::string before = entries;
        sortEntriesByKey(entries, 8, 4);
        EXPECT_EQ(entries, before) << n;
    }
}

TEST(EntrySort, KeysDifferingOnlyInTheLastByte)
{
    for (std::size_t n : {20u, 3000u}) {
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < n; ++i) {
            std::string k(12, 'Q');
            k.back() = static_cast<char>(255 - (i * 37) % 256); // high bytes sort last
            keys.push_back(k);
        }
        expectSorted(keys, 12);
    }
}

// Random keys over a small alphabet with high bytes and long constant stretches, against
// a stable comparison sort; sizes on both sides of the few-entries threshold.
TEST(EntrySort, MatchesAStableComparisonSort)
{
    std::mt19937 rng(12);
    const char alphabet[] = {' ', '0', '9', 'A', 'Z', '\x7f', '\x80', '\xe9', '\xff', '\0'};
    for (std::size_t n : {2u, 63u, 64u, 65u, 1000u, 20000u}) {
        for (std::size_t keyLength : {1u, 8u, 17u, 30u}) {
            std::vector<std::string> keys;
            for (std::size_t i = 0; i < n; ++i) {
                std::string k(keyLength, ' ');
                for (std::size_t b = 0; b < keyLength; ++b) {
                    if (b % 4 != 1) { // every fourth byte the same in all keys
                        k[b] = alphabet[rng() % sizeof alphabet];
                    }
                }
                keys.push_back(k);
            }
            expectSorted(keys, keyLength);
        }
    }
}

// An index file's entries are sorted on their whole width (key and record number).
TEST(EntrySort, WholeEntryWidthOrdersByRecordNumberLast)
{
    std::string entries;
    for (std::uint32_t r : {300u, 5u, 70000u, 5u + 256u, 1u}) {
        entries += entryOf("AB", r);
    }
    for (int i = 0; i < 100; ++i) {
        entries += entryOf(i % 2 ? "AA" : "AC", static_cast<std::uint32_t>(1000 - i));
    }
    std::vector<std::string> asStrings;
    for (std::size_t at = 0; at < entries.size(); at += 6) {
        asStrings.push_back(entries.substr(at, 6));
    }
    std::sort(asStrings.begin(), asStrings.end());
    std::string want;
    for (const auto& s : asStrings) {
        want += s;
    }
    sortEntriesByKey(entries, 6, 6);
    EXPECT_EQ(entries, want);
}

} // namespace
} // namespace qx7::dbase::detail
