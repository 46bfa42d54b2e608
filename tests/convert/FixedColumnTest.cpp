// The line-oriented text formats, each built column by column from its layout: every
// field lands in the right place, lines that are no QSO are passed over and not
// counted, and a line cut short ends in the error log instead of a crash.

#include "ReaderFixture.h"

namespace qx7::test {
namespace {

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

struct TextCase
{
    const char* name;
    int type;
    std::vector<std::string> lines;
    long long logSize;
    std::string stationCall;
    std::vector<Qso> expected;
    size_t errorRows; // QSOs the checks refused
};

std::vector<TextCase> textCases()
{
    return {
        {"DXBase SDF",
         16,
         {ColumnLine()
              .at(1, "DL1ABC")
              .at(18, "20")
              .at(20, "1")
              .at(21, "Y")
              .at(22, "240315")
              .at(28, "1234")
              .at(32, "579")
              .at(35, "599")
              .at(38, "Y")
              .at(39, "Nice chat")
              .str(),
          ColumnLine()
              .at(1, "W1AW")
              .at(18, "40")
              .at(20, "3")
              .at(22, "240316")
              .at(28, "0001")
              .at(32, "57")
              .at(35, "59")
              .at(56, "7050")
              .at(66, "kHz")
              .at(90, "D")
              .str(),
          ColumnLine()
              .at(1, "JA1XYZ")
              .at(18, "16")
              .at(20, "2")
              .at(22, "991231")
              .at(28, "2359")
              .at(32, "599")
              .at(35, "599")
              .str(),
          "DL2XYZ"},
         4,
         "",
         {{{"CALL", "JA1XYZ"},
           {"DATE", "19991231"},
           {"TIME", "2359"},
           {"BAND", "160m"},
           {"MODE", "RTTY"},
           {"RSTS", "599"},
           {"RSTR", "599"}},
          {{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"},
           {"QSLR", "Y"},
           {"MARK", "Y"},
           {"COMM", "Nice chat"}},
          {{"CALL", "W1AW"},
           {"DATE", "20240316"},
           {"TIME", "0001"},
           {"BAND", "40m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"},
           {"QSLS", "D"},
           {"FREQ", "7.050"}}},
         1},
        {"Ham System",
         26,
         {ColumnLine().at(1, "HAM SYSTEM").at(15, "DL0XX").str(),
          ColumnLine()
              .at(1, "150324")
              .at(7, "1234")
              .at(15, "DL1ABC")
              .at(25, "599")
              .at(32, "579")
              .at(39, "3")
              .at(40, "1")
              .at(41, "b")
              .str(),
          "------------------------------",
          ColumnLine()
              .at(1, "160324")
              .at(7, "0815")
              .at(15, "OH2XX")
              .at(25, "59")
              .at(32, "58")
              .at(39, "9")
              .at(40, "2")
              .at(41, "R")
              .str()},
         2,
         "DL0XX",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"},
           {"QSLS", "Y"},
           {"QSLR", "Y"}},
          {{"CALL", "OH2XX"},
           {"DATE", "20240316"},
           {"TIME", "0815"},
           {"BAND", "6m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "58"},
           {"QSLR", "Y"}}},
         0},
        {"QG2QG ASC",
         31,
         {ColumnLine()
              .at(1, "240315")
              .at(8, "1234")
              .at(13, "DL1ABC")
              .at(26, "599")
              .at(30, "579")
              .at(34, "14")
              .at(42, "CW extra")
              .str(),
          ColumnLine()
              .at(1, "240316")
              .at(8, "2300")
              .at(13, "G3XYZ")
              .at(26, "59")
              .at(30, "57")
              .at(34, "3.5")
              .at(42, "SSB")
              .str()},
         2,
         "",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"}},
          {{"CALL", "G3XYZ"},
           {"DATE", "20240316"},
           {"TIME", "2300"},
           {"BAND", "80m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"},
           {"FREQ", "3.5"}}},
         0},
        {"FINTEST",
         32,
         {ColumnLine()
              .at(1, "150324")
              .at(8, "1234")
              .at(13, "OH1AA")
              .at(24, "599")
              .at(38, "579")
              .at(52, "20")
              .str(),
          ColumnLine()
              .at(1, "150324")
              .at(8, "1300")
              .at(13, "OH2BB")
              .at(24, "59")
              .at(38, "57")
              .at(52, "80")
              .str()},
         2,
         "",
         {{{"CALL", "OH1AA"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"}},
          {{"CALL", "OH2BB"},
           {"DATE", "20240315"},
           {"TIME", "1300"},
           {"BAND", "80m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"}}},
         0},
        {"TRLog DAT",
         10,
         {" TR LOG  CONTEST  CQ WW",
          ColumnLine()
              .at(1, "20")
              .at(4, "CW")
              .at(8, "15-Mar-24")
              .at(18, "12:34")
              .at(30, "DL1ABC")
              .at(45, "599")
              .at(50, "579")
              .str(),
          ColumnLine()
              .at(1, "160")
              .at(4, "SSB")
              .at(8, "16-Mar-24")
              .at(18, "01:05")
              .at(30, "K1ZZ")
              .at(45, "59")
              .at(50, "57")
              .str()},
         2,
         "",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"}},
          {{"CALL", "K1ZZ"},
           {"DATE", "20240316"},
           {"TIME", "0105"},
           {"BAND", "160m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"}}},
         0},
        {"SPRINT ASC",
         43,
         {"  SPRINT LOG",
          ColumnLine()
              .at(1, "03-15-24")
              .at(10, "0130")
              .at(15, "CW")
              .at(20, "20")
              .at(24, "W1AW")
              .at(39, "599")
              .at(48, "579")
              .str(),
          ColumnLine()
              .at(1, "03-15-24")
              .at(10, "0142")
              .at(15, "SSB")
              .at(20, "40")
              .at(24, "K5ZD")
              .at(39, "59")
              .at(48, "58")
              .str()},
         2,
         "",
         {{{"CALL", "W1AW"},
           {"DATE", "20240315"},
           {"TIME", "0130"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"}},
          {{"CALL", "K5ZD"},
           {"DATE", "20240315"},
           {"TIME", "0142"},
           {"BAND", "40m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "58"}}},
         0},
        {"CT RES",
         4,
         {"15-Mar-24 1234    1  20 CW  DL1ABC        599",
          // Older files: no mode word; the report tells SSB from CW.
          "03/15/24 1300    2  40 W1AW           59", " 3/16/24 0010    3  80 K1ZZ           579"},
         3,
         "",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "599"}},
          {{"CALL", "W1AW"},
           {"DATE", "20240315"},
           {"TIME", "1300"},
           {"BAND", "40m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "59"}},
          {{"CALL", "K1ZZ"},
           {"DATE", "20240316"},
           {"TIME", "0010"},
           {"BAND", "80m"},
           {"MODE", "CW"},
           {"RSTS", "579"},
           {"RSTR", "579"}}},
         0},
        {"NA PRN",
         12,
         {"CALLSIGN: DL0XX", "  NR DATE       BAND MODE TIME CALLSIGN      ZN SENT NR RCVD",
          "   1 03/15/2024 20CW 1234 DL1ABC        14 599 001 579",
          "   2 03/15/2024 40 SSB 1300 W1AW          05 59 002 57", "   3 3/15/2024 garbage"},
         3,
         "DL0XX",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"}},
          {{"CALL", "W1AW"},
           {"DATE", "20240315"},
           {"TIME", "1300"},
           {"BAND", "40m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"}}},
         1},
        {"YPLog",
         30,
         {"2024.03.15\t12:34\tCW\t14.025\tDL1ABC\tx\ty\tvia W1XYZ\t599\t579\tC\tC\t",
          "2024.03.16\t0815\tSSB\t3.7\tW1AW\t\t\t\t59\t57\t\t\tC", "2024.03.17\t0900\tCW"},
         3,
         "",
         {{{"CALL", "DL1ABC"},
           {"DATE", "20240315"},
           {"TIME", "1234"},
           {"BAND", "20m"},
           {"MODE", "CW"},
           {"RSTS", "599"},
           {"RSTR", "579"},
           {"QMGR", "W1XYZ"},
           {"MARK", "Y"},
           {"QSLS", "Y"},
           {"FREQ", "14.025"}},
          {{"CALL", "W1AW"},
           {"DATE", "20240316"},
           {"TIME", "0815"},
           {"BAND", "80m"},
           {"MODE", "SSB"},
           {"RSTS", "59"},
           {"RSTR", "57"},
           {"QSLR", "Y"},
           {"FREQ", "3.7"}}},
         1},
    };
}

class FixedColumnTest : public ReaderFixture
{};

TEST_F(FixedColumnTest, EveryFormatReadsItsColumns)
{
    for (const TextCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
        const std::string path = writeFile(std::string(c.name) + ".txt", joinLines(c.lines));
        const Result r = read(c.type, path);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.spec.LogSize, c.logSize);
        EXPECT_EQ(r.spec.CallSign, c.stationCall);
        expectQsos(r.qsos, c.expected);
        EXPECT_EQ(errorRows().size(), c.errorRows);
    }
}

TEST_F(FixedColumnTest, ShortLinesGoToTheErrorLogWithoutCrashing)
{
    for (int type : {16, 26, 31, 32, 10, 43, 4, 12, 30}) {
        SCOPED_TRACE(type);
        engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
        const std::string path =
            writeFile("short" + std::to_string(type), "x\r\n12\r\n1/2\r\n2x34567890123456789:\r\n");
        const Result r = read(type, path);
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(r.qsos.empty());
    }
}

TEST_F(FixedColumnTest, AMissingFileFails)
{
    for (int type : {16, 26, 31, 32, 10, 43, 4, 12, 30, 27, 3}) {
        SCOPED_TRACE(type);
        TQXLogSpec spec = makeLogSpec((home / "in" / "none.txt").string(), type);
        EXPECT_FALSE(engine->ReadLog(spec));
    }
}

} // namespace
} // namespace qx7::test
