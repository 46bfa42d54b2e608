#include "core/IniFile.h"
#include "dbase/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qx7 {
namespace {

std::string tempPath(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() / "qx7-ini-test";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

TEST(IniFile, LooksUpSectionsAndKeysWithoutRegardToCase)
{
    IniFile ini;
    ini.parse("[System]\nQXLogPath=/a/logs\nUseManagerDB=0\n[print]\nPriRows=8\n");
    EXPECT_EQ(ini.readString("SYSTEM", "qxlogpath", "x"), "/a/logs");
    EXPECT_EQ(ini.readInteger("Print", "PRIROWS", 6), 8);
    EXPECT_FALSE(ini.readBool("system", "usemanagerdb", true));
    EXPECT_TRUE(ini.sectionExists("PRINT"));
    EXPECT_FALSE(ini.sectionExists("Sort"));
    // Writing a key in another case updates the one that is there.
    ini.writeString("print", "prirows", "9");
    EXPECT_EQ(ini.sectionKeys("Print"), std::vector<std::string>{"PriRows"});
    EXPECT_EQ(ini.readInteger("Print", "PriRows", 0), 9);
}

TEST(IniFile, TypedReadsFallBackToTheirDefaults)
{
    IniFile ini;
    ini.parse("[S]\nnum=12x\nempty=\nneg= -3 \nhex=0x1F\nyes=1\nno=0\ntext=yes\nbig=7\n");
    EXPECT_EQ(ini.readInteger("S", "num", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "empty", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "neg", 5), -3);
    EXPECT_EQ(ini.readInteger("S", "hex", 5), 31);
    EXPECT_EQ(ini.readInteger("S", "missing", 5), 5);
    EXPECT_TRUE(ini.readBool("S", "yes", false));
    EXPECT_FALSE(ini.readBool("S", "no", true));
    EXPECT_TRUE(ini.readBool("S", "text", true)); // not a number: the default
    EXPECT_FALSE(ini.readBool("S", "text", false));
    EXPECT_TRUE(ini.readBool("S", "big", false));
    EXPECT_EQ(ini.readString("S", "missing", "def"), "def");
    EXPECT_EQ(ini.readString("Nope", "num", "def"), "def");
}

TEST(IniFile, KeepsOrderAndCommentsAndListsSections)
{
    IniFile ini;
    ini.parse("; head\n[B]\nz=1\n; note\na=2\n\n[A]\nk=v\n");
    ini.writeString("B", "m", "3");
    ini.writeString("C", "new", "x");
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(ini.sectionValues("B"), (std::vector<std::string>{"z=1", "a=2", "m=3"}));
    EXPECT_NE(ini.toText().find("; note"), std::string::npos);
    ini.eraseSection("b");
    EXPECT_FALSE(ini.sectionExists("B"));
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"A", "C"}));
    ini.deleteKey("A", "K");
    EXPECT_TRUE(ini.sectionKeys("A").empty());
}

TEST(IniFile, FirstOccurrenceOfARepeatedKeyWins)
{
    IniFile ini;
    ini.parse("[S]\nk=first\nK=second\n");
    EXPECT_EQ(ini.readString("S", "k", ""), "first");
}

TEST(IniFile, ReadsWindows1252FilesAsText)
{
    IniFile ini;
    ini.parse("[DateFormats]\nShort3=M\xE4r\n"); // "Mär" in Windows-1252
    EXPECT_EQ(ini.readString("DateFormats", "Short3", ""), "M\xC3\xA4r");
}

TEST(IniFile, SaveRoundTripsAndReplacesTheFileWhole)
{
    const std::string path = tempPath("round.ini");
    std::filesystem::remove(path);
    IniFile a(path);
    EXPECT_FALSE(a.existedOnLoad());
    a.writeString("System", "LastQXD", "sample.qxd");
    a.writeBool("System", "Maximize", true);
    a.writeInteger("Print", "PriRows", 18);
    ASSERT_TRUE(a.save());
    IniFile b(path);
    EXPECT_TRUE(b.existedOnLoad());
    EXPECT_EQ(b.readString("system", "lastqxd", ""), "sample.qxd");
    EXPECT_TRUE(b.readBool("System", "Maximize", false));
    EXPECT_EQ(b.readInteger("Print", "PriRows", 0), 18);
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        files += e.path().filename().string().rfind("round.ini", 0) == 0 ? 1 : 0;
    EXPECT_EQ(files, 1);
}

TEST(IniFile, BlanksAtTheEndsOfAValueSurviveASave)
{
    const std::string path = tempPath("blanks.ini");
    std::filesystem::remove(path);
    IniFile a(path);
    a.writeString("Print", "ManagerText", "via: ");
    a.writeString("Print", "PseText", " PSE");
    a.writeString("Print", "Quoted", "\"as typed\"");
    a.writeString("Print", "Plain", "TNX QSL");
    ASSERT_TRUE(a.save());
    IniFile b(path);
    EXPECT_EQ(b.readString("Print", "ManagerText", ""), "via: ");
    EXPECT_EQ(b.readString("Print", "PseText", ""), " PSE");
    EXPECT_EQ(b.readString("Print", "Quoted", ""), "\"as typed\"");
    EXPECT_EQ(b.readString("Print", "Plain", ""), "TNX QSL");
    std::ifstream in(path, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("ManagerText=\"via: \"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Plain=TNX QSL\n"), std::string::npos) << text;
    // Written by hand in quotes, as Windows programs do.
    std::ofstream(path, std::ios::binary) << "[Print]\nManagerText=\"mgr \"\nPseText=  PSE  \n";
    IniFile c(path);
    EXPECT_EQ(c.readString("Print", "ManagerText", ""), "mgr ");
    EXPECT_EQ(c.readString("Print", "PseText", ""), "PSE");
}

TEST(IniFile, LoadingAndSavingAgainGivesTheSameBytes)
{
    const std::string path = tempPath("stable.ini");
    std::filesystem::remove(path);
    IniFile first(path);
    first.writeString("System", "LastQXD", "sample.qxd");
    first.writeString("Print", "PriRows", "6");
    ASSERT_TRUE(first.save());
    auto bytes = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string once = bytes();
    for (int run = 0; run < 3; ++run) {
        IniFile again(path);
        again.writeString("System", "LastQXD", "sample.qxd");
        ASSERT_TRUE(again.save());
        EXPECT_EQ(bytes(), once) << "after load and save number " << run + 1;
    }
    // A key added to a section goes below its last key, not below the section gap.
    IniFile grown(path);
    grown.writeString("System", "Maximize", "1");
    ASSERT_TRUE(grown.save());
    EXPECT_EQ(bytes(), "[System]\nLastQXD=sample.qxd\nMaximize=1\n\n[Print]\nPriRows=6\n\n");
}

// A file another program wrote (Windows line ends, several blank lines, a comment on
// top): the first save settles it, every later one gives the same bytes, and the
// comment above the first section is kept.
TEST(IniFile, AFileFromAnotherProgramSettlesAfterOneSave)
{
    const std::string path = tempPath("foreign.ini");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "; written by hand\r\n\r\n[QXForm]\r\nWindowSize=0 1\r\n\r\n\r\n"
               "; keep\r\n[Print]\r\nPriRows=6\r\n";
    }
    auto bytes = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    IniFile first(path);
    first.writeString("Print", "PriBoLN", "2");
    ASSERT_TRUE(first.save());
    const std::string once = bytes();
    EXPECT_EQ(once.rfind("; written by hand\n", 0), 0u) << once;
    for (int run = 0; run < 2; ++run) {
        IniFile again(path);
        EXPECT_EQ(again.readString("Print", "PriBoLN", ""), "2");
        ASSERT_TRUE(again.save());
        EXPECT_EQ(bytes(), once) << "after load and save number " << run + 1;
    }
}

TEST(IniFile, AFailedSaveLeavesTheOldFileIntact)
{
    const std::string path = tempPath("blocked.ini");
    {
        std::ofstream(path) << "[System]\nLastQXD=old.qxd\n";
    }
    // A folder where the temporary file would go makes the write fail, even for root.
    const std::string blocker = dbase::tempPathFor(path).string();
    std::filesystem::create_directories(blocker);
    IniFile ini(path);
    ini.writeString("System", "LastQXD", "new.qxd");
    EXPECT_FALSE(ini.save());
    std::filesystem::remove_all(blocker);
    EXPECT_EQ(IniFile(path).readString("System", "LastQXD", ""), "old.qxd");
    EXPECT_TRUE(ini.save());
    EXPECT_EQ(IniFile(path).readString("System", "LastQXD", ""), "new.qxd");
}

TEST(IniFile, AMissingOrUnreadableFileYieldsDefaults)
{
    IniFile ini("/nonexistent/folder/qx7.ini");
    EXPECT_FALSE(ini.existedOnLoad());
    EXPECT_EQ(ini.readInteger("Print", "PriRows", 6), 6);
    EXPECT_FALSE(ini.save()); // the folder does not exist
}

} // namespace
} // namespace qx7
