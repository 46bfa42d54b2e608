// ADIF to a QX7 log and back through the real qx7cli program, on the shipped sample.

#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The QSOs of an ADIF file as "CALL DATE TIME BAND MODE", whatever the field order.
std::vector<std::string> qsos(const std::string& adif)
{
    std::vector<std::string> out;
    const std::regex field("<(call|qso_date|time_on|band|mode):\\d+>([^<\\s]*)", std::regex::icase);
    size_t start =
        adif.find("<eoh>") == std::string::npos ? adif.find("<EOH>") : adif.find("<eoh>");
    for (size_t end; (end = adif.find("<eor>", start)) != std::string::npos ||
                     (end = adif.find("<EOR>", start)) != std::string::npos;
         start = end + 5) {
        const std::string rec = adif.substr(start, end - start);
        std::map<std::string, std::string> f;
        for (auto it = std::sregex_iterator(rec.begin(), rec.end(), field);
             it != std::sregex_iterator(); ++it) {
            std::string tag = (*it)[1];
            for (char& c : tag)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string value = (*it)[2];
            for (char& c : value)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            f[tag] = value;
        }
        out.push_back(f["call"] + " " + f["qso_date"] + " " + f["time_on"].substr(0, 4) + " " +
                      f["band"] + " " + f["mode"]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Convert, AdifToAQx7LogAndBack)
{
    const fs::path home = fs::temp_directory_path() / "qx7-cli-convert";
    fs::remove_all(home);
    ASSERT_EQ(qx7cli(home, "settings").code, 0);
    const fs::path sample = home / "tmp" / "sample.adi";
    ASSERT_TRUE(fs::exists(sample));

    const auto in =
        qx7cli(home, "convert --in 45:'" + sample.string() + "' --out 42:roundtrip --call DL0QX");
    ASSERT_EQ(in.code, 0) << in.out;
    EXPECT_NE(in.out.find("Reading: "), std::string::npos) << in.out;
    EXPECT_NE(in.out.find(" QSOs read OK of "), std::string::npos) << in.out;
    EXPECT_NE(in.out.find("Finished."), std::string::npos) << in.out;
    EXPECT_TRUE(fs::exists(home / "logs" / "roundtrip.dbf"));
    EXPECT_NE(qx7cli(home, "log info roundtrip").out.find("Station call: DL0QX"),
              std::string::npos);

    const fs::path back = home / "back.adi";
    const auto out = qx7cli(home, "convert --in 42:'" + (home / "logs" / "roundtrip.qx7").string() +
                                      "' --out 45:'" + back.string() + "'");
    ASSERT_EQ(out.code, 0) << out.out;
    const auto original = qsos(readAll(sample));
    const auto returned = qsos(readAll(back));
    ASSERT_EQ(original.size(), 320u);
    EXPECT_EQ(returned, original);

    // A file that is not there is a clear failure, and no output appears.
    const auto missing = qx7cli(home, "convert --in 45:/nonexistent.adi --out 45:'" +
                                          (home / "never.adi").string() + "'");
    EXPECT_NE(missing.code, 0);
    EXPECT_FALSE(fs::exists(home / "never.adi"));
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
