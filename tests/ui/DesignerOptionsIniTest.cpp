// The designer options survive a restart through qx7.ini; entries another hand spoiled
// fall back to their defaults one by one instead of taking the others with them.

#include "ui/designer/DesignerOptionsIni.h"
#include "core/IniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(DesignerOptionsIni, WhatIsWrittenIsReadBackAndSpoiledEntriesKeepTheirDefaults)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("qx7.ini").toStdString();
    DesignerOptions chosen;
    chosen.showFrames = false;
    chosen.frameColor = QColor(0, 140, 60);
    chosen.frameLine = Qt::DotLine;
    chosen.snap = false;
    chosen.gridXMm = 2.5;
    chosen.gridYMm = 0;
    chosen.keyGridXMm = 0.5;
    chosen.keyGridYMm = 4;
    chosen.unit = DesignUnit::Characters;
    chosen.showGrid = false;
    {
        IniFile ini(path);
        writeDesignerOptions(ini, chosen);
        ASSERT_TRUE(ini.save());
    }
    const DesignerOptions back = readDesignerOptions(IniFile(path));
    EXPECT_EQ(back.showFrames, chosen.showFrames);
    EXPECT_EQ(back.frameColor, chosen.frameColor);
    EXPECT_EQ(back.frameLine, chosen.frameLine);
    EXPECT_EQ(back.snap, chosen.snap);
    EXPECT_DOUBLE_EQ(back.gridXMm, 2.5);
    EXPECT_DOUBLE_EQ(back.gridYMm, 0);
    EXPECT_DOUBLE_EQ(back.keyGridXMm, 0.5);
    EXPECT_DOUBLE_EQ(back.keyGridYMm, 4);
    EXPECT_EQ(back.unit, DesignUnit::Characters);
    EXPECT_EQ(back.showGrid, chosen.showGrid);

    {
        IniFile ini(path);
        ini.writeString("Designer", "FrameColor", "no colour");
        ini.writeString("Designer", "FrameLine", "Wavy");
        ini.writeString("Designer", "GridX", "-3");
        ini.writeString("Designer", "GridY", "500");
        ini.writeString("Designer", "KeyGridX", "abc");
        ini.writeString("Designer", "Units", "2");
        ASSERT_TRUE(ini.save());
    }
    const DesignerOptions spoiled = readDesignerOptions(IniFile(path));
    const DesignerOptions defaults;
    EXPECT_EQ(spoiled.frameColor, defaults.frameColor);
    EXPECT_EQ(spoiled.frameLine, defaults.frameLine);
    EXPECT_DOUBLE_EQ(spoiled.gridXMm, defaults.gridXMm);
    EXPECT_DOUBLE_EQ(spoiled.gridYMm, defaults.gridYMm);
    EXPECT_DOUBLE_EQ(spoiled.keyGridXMm, defaults.keyGridXMm);
    EXPECT_DOUBLE_EQ(spoiled.keyGridYMm, 4); // untouched entries keep what was chosen
    EXPECT_EQ(spoiled.unit, DesignUnit::Mm);
    EXPECT_FALSE(spoiled.showFrames);
}

} // namespace
} // namespace qx7
