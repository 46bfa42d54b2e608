// The import buffer once writing starts: its lookups go, its records stay.

#include "convert/engine/ImportBuffer.h"

#include <gtest/gtest.h>

namespace qx7::test {
namespace {

using Views = std::vector<std::string_view>;

TEST(ImportBufferTest, ReleasingTheLookupsKeepsTheRecordsAndTheirOrder)
{
    const std::string blank(12, ' ');
    const std::string a = "202401011200DL1ABC|GA=NNN" + blank;
    const std::string b = "202401011100W1AW|ED=NNN" + blank;
    const std::string c = "202401011200dl1abc|GA=NNN" + blank; // a again, in other case
    ImportBuffer buffer(RecordLayout::DateFirst, false);
    EXPECT_TRUE(buffer.add(a));
    EXPECT_TRUE(buffer.add(b));
    EXPECT_FALSE(buffer.add(c));
    EXPECT_FALSE(buffer.addMerging(a, KeyConflict::KeepOld)); // builds the key index too
    const Views before = buffer.sorted();
    ASSERT_EQ(before, (Views{b, a}));

    buffer.releaseLookups();
    EXPECT_EQ(buffer.size(), 2u);
    EXPECT_EQ(buffer.sorted(), before);

    // A cleared buffer finds duplicates and keys again.
    buffer.clear(RecordLayout::DateFirst, false);
    EXPECT_TRUE(buffer.add(a));
    EXPECT_FALSE(buffer.add(c));
    EXPECT_FALSE(buffer.addMerging(c, KeyConflict::KeepOld));
    EXPECT_EQ(buffer.sorted(), (Views{a}));
}

} // namespace
} // namespace qx7::test
