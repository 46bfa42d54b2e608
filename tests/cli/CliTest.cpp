#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
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

TEST(Cli, EngineShowsTheFactsOfTheConfigurationPage)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-engine";
    fs::remove_all(home);
    fs::create_directories(home);
    std::ofstream(home / "qx7.ini") << "[System]\nBDEDBaseLevel=5\n";
    const CliRun r = run({"--home", home.string(), "engine"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("BDE settings (valid only for this QX session)\n", 0), 0u) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nBDE version: [0-9]\\.[0-9]{2}\n"))) << r.out;
    EXPECT_NE(r.out.find("\nDefault driver: DBASE\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\ndBase level: dBASE 5.0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nLanguage driver: DBWINUS0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nCode page: 1252\n"), std::string::npos) << r.out;
    EXPECT_EQ(run({"--home", home.string(), "engine", "extra"}).code, 2);
    fs::remove_all(home);
}

// A dBase III table with one character field NAME of 10 and one record, whose
// language driver byte is `ldid`.
std::string oneNameTable(unsigned char ldid, const std::string& name)
{
    std::string bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = 124;
    bytes[2] = 1;
    bytes[3] = 1;
    bytes[4] = 1;  // one record
    bytes[8] = 65; // header: 32 + one field of 32 + terminator
    bytes[10] = 11;
    bytes[29] = static_cast<char>(ldid);
    std::string field(32, '\0');
    field.replace(0, 4, "NAME");
    field[11] = 'C';
    field[16] = 10;
    std::string value = name;
    value.resize(10, ' ');
    return bytes + field + '\x0D' + ' ' + value + '\x1A';
}

TEST(Cli, DbfInfoAndDumpReadForeignTablesInTheirCodePage)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-dbf";
    fs::remove_all(home);
    fs::create_directories(home);
    struct Case
    {
        const char* file;
        unsigned char ldid;
        const char* bytes;
        const char* cpg; // written as FILE.cpg when set
        const char* codePage;
        const char* text;
    };
    const Case cases[] = {
        {"dos866.dbf", 0x65, "\x88\xA2\xA0\xAD\xAE\xA2", nullptr, "CP866 (language driver)",
         "Иванов"},
        {"dos850.dbf", 0x02, "M\x81ller", nullptr, "CP850 (language driver)", "Müller"},
        {"esri.dbf", 0x00, "\xCF\xF0\xE8\xE2\xE5\xF2", "1251", "WINDOWS-1251 (.cpg file", "Привет"},
        {"odd.dbf", 0x99, "M\xFCller", nullptr,
         "unknown (language driver 0x99), text read as WINDOWS-1252", "Müller"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path table = home / c.file;
        std::ofstream(table, std::ios::binary) << oneNameTable(c.ldid, c.bytes);
        if (c.cpg)
            std::ofstream(fs::path(table).replace_extension(".cpg")) << c.cpg;
        const CliRun info = run({"--home", home.string(), "dbf", "info", table.string()});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_NE(info.out.find(std::string("code page:       ") + c.codePage), std::string::npos)
            << info.out;
        const CliRun dump = run({"--home", home.string(), "dbf", "dump", table.string()});
        ASSERT_EQ(dump.code, 0) << dump.err;
        EXPECT_NE(dump.out.find(c.text), std::string::npos) << dump.out;
    }
    fs::remove_all(home);
}

} // namespace
} // namespace qx7::cli
