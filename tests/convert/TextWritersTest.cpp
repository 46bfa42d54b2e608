// The text-like writers byte for byte on a small buffer, the output specification
// files with their defaults, and the registry: every type offered for reading or
// writing has its reader or writer.

#include "ReaderFixture.h"

#include "convert/specs/OutputSpecFile.h"
#include "convert/writers/AppletWriter.h"
#include "convert/writers/LogsearchWriter.h"
#include "convert/writers/XmlWriter.h"
#include "core/IniFile.h"

namespace qx7::test {
namespace {

const char* const kBuffer =
    "<EOH>\n"
    "<CALL:6>DL1ABC<QSO_DATE:8>20240315<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB<RST_SENT:2>59"
    "<RST_RCVD:2>57<QSL_SENT:1>Y<COMMENT:9>R&D <ok>\xC3\xA9<EOR>\n"
    "<CALL:4>W1AW<QSO_DATE:8>20240315<TIME_ON:4>1205<BAND:3>40M<MODE:2>CW<RST_SENT:3>599"
    "<RST_RCVD:3>579<EOR>\n"
    "<CALL:6>DL2XYZ<QSO_DATE:8>20240315<TIME_ON:4>1215<BAND:4>70CM<MODE:2>FM<EOR>\n"
    "<CALL:4>JA1Z<QSO_DATE:8>20240315<TIME_ON:4>1315<BAND:3>20M<MODE:4>RTTY<EOR>\n"
    "<CALL:5>K1ABC<QSO_DATE:8>20240316<TIME_ON:4>1315<BAND:3>SAT<MODE:4>PSK31<EOR>\n";

class TextWritersTest : public ReaderFixture
{
protected:
    // Reads the buffer for that output type and writes it; the output as text.
    std::string convert(int type, const std::function<void(TQXLogSpec&)>& prepare,
                        const std::string& name = "out.txt")
    {
        TQXLogSpec input = makeLogSpec(writeFile("buffer.adi", kBuffer), LogType::Adif);
        engine->StartConversion(type);
        engine->ClearImportBuffer();
        engine->beginInputLog();
        EXPECT_TRUE(engine->ReadLog(input));
        TQXLogSpec output = makeLogSpec((home / name).string(), type);
        output.CallSign = "DL0XX/P";
        if (prepare)
            prepare(output);
        EXPECT_TRUE(engine->WriteOutput(output));
        return readFile(home / name);
    }
};

TEST_F(TextWritersTest, DelimitedWithQualifierAndHeader)
{
    const std::string text = convert(19, [](TQXLogSpec& o) {
        o.TextType = 0;
        o.Delimiter = ';';
        o.Qualifier = '"';
        o.HeaderRows = 1;
        o.DateFormat = "dd.mm.yyyy";
        o.FieldMap = {"CALL", "DATE", "BAND"};
    });
    EXPECT_EQ(text, "\"CALL\";\"DATE\";\"BAND\"\r\n"
                    "\"DL1ABC\";\"15.03.2024\";\"20m\"\r\n"
                    "\"W1AW\";\"15.03.2024\";\"40m\"\r\n"
                    "\"DL2XYZ\";\"15.03.2024\";\"70cm\"\r\n"
                    "\"JA1Z\";\"15.03.2024\";\"20m\"\r\n"
                    "\"K1ABC\";\"16.03.2024\";\"SAT\"\r\n");
}

TEST_F(TextWritersTest, FixedWidthByCall)
{
    const std::string text = convert(20, [](TQXLogSpec& o) {
        o.TextType = 1;
        o.Delimiter = 0;
        o.FieldMap = {"DATE", "CALL", "RSTS"};
    });
    EXPECT_EQ(text, "20240315DL1ABC          59    \r\n"
                    "20240315DL2XYZ                \r\n"
                    "20240315JA1Z                  \r\n"
                    "20240316K1ABC                 \r\n"
                    "20240315W1AW            599   \r\n");
}

// A value that holds the delimiter stays one column, whatever the qualifier setting;
// our own text reader reads the columns back whole.
TEST_F(TextWritersTest, ValueHoldingTheDelimiterStaysOneColumn)
{
    const std::string adif = writeFile(
        "comma.adi", "<CALL:6>DL1ABC<QSO_DATE:8>20240315<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB"
                     "<COMMENT:16>tnx, \"Jo\" 73; gl<QSL_VIA:4>W1XX<EOR>\n");
    const auto write = [&](char delimiter, char qualifier) {
        TQXLogSpec input = makeLogSpec(adif, LogType::Adif);
        engine->StartConversion(19);
        engine->ClearImportBuffer();
        engine->beginInputLog();
        EXPECT_TRUE(engine->ReadLog(input));
        TQXLogSpec output = makeLogSpec((home / "comma.txt").string(), 19);
        output.TextType = 0;
        output.Delimiter = delimiter;
        output.Qualifier = qualifier;
        output.FieldMap = {"CALL", "COMM", "QMGR"};
        EXPECT_TRUE(engine->WriteOutput(output));
        return readFile(home / "comma.txt");
    };
    EXPECT_EQ(write(',', 0), "DL1ABC,\"tnx, \"\"Jo\"\" 73; gl\",W1XX\r\n");
    EXPECT_EQ(write(';', 0), "DL1ABC;\"tnx, \"\"Jo\"\" 73; gl\";W1XX\r\n");
    EXPECT_EQ(write(';', '\''), "'DL1ABC';'tnx, \"Jo\" 73; gl';'W1XX'\r\n");
    EXPECT_EQ(write('\t', 0), "DL1ABC\ttnx, \"Jo\" 73; gl\tW1XX\r\n");
}

TEST_F(TextWritersTest, EmptyLinesAreNotWritten)
{
    const std::string text = convert(19, [](TQXLogSpec& o) {
        o.TextType = 0;
        o.Delimiter = 0;
        o.FieldMap = {"QMGR"};
    });
    EXPECT_EQ(text, "");
}

TEST_F(TextWritersTest, LogsearchWithAndWithoutTime)
{
    EXPECT_EQ(convert(47, {}, "plain.log"), "DL1ABC 20 S\r\n"
                                            "W1AW 40 C\r\n"
                                            "DL2XYZ 70c F\r\n"
                                            "JA1Z 20 R\r\n"
                                            "K1ABC SAT PSK\r\n");
    EXPECT_EQ(convert(48, {}, "dated.log"), "DATE 240315\r\n"
                                            "DL1ABC 20 S 1200\r\n"
                                            "W1AW 40 C 5\r\n"
                                            "DL2XYZ 70c F 15\r\n"
                                            "JA1Z 20 R 1315\r\n"
                                            "DATE 240316\r\n"
                                            "K1ABC SAT PSK 1315\r\n");
}

TEST_F(TextWritersTest, LogsearchTimePart)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"1200", "", " 1200"},     {"1205", "1200", " 5"}, {"1215", "1205", " 15"},
        {"1315", "1215", " 1315"}, {"1315", "1315", ""},   {"0000", "2359", " 0000"},
    };
    for (const auto& [time, last, part] : rows)
        EXPECT_EQ(logsearchTimePart(time, last), part) << time << " after " << last;
}

TEST_F(TextWritersTest, XmlEscapesAndEncodesLatin1)
{
    const std::string text = convert(
        46,
        [](TQXLogSpec& o) {
            o.FieldMap = {"CALL", "DATE", "COMM"};
        },
        "out.xml");
    const std::string firstQso = "<QSO>\r\n"
                                 "  <CALL>DL1ABC</CALL>\r\n"
                                 "  <QSO_DATE>20240315</QSO_DATE>\r\n"
                                 "  <COMMENT>R&amp;D &lt;ok&gt;\xE9</COMMENT>\r\n"
                                 "</QSO>\r\n";
    EXPECT_EQ(text.substr(0, 160),
              std::string("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<ADIF>\r\n<STN>\r\n"
                          "  <MYCALL>DL0XX/P</MYCALL>\r\n  <DATA-SOURCE>QX7</DATA-SOURCE>\r\n"
                          "</STN>\r\n<LOG>\r\n" +
                          firstQso)
                  .substr(0, 160));
    EXPECT_NE(text.find(firstQso), std::string::npos);
    EXPECT_TRUE(text.ends_with("</QSO>\r\n</LOG>\r\n</ADIF>\r\n"));
    EXPECT_EQ(xmlLatin1("a\xE2\x82\xAC"), "a&#8364;");
}

TEST_F(TextWritersTest, AppletFileSet)
{
    const fs::path folder = home / "applet";
    convert(40, [&](TQXLogSpec& o) {
        o.FileName = folder.string();
        o.Qualifier = 0;
        o.FieldMap = {"CALL", "BAND", "MODE", "TIME"};
    });
    const fs::path sub = folder / "DL0XX_P";
    ASSERT_TRUE(fs::is_directory(sub));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(sub)) {
        ++files;
        EXPECT_EQ(entry.path().extension(), ".TXT");
    }
    EXPECT_EQ(files, 36u);
    EXPECT_EQ(readFile(sub / "D.TXT"), "DL1ABC 20m   SSB   1200\r\nDL2XYZ 70cm  FM    1215\r\n");
    EXPECT_EQ(readFile(sub / "W.TXT"), "W1AW 40m   CW    1205\r\n");
    EXPECT_EQ(readFile(sub / "0.TXT"), "");
}

TEST_F(TextWritersTest, OutputSpecFileDefaultsAndFields)
{
    const std::string path = (home / "user" / outputSpecFileName(19)).string();
    OutputSpecOptions o = readOutputSpec(path);
    EXPECT_EQ(o.dateFormat, "yyyymmdd");
    EXPECT_EQ(o.delimiter, 59);
    EXPECT_EQ(o.qualifier, 0);
    EXPECT_EQ(o.textType, 0);
    EXPECT_EQ(o.headerRows, 0);
    ASSERT_EQ(o.fields.size(), 17u);
    EXPECT_EQ(o.fields.front().first, "CALL");
    EXPECT_EQ(o.fields.back().first, "XBND");

    o.fields = {{"DATE", true}, {"CALL", true}, {"BAND", false}, {"MARK", true}};
    o.delimiter = 9;
    o.qualifier = 34;
    ASSERT_TRUE(writeOutputSpec(path, o));
    IniFile ini(path);
    ini.writeString("Fields", "BOGUS", "1");
    ASSERT_TRUE(ini.save());

    TQXLogSpec output = makeLogSpec((home / "x.txt").string(), 19);
    prepareOutputSpec((home / "user").string(), output);
    EXPECT_EQ(output.FieldMap, (std::vector<std::string>{"DATE", "CALL", "MARK"}));
    EXPECT_EQ(output.Delimiter, '\t');
    EXPECT_EQ(output.Qualifier, '"');
    const IniFile rewritten(path);
    EXPECT_FALSE(rewritten.valueExists("Fields", "BOGUS")) << "the list is written anew";
    EXPECT_EQ(rewritten.readString("Fields", "BAND", ""), "0");

    EXPECT_EQ(outputSpecFileName(20), "ascii2.qxeo");
    EXPECT_EQ(outputSpecFileName(40), "qe2qe.qxeo");
    EXPECT_EQ(outputSpecFileName(46), "xml.qxeo");
    EXPECT_EQ(outputSpecFileName(42), "");
}

TEST_F(TextWritersTest, EveryOfferedTypeHasItsReaderAndWriter)
{
    for (const TQXLogDescType& row : logTypeTable()) {
        SCOPED_TRACE(row.code);
        if (row.import) {
            EXPECT_NE(findReader(row.code), nullptr);
        }
        if (row.exportable) {
            EXPECT_NE(findWriter(row.code), nullptr);
        }
    }
    EXPECT_NE(findWriter(LogType::Xml), nullptr);
}

TEST_F(TextWritersTest, AFailedWriteLeavesNoFile)
{
    const fs::path missing = home / "no" / "such" / "folder" / "out.txt";
    for (int type : {19, 27, 46, 47}) {
        SCOPED_TRACE(type);
        TQXLogSpec output = makeLogSpec(missing.string(), type);
        output.CallSign = "DL0XX";
        EXPECT_FALSE(engine->WriteOutput(output));
        EXPECT_FALSE(fs::exists(missing));
    }
}

} // namespace
} // namespace qx7::test
