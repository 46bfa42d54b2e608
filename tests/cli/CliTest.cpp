#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun
{
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runCli(args, out, err, "/nonexistent");
    return {code, out.str(), err.str()};
}

TEST(Cli, HelpVersionAndUsageErrors)
{
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("settings"), std::string::npos);
    EXPECT_EQ(run({"--version"}).code, 0);
    const CliRun none = run({});
    EXPECT_EQ(none.code, 2);
    const CliRun unknown = run({"frobnicate"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_EQ(run({"--bogus", "settings"}).code, 2);
    EXPECT_EQ(run({"settings", "extra"}).code, 2);
}

TEST(Cli, SettingsPrintsWhatTheProgramRunsWith)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-settings";
    fs::remove_all(home);
    fs::create_directories(home);
    std::ofstream(home / "qx7.ini") << "[Print]\nPriRows=12\n[System]\nBDEDBaseLevel=9\n";
    const CliRun r = run({"--home", home.string(), "settings"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Print/PriRows=12\n"), std::string::npos);
    EXPECT_NE(r.out.find("System/BDEDBaseLevel=4\n"), std::string::npos);
    EXPECT_NE(r.out.find("System/QXLogPath=" + home.string() + "/logs\n"), std::string::npos);
    EXPECT_NE(r.out.find("VisibleBands/1=160m\n"), std::string::npos);
    EXPECT_NE(r.out.find("Printers/PDF file\n"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(home / "manager"));
    fs::remove_all(home);
}

} // namespace
} // namespace qx7::cli
