// Grid layout files: what is saved reads back the same, and a file that is damaged,
// foreign or names fields a grid cannot show is refused, so that the log windows fall
// back to the shipped columns instead of showing a broken grid.

#include "TempFolder.h"

#include "store/LogGridSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(LogGridSetup, ASavedLayoutReadsBackTheSameAndLeavesNoTemporaryFile)
{
    testing::TempFolder dir;
    GridLayout layout = favoriteGridLayout();
    layout.columns[0].title = "Rufzeichen\twith a tab";
    layout.columns[1].dataAlign = GridAlign::Right;
    layout.columns[2].width = 17;
    layout.columns.push_back({"SUBM", "", GridAlign::Center, GridAlign::Center, 12});
    const std::string path = dir.file(gridSetupFileName(2));
    ASSERT_TRUE(saveGridLayout(path, layout));

    const auto back = loadGridLayout(path);
    ASSERT_TRUE(back);
    layout.columns[0].title = "Rufzeichen with a tab"; // a tab would split the line
    EXPECT_EQ(*back, layout);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(LogGridSetup, DamagedOrForeignFilesAreRefused)
{
    testing::TempFolder dir;
    const std::string path = dir.file("qx7u.obj");
    EXPECT_FALSE(loadGridLayout(path)) << "missing";
    const std::string head = "QX7 log grid layout 1\r\n";
    const struct
    {
        const char* why;
        std::string text;
    } cases[] = {
        {"a stream of another program", "TPF0\x0bTDBGridColumns\x07"},
        {"no columns", head},
        {"a field a grid cannot show", head + "MARK\t0\t0\t2\tM\r\n"},
        {"no such field", head + "NAME\t0\t0\t8\tName\r\n"},
        {"a field twice", head + "CALL\t0\t0\t8\tCall\r\nCALL\t0\t0\t8\tCall\r\n"},
        {"a width of none", head + "CALL\t0\t0\t0\tCall\r\n"},
        {"an absurd width", head + "CALL\t0\t0\t99999999999\tCall\r\n"},
        {"an unknown alignment", head + "CALL\t7\t0\t8\tCall\r\n"},
        {"a line cut short", head + "CALL\t0\t0"},
    };
    for (const auto& c : cases) {
        writeFile(path, c.text);
        EXPECT_FALSE(loadGridLayout(path)) << c.why;
    }
    writeFile(path, head + "CALL\t2\t1\t8\t\r\n\r\nDATE\t0\t0\t10\tQSO date\n");
    const auto ok = loadGridLayout(path);
    ASSERT_TRUE(ok);
    ASSERT_EQ(ok->columns.size(), 2u);
    EXPECT_EQ(ok->columns[0].titleAlign, GridAlign::Center);
    EXPECT_EQ(ok->columns[1].title, "QSO date");
}

TEST(LogGridSetup, WidthsConvertBetweenCharactersAndPixelsBothWays)
{
    EXPECT_EQ(gridWidthToPixels(10, 7), 74);
    EXPECT_EQ(gridWidthToCharacters(74, 7), 10);
    EXPECT_EQ(gridWidthToCharacters(80, 7), 10);
    EXPECT_EQ(gridWidthToPixels(10, 8, 1), 75);
    EXPECT_EQ(gridWidthToCharacters(75, 8, 1), 10);
    // A font without width never divides by zero; a narrow column still has a character.
    EXPECT_GE(gridWidthToCharacters(50, 0), 1);
    EXPECT_EQ(gridWidthToCharacters(2, 7), 1);
}

TEST(LogGridSetup, TheOfferedFieldsLeaveOutTheBookkeepingFields)
{
    const auto fields = gridOfferedFields();
    for (const char* hidden : {"DXCC", "XBND", "MARK"})
        EXPECT_EQ(std::count(fields.begin(), fields.end(), hidden), 0) << hidden;
    EXPECT_EQ(fields.size(), 15u);
    EXPECT_EQ(gridFieldDisplayName("FREQ"), "Freqency");
    EXPECT_EQ(gridFieldDisplayName("NAME"), "");
}

} // namespace
} // namespace qx7
