// qx7cli calibrate through the real program: entries kept per printer and sheet type in
// qx7.ini, refused values leave the file as it was.

#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CalibrateCli, StoresShowsAndClearsPerPrinterAndSheet)
{
    const fs::path home =
        fs::temp_directory_path() / ("qx7-calibrate-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);

    auto r = qx7cli(home, "calibrate Laser --offset 5,3");
    ASSERT_EQ(r.code, 0) << r.out;
    r = qx7cli(home, "calibrate Laser --sheet 'Zweckform 3490' --offset -1.5,0.5 --scale 1.01,1");
    ASSERT_EQ(r.code, 0) << r.out;
    r = qx7cli(home, "calibrate Inkjet --offset 0,2");
    ASSERT_EQ(r.code, 0) << r.out;

    r = qx7cli(home, "calibrate Laser --show");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Laser\tevery sheet\toffset 5,3 mm\tscale 1,1"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("sheet \"Zweckform 3490\"\toffset -1.5,0.5 mm\tscale 1.01,1"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("Inkjet"), std::string::npos) << r.out;

    const std::string before = readAll(home / "qx7.ini");
    for (const char* bad :
         {"calibrate 'PDF file' --offset 1,1", "calibrate Laser --offset 80,0",
          "calibrate Laser --offset 1", "calibrate Laser --offset 1,1 --scale 3,1",
          "calibrate Laser --scale 1,1"}) {
        r = qx7cli(home, bad);
        EXPECT_EQ(r.code, 2) << bad << ": " << r.out;
        EXPECT_FALSE(r.out.empty()) << bad;
    }
    EXPECT_EQ(readAll(home / "qx7.ini"), before);

    r = qx7cli(home, "calibrate Laser --clear");
    EXPECT_EQ(r.code, 0) << r.out;
    r = qx7cli(home, "calibrate --show");
    EXPECT_EQ(r.out.find("every sheet\toffset 5,3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Zweckform 3490"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Inkjet"), std::string::npos) << r.out;
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
