// Editing QSOs through the real qx7cli program, with the log read back afterwards by an
// independent dBase reader.

#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

using testing::qx7cli;
using testing::readWithDbfread;
using Rows = std::vector<std::string>;

class QsoCli : public ::testing::Test
{
protected:
    fs::path home = fs::temp_directory_path() / ("qx7-cli-qso-" + std::to_string(::getpid()));

    void SetUp() override
    {
        fs::remove_all(home);
        ASSERT_EQ(qx7cli(home, "log create ed --call DL0QX").code, 0);
    }
    void TearDown() override { fs::remove_all(home); }

    // Adds a QSO and answers its record number (the first word qx7cli prints).
    std::string add(const std::string& fields)
    {
        const auto r = qx7cli(home, "qso add ed " + fields);
        EXPECT_EQ(r.code, 0) << r.out;
        return r.out.substr(0, r.out.find('\t'));
    }

    Rows outside(const std::string& fields)
    {
        const auto log = readWithDbfread(home / "logs" / "ed.dbf", fields);
        if (log.readerMissing)
            ADD_FAILURE() << "python3-dbfread is missing";
        EXPECT_TRUE(log.ok) << log.output;
        return log.rows;
    }
};

TEST_F(QsoCli, BadValuesAreRefusedWithTheWindowsMessagesAndNothingIsWritten)
{
    add("CALL=dl1abc DATE=20240101 TIME=1200 BAND=20m MODE=ssb");
    const struct
    {
        const char* args;
        const char* message;
    } bad[] = {
        {"add ed CALL=K1 DATE=20240101 TIME=1200", "No valid callsign!"},
        {"add ed CALL=K1AA DATE=20240230 TIME=1200", "No valid date!"},
        {"add ed CALL=K1AA DATE=2024011 TIME=1200", "No valid date!"},
        {"add ed CALL=K1AA DATE=20240101", "No valid time!"},
        {"add ed CALL=K1AA DATE=20240101 TIME=2400", "No valid time!"},
        {"add ed CALL=K1AA DATE=20240101 TIME=1260", "No valid time!"},
        {"add ed CALL=K1AA DATE=20240101 TIME=1200 BAND=21m", "No valid band!"},
        {"add ed CALL=K1AA DATE=20240101 TIME=1200 MODE=SSTVX", "No valid mode!"},
        {"set ed 1 DATS=2024", "No valid date!"},
        {"set ed 1 TIME=2400", "No valid time!"},
        {"set ed 1 CALL=K1AA BAND=11m", "No valid band!"},
    };
    for (const auto& b : bad) {
        const auto r = qx7cli(home, std::string("qso ") + b.args);
        EXPECT_EQ(r.code, 1) << b.args;
        EXPECT_NE(r.out.find(b.message), std::string::npos) << b.args << ": " << r.out;
    }
    EXPECT_EQ(qx7cli(home, "qso set ed 7 CALL=K1AA").code, 1); // no such record
    EXPECT_EQ(qx7cli(home, "qso set ed 1 NOSUCH=1").code, 1);
    EXPECT_EQ(outside("CALL DATE TIME BAND MODE"), Rows({"DL1ABC|20240101|1200|20m|SSB"}));

    // Good values: "0000" and "2359" pass, an empty DATS too, the band as the table spells it.
    ASSERT_EQ(qx7cli(home, "qso set ed 1 TIME=2359 BAND=20M DATS= COMM=tnx").code, 0);
    add("CALL=K1AA DATE=20240229 TIME=0000 MARK=T");
    EXPECT_EQ(outside("CALL DATE TIME BAND COMM MARK"),
              Rows({"DL1ABC|20240101|2359|20m|tnx|False", "K1AA|20240229|0000|||False"}));
}

TEST_F(QsoCli, QslFlagsMarksAndManagersReachTheFile)
{
    for (const char* qsls : {"N", "Y", "B", "I"})
        add(std::string("CALL=K1A") + qsls + " DATE=20240101 TIME=1200 QSLS=" + qsls);

    // Three records: each gets the successor of the first one's flag, with the date.
    auto r = qx7cli(home, "qso qsl ed sent 1 2 3 --date 20240310");
    ASSERT_EQ(r.code, 0) << r.out;
    r = qx7cli(home, "qso qsl ed sent 4 --date 20240310"); // I gives ! and clears DATS
    ASSERT_EQ(r.code, 0) << r.out;
    r = qx7cli(home, "qso qsl ed rcvd 4 --no-date"); // "" counts as "!": N, no date then
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(outside("CALL QSLS DATS QSLR DATR"),
              Rows({"K1AN|Y|20240310||", "K1AY|Y|20240310||", "K1AB|Y|20240310||", "K1AI|!||N|"}));

    ASSERT_EQ(qx7cli(home, "qso mark ed 2 3").code, 0);
    r = qx7cli(home, "qso list ed --marked");
    EXPECT_NE(r.out.find("2 QSO(s)"), std::string::npos) << r.out;
    ASSERT_EQ(qx7cli(home, "qso mark ed 3").code, 0); // a second mark takes it off
    EXPECT_EQ(outside("MARK"), Rows({"False", "True", "False", "False"}));
    r = qx7cli(home, "qso unmark-all ed");
    EXPECT_NE(r.out.find("1 QSO mark(s) removed"), std::string::npos) << r.out;
    EXPECT_EQ(outside("MARK"), Rows({"False", "False", "False", "False"}));

    ASSERT_EQ(qx7cli(home, "qso manager ed ea5xx 1 4").code, 0);
    std::ofstream(home / "mgr.txt") << "K1AY;W2MGR;;\nK1AB;W3MGR;2025;\n";
    ASSERT_EQ(qx7cli(home, "managers import '" + (home / "mgr.txt").string() + "'").code, 0);
    r = qx7cli(home, "qso fill-managers ed");
    ASSERT_EQ(r.code, 0) << r.out;
    // K1AB's manager is valid only from 2025 on, after the QSO.
    EXPECT_NE(r.out.find("1 QSO(s) got a manager"), std::string::npos) << r.out;
    EXPECT_EQ(outside("QMGR"), Rows({"EA5XX", "W2MGR", "", "EA5XX"}));
}

} // namespace
} // namespace qx7
