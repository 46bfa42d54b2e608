// Values are cut to a number of characters, never inside one; ASCII and non-ASCII
// text take different roads to the same rule.

#include "convert/normalize/ImportRecord.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

struct PrefixRow
{
    std::string_view text;
    size_t chars;
    size_t maxBytes;
    std::string_view expected;
};

TEST(Utf8Prefix, CutsAtCharactersAndBytes)
{
    constexpr size_t all = std::string_view::npos;
    const PrefixRow rows[] = {
        {"DL1ABC", 3, all, "DL1"},
        {"DL1ABC", 10, all, "DL1ABC"},
        {"", 5, all, ""},
        {"J\xC3\xBCrgen", 2, all, "J\xC3\xBC"},
        {"J\xC3\xBCrgen", 1, all, "J"},
        // A stray continuation byte goes with the character before it.
        {"ab\x80xyz", 2, all, "ab\x80"},
        {"ab\x80\x80", 5, all, "ab\x80\x80"},
        {"abc", 3, 2, "ab"},
        {"a\xC3\xBC", 2, 2, "a"},
        {"ab\x80", 2, 2, "a"},
    };
    for (const PrefixRow& row : rows) {
        SCOPED_TRACE(std::string(row.text));
        EXPECT_EQ(utf8Prefix(row.text, row.chars, row.maxBytes), row.expected);
    }
}

} // namespace
} // namespace qx7
