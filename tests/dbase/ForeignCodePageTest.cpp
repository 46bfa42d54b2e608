// Foreign tables are read in the code page their language driver byte or ".cpg" file
// names: tables written by python3-dbf in DOS and Windows code pages read back as the
// text that was written, and text written here reads back in python3-dbfread.

#include "TestUtil.h"

#include "dbase/Table.h"
#include "dbase/TableCodePage.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

using test::ScratchDir;

const char* python()
{
    return "/usr/bin/python3";
}

bool hasPythonModule(const std::string& module)
{
    std::string out;
    return test::runCommand(std::string(python()) + " -c 'import " + module + "' 2>/dev/null", out);
}

struct Sample
{
    const char* kind;     // python3-dbf's table type
    const char* codePage; // python3-dbf's code page
    const char* text;
    int ldid; // written over the header's byte afterwards, or -1
};

const Sample kSamples[] = {
    {"vfp", "cp1251", "Привет RA3AA", -1}, // LDID 0xC9
    {"db3", "cp437", "è ü É ñ", -1},       // 0x01
    {"db3", "cp850", "èÿ Ø", -1},          // 0x02
    {"db3", "cp852", "Łódź SP5", 0x64},    // Eastern European MS-DOS
    {"db3", "cp866", "Иванов UA9", 0x65},  // Russian MS-DOS
    {"fp", "cp1250", "Łódź ščř", -1},      // 0xC8
    {"db3", "cp866", "Петров RV1", -1},    // 0x26, Russian OEM
};

std::string fileOf(const Sample& s, std::size_t i)
{
    return std::string(s.kind) + s.codePage + "_" + std::to_string(i) + ".dbf";
}

// Writes every sample as a table with one record (NAME and a memo NOTE).
void writeSamples(const ScratchDir& dir)
{
    std::string script = "import dbf,sys,os\nos.chdir(sys.argv[1])\n";
    for (std::size_t i = 0; i < std::size(kSamples); ++i) {
        const Sample& s = kSamples[i];
        script += "t=dbf.Table('" + fileOf(s, i) + "','NAME C(20); NOTE M',dbf_type='" + s.kind +
                  "',codepage='" + s.codePage + "'); t.open(dbf.READ_WRITE)\n";
        script += "t.append(('" + std::string(s.text) + "','" + s.text + " memo')); t.close()\n";
    }
    test::writeFile(dir / "write.py", script);
    std::string out;
    ASSERT_TRUE(test::runCommand(std::string(python()) + " " + (dir / "write.py").string() + " " +
                                     dir.path().string() + " 2>&1",
                                 out))
        << out;
    for (std::size_t i = 0; i < std::size(kSamples); ++i) {
        if (kSamples[i].ldid >= 0) {
            std::string bytes = test::readFile(dir / fileOf(kSamples[i], i));
            bytes[29] = static_cast<char>(kSamples[i].ldid);
            test::writeFile(dir / fileOf(kSamples[i], i), bytes);
        }
    }
}

TEST(ForeignCodePages, TablesOfOtherProgramsReadInTheirCodePage)
{
    if (!hasPythonModule("dbf")) {
        GTEST_SKIP() << "python3-dbf is not installed";
    }
    ScratchDir dir;
    writeSamples(dir);
    for (std::size_t i = 0; i < std::size(kSamples); ++i) {
        const Sample& s = kSamples[i];
        SCOPED_TRACE(fileOf(s, i));
        Table t;
        t.open(dir / fileOf(s, i), {OpenMode::ReadOnly});
        EXPECT_TRUE(t.codePageKnown());
        t.first();
        EXPECT_EQ(t.text("NAME"), s.text);
        EXPECT_EQ(t.text("NOTE"), std::string(s.text) + " memo");
    }
}

TEST(ForeignCodePages, WritesKeepTheTablesCodePage)
{
    if (!hasPythonModule("dbf") || !hasPythonModule("dbfread")) {
        GTEST_SKIP() << "python3-dbf or python3-dbfread is not installed";
    }
    ScratchDir dir;
    writeSamples(dir);
    const auto path = dir / fileOf(kSamples[4], 4); // cp866 under LDID 0x65
    {
        Table t;
        t.open(path);
        t.append();
        t.setText("NAME", "Сидоров UA0ABCDEFGHIJKLMN"); // cut at the width of 20
        t.post();
        t.setFilter("NAME = 'Иванов UA9'");
        t.first();
        EXPECT_FALSE(t.eof()) << "a filter literal is compared in the table's code page";
    }
    std::string out;
    ASSERT_TRUE(test::runCommand(std::string(python()) +
                                     " -c \"import dbfread,sys\n"
                                     "for r in dbfread.DBF(sys.argv[1]): print(r['NAME'])\" " +
                                     path.string(),
                                 out))
        << out;
    EXPECT_EQ(out, "Иванов UA9\nСидоров UA0ABCDEFGHI\n");
}

TEST(ForeignCodePages, CpgFileWinsAndUnknownDriversAreSaid)
{
    if (!hasPythonModule("dbf")) {
        GTEST_SKIP() << "python3-dbf is not installed";
    }
    ScratchDir dir;
    writeSamples(dir);
    const auto path = dir / fileOf(kSamples[6], 6); // cp866
    std::string bytes = test::readFile(path);
    bytes[29] = 0;
    test::writeFile(path, bytes);
    auto cpg = path;
    test::writeFile(cpg.replace_extension(".cpg"), "866\r\n");
    {
        Table t;
        t.open(path, {OpenMode::ReadOnly});
        EXPECT_EQ(t.codePage(), "CP866");
        EXPECT_NE(t.codePageOrigin().find(".cpg"), std::string::npos);
        t.first();
        EXPECT_EQ(t.text("NAME"), "Петров RV1");
    }
    std::filesystem::remove(cpg);
    bytes[29] = 0x68; // Kamenicky: no converter here
    test::writeFile(path, bytes);
    Table t;
    t.open(path, {OpenMode::ReadOnly});
    EXPECT_FALSE(t.codePageKnown());
    EXPECT_EQ(t.codePageOrigin(), "language driver 0x68");
    EXPECT_EQ(t.codePage(), "WINDOWS-1252");
}

TEST(ForeignCodePages, CpgNamesAndLanguageDrivers)
{
    EXPECT_EQ(cpgCodePageName("1251"), "WINDOWS-1251");
    EXPECT_EQ(cpgCodePageName("ANSI 1250\n"), "WINDOWS-1250");
    EXPECT_EQ(cpgCodePageName("866"), "CP866");
    EXPECT_EQ(cpgCodePageName("utf-8"), "UTF-8");
    EXPECT_EQ(cpgCodePageName("88591"), "ISO-8859-1");
    EXPECT_EQ(cpgCodePageName("  "), std::nullopt);
    for (int id : {0x01, 0x02, 0x03, 0x26, 0x57, 0x64, 0x65, 0x7D, 0xC8, 0xC9, 0xCA, 0xCB}) {
        SCOPED_TRACE(id);
        const LanguageDriver* d = languageDriver(static_cast<std::uint8_t>(id));
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(CodePage::named(d->codePage).has_value()) << d->codePage;
    }
    const auto sjis = CodePage::named("CP932");
    ASSERT_TRUE(sjis.has_value());
    const std::string bytes = sjis->fromUtf8("東京 JA1", 6); // two bytes per kanji
    EXPECT_EQ(sjis->toUtf8(bytes), "東京 J");
    EXPECT_EQ(sjis->fromUtf8("東京", 3).size(), 2u) << "never half a character";
}

} // namespace
} // namespace qx7::dbase
