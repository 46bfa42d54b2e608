// qx7cli spec analyze (the editor's guesses, saved for convert --spec) and macro runs
// whose input logs are gone, through the real program.

#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

fs::path freshHome(const char* name)
{
    const fs::path home = fs::temp_directory_path() / name;
    fs::remove_all(home);
    EXPECT_EQ(qx7cli(home, "settings").code, 0);
    return home;
}

constexpr const char* kCsv = "Call,QSO Date,Time,Band,Mode,Sent,Rcvd\n"
                             "DL1ABC,20240105,1203,20m,SSB,59,57\n"
                             "JA1XYZ,20240106,0815,40m,CW,599,579\n"
                             "VK2AB,20240107,2310,15m,FT8,,\n";

TEST(SpecCli, AnalyzeGuessesTheCsvAndConvertReadsTheSavedSpecification)
{
    const fs::path home = freshHome("qx7-cli-spec");
    writeAll(home / "tmp" / "log.csv", kCsv);
    const auto r =
        qx7cli(home, "spec analyze '" + (home / "tmp" / "log.csv").string() + "' --save mycsv");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Delimiter=44"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("HeaderRows=1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DateFormat=yyyymmdd"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Field1=CALL;0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Field3=TIME;0"), std::string::npos) << r.out;
    const std::string spec = readAll(home / "user" / "mycsv.qxia");
    EXPECT_NE(spec.find("Field7=RSTR;0"), std::string::npos) << spec;
    EXPECT_NE(qx7cli(home, "spec list").out.find("mycsv.qxia"), std::string::npos);

    const auto c =
        qx7cli(home, "convert --in '34:" + (home / "tmp" / "log.csv").string() +
                         "' --spec mycsv --out '45:" + (home / "tmp" / "out.adi").string() + "'");
    ASSERT_EQ(c.code, 0) << c.out;
    const std::string adif = readAll(home / "tmp" / "out.adi");
    EXPECT_NE(adif.find("<call:6>DL1ABC <qso_date:8>20240105 <time_on:4>1203 <band:3>20M "
                        "<mode:3>SSB <rst_sent:2>59 <rst_rcvd:2>57 "),
              std::string::npos)
        << adif;
    EXPECT_NE(adif.find("<call:5>VK2AB "), std::string::npos);
}

TEST(SpecCli, AFileWithoutTheNeededColumnsIsNotSaved)
{
    const fs::path home = freshHome("qx7-cli-spec-bad");
    writeAll(home / "tmp" / "notes.txt", "just some words\nand more words here\n");
    const auto r =
        qx7cli(home, "spec analyze '" + (home / "tmp" / "notes.txt").string() + "' --save words");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("nothing saved"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(home / "user" / "words.qxia"));
    EXPECT_EQ(qx7cli(home, "spec analyze '" + (home / "tmp" / "missing.csv").string() + "'").code,
              1);
}

TEST(MacroCli, AMacroWhoseLogsAreAllGoneWritesNothingAndNamesThem)
{
    const fs::path home = freshHome("qx7-cli-macro-gone");
    const fs::path in = home / "tmp" / "gone.adi";
    fs::copy_file(home / "tmp" / "sample.adi", in);
    const fs::path out = home / "tmp" / "kept.adi";
    ASSERT_EQ(qx7cli(home, "convert --in '45:" + in.string() + "' --out '45:" + out.string() +
                               "' --save-macro '" + (home / "user" / "nightly.qxm").string() + "'")
                  .code,
              0);
    const std::string before = readAll(out);
    ASSERT_GT(before.size(), 500u);
    // While the log is there the macro runs and writes the same file again.
    ASSERT_EQ(qx7cli(home, "macro run nightly").code, 0);
    EXPECT_TRUE(readAll(out) == before);

    fs::remove(in);
    const auto r = qx7cli(home, "macro run nightly");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find(in.string()), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("nothing was written"), std::string::npos) << r.out;
    // The last good output is still there, whole.
    EXPECT_TRUE(readAll(out) == before);
    fs::remove(out);
    EXPECT_EQ(qx7cli(home, "macro run nightly").code, 1);
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace qx7
