#include "labels/PrinterCalibration.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

TEST(PrinterCalibrationStore, SavedValuesReadBackFromTheFile)
{
    const fs::path dir = fs::temp_directory_path() / "qx7-calibration-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "qx7.ini").string();
    {
        IniFile ini(path);
        ini.writeString("Main", "Keep", "this");
        ASSERT_EQ(storeCalibration(ini, "Laser", "Avery L7160", {5, -3, 1.01, 0.99}), "");
        ASSERT_TRUE(ini.save());
    }
    const IniFile again(path);
    EXPECT_EQ(findCalibration(again, "Laser", "Avery L7160"),
              (PrinterCalibration{5, -3, 1.01, 0.99}));
    EXPECT_EQ(again.readString("Main", "Keep", ""), "this");
    EXPECT_EQ(again.readString("PrinterCalibration", "Laser|Avery L7160", ""), "5;-3;1.01;0.99");
    fs::remove_all(dir);
}

TEST(PrinterCalibrationStore, PrintersAndSheetTypesKeepTheirOwnValues)
{
    IniFile ini;
    ASSERT_EQ(storeCalibration(ini, "Laser", "", {1, 1, 1, 1}), "");
    ASSERT_EQ(storeCalibration(ini, "Laser", "Card", {2, 0, 1, 1}), "");
    ASSERT_EQ(storeCalibration(ini, "Inkjet", "Card", {0, 4, 1, 1.02}), "");

    EXPECT_EQ(findCalibration(ini, "Laser", "Card").offsetXMm, 2);
    // A sheet type without an entry of its own takes the printer's entry for every sheet.
    EXPECT_EQ(findCalibration(ini, "Laser", "A4 3x8").offsetXMm, 1);
    EXPECT_EQ(findCalibration(ini, "Inkjet", "Card"), (PrinterCalibration{0, 4, 1, 1.02}));
    EXPECT_TRUE(findCalibration(ini, "Inkjet", "A4 3x8").isIdentity());
    EXPECT_TRUE(findCalibration(ini, "Other", "Card").isIdentity());

    EXPECT_EQ(listCalibrations(ini, "laser").size(), 2u);
    EXPECT_EQ(listCalibrations(ini, "").size(), 3u);

    EXPECT_TRUE(clearCalibration(ini, "Laser", "Card"));
    EXPECT_FALSE(clearCalibration(ini, "Laser", "Card"));
    EXPECT_EQ(findCalibration(ini, "Laser", "Card").offsetXMm, 1);
}

TEST(PrinterCalibrationStore, BadValuesAreRefusedWithAMessageAndStoreNothing)
{
    IniFile ini;
    const struct
    {
        std::string printer;
        PrinterCalibration values;
        std::string says;
    } cases[] = {
        {"PDF file", {1, 1, 1, 1}, "takes no calibration"},
        {"", {1, 1, 1, 1}, "Name the printer"},
        {"Laser", {60, 0, 1, 1}, "measure again"},
        {"Laser", {0, -51, 1, 1}, "measure again"},
        {"Laser", {0, 0, 0, 1}, "scale must lie between"},
        {"Laser", {0, 0, 1, 2.5}, "scale must lie between"},
        {"Laser", {0, 0, 1, std::nan("")}, "must be numbers"},
        {"La=ser", {0, 0, 1, 1}, "cannot contain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer + " " + formatCalibration(c.values));
        const std::string problem = storeCalibration(ini, c.printer, "", c.values);
        EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
    }
    EXPECT_FALSE(ini.sectionExists("PrinterCalibration"));

    double x = 0, y = 0;
    EXPECT_EQ(parseNumberPair("5,-3.5", x, y), "");
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, -3.5);
    for (const char* bad : {"5", "5;3", "a,b", "1,2,3", ",3", "1e999,0"})
        EXPECT_NE(parseNumberPair(bad, x, y), "") << bad;
}

TEST(PrinterCalibrationStore, PdfFileAndDamagedEntriesAreNeverApplied)
{
    IniFile ini;
    ini.parse("[PrinterCalibration]\nPDF file=5;5;1;1\nLaser=5;x;1;1\nInkjet=90;0;1;1\n"
              "Thermal|Card=1;2\n");
    for (const char* printer : {"PDF file", "pdf FILE", "Laser", "Inkjet", "Thermal"})
        EXPECT_TRUE(findCalibration(ini, printer, "Card").isIdentity()) << printer;
    EXPECT_TRUE(listCalibrations(ini, "").empty());
}

} // namespace
} // namespace qx7
