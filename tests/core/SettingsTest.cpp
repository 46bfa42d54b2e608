#include "core/Settings.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

Settings readFrom(const std::string& text)
{
    IniFile ini;
    ini.parse(text);
    Settings s;
    s.readMainSections(ini);
    return s;
}

TEST(Settings, LinesPerLabelStayWithinWhatTheQueueHolds)
{
    Settings s = readFrom("[Print]\nPriRows=25\nPriBoLN=12\n");
    EXPECT_EQ(s.PriRows, 18);
    EXPECT_EQ(s.PriBoLN, 9);
    s = readFrom("[Print]\nPriRows=0\nPriBoLN=-3\n");
    EXPECT_EQ(s.PriRows, 1);
    EXPECT_EQ(s.PriBoLN, 0);
    s = readFrom("[Print]\nPriRows=18\nPriBoLN=9\n");
    EXPECT_EQ(s.PriRows, 18);
    EXPECT_EQ(s.PriBoLN, 9);
    s = readFrom("");
    EXPECT_EQ(s.PriRows, 6);
    EXPECT_EQ(s.PriBoLN, 2);
}

} // namespace
} // namespace qx7
