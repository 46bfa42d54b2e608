// The labels already used on a sheet: typed as a list, remembered per sheet type.

#include "labels/UsedPositions.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qx7 {
namespace {

TEST(UsedPositions, ListsAreCheckedAgainstTheSheet)
{
    std::vector<int> p;
    EXPECT_EQ(parseUsedPositions("7, 1,2,7", 24, p), "");
    EXPECT_EQ(p, (std::vector<int>{1, 2, 7}));
    EXPECT_EQ(formatUsedPositions(p), "1,2,7");
    EXPECT_EQ(parseUsedPositions("24", 24, p), "");

    EXPECT_EQ(parseUsedPositions("1,25", 24, p),
              "Label position 25 is not on the sheet: it has positions 1 to 24.");
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(parseUsedPositions("0", 24, p),
              "Label position 0 is not on the sheet: it has positions 1 to 24.");
    for (const char* bad : {"", "1,,2", "a", "1.5", "1;2", "-"}) {
        EXPECT_NE(parseUsedPositions(bad, 24, p), "") << bad;
        EXPECT_TRUE(p.empty()) << bad;
    }
}

TEST(UsedPositions, RememberedPerSheetType)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "qx7-used-positions-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "qx7.ini").string();
    {
        IniFile ini(path);
        rememberUsedPositions(ini, "Zweckform 3490 (70 x 36)", {1, 2, 7});
        rememberUsedPositions(ini, "Avery L7160", {3});
        rememberUsedPositions(ini, "", {4}); // no sheet type: nothing to key it by
        rememberUsedPositions(ini, "a=b", {4});
        ASSERT_TRUE(ini.save());
    }
    IniFile ini(path);
    EXPECT_EQ(ini.readString(kUsedPositionsSection, "Zweckform 3490 (70 x 36)", ""), "1,2,7");
    EXPECT_EQ(rememberedUsedPositions(ini, "Zweckform 3490 (70 x 36)", 24),
              (std::vector<int>{1, 2, 7}));
    EXPECT_EQ(rememberedUsedPositions(ini, "Avery L7160", 21), std::vector<int>{3});
    EXPECT_TRUE(rememberedUsedPositions(ini, "", 24).empty());
    EXPECT_EQ(ini.sectionKeys(kUsedPositionsSection).size(), 2u);
    // A smaller sheet (the layout changed) keeps only what is on it.
    EXPECT_EQ(rememberedUsedPositions(ini, "Zweckform 3490 (70 x 36)", 4),
              (std::vector<int>{1, 2}));
    // A hand-edited entry: what is readable counts.
    ini.writeString(kUsedPositionsSection, "Hand", "3,x,,5,99");
    EXPECT_EQ(rememberedUsedPositions(ini, "Hand", 24), (std::vector<int>{3, 5}));
    // None clears the entry.
    rememberUsedPositions(ini, "Avery L7160", {});
    EXPECT_FALSE(ini.valueExists(kUsedPositionsSection, "Avery L7160"));
    fs::remove_all(dir);
}

} // namespace
} // namespace qx7
