// Text and CSV logs through an import specification: delimited and fixed-width lines,
// qualifiers, header rows, empty columns, and a realistic spreadsheet export.

#include "ReaderFixture.h"

#include "convert/readers/TextSpecReader.h"

namespace qx7::test {
namespace {

class TextSpecReaderTest : public ReaderFixture
{};

TEST_F(TextSpecReaderTest, DelimitedSplitting)
{
    struct Row
    {
        const char* line;
        char delimiter, qualifier;
        std::vector<std::string> values;
    };
    const Row rows[] = {
        {"a;b;c", ';', 0, {"a", "b", "c"}},
        {"a;;c", ';', 0, {"a", "", "c"}},
        {"a;b;", ';', 0, {"a", "b", ""}},
        {"\"a;b\";\"c\"\"d\";e", ';', '"', {"a;b", "c\"d", "e"}},
        {"'x' ,'y'", ',', '\'', {"x", "y"}},
        {"  a   b  c ", ' ', 0, {"a", "b", "c"}},
        {"a\tb", '\t', 0, {"a", "b"}},
        {"whole line", 0, 0, {"whole line"}},
        {"\"open", ';', '"', {"open"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splitDelimited(row.line, row.delimiter, row.qualifier), row.values) << row.line;
}

TEST_F(TextSpecReaderTest, FixedWidthSplitting)
{
    EXPECT_EQ(splitFixed("DL1ABC     20240315 1234", {10, 8, 4}, ' ', 0),
              (std::vector<std::string>{"DL1ABC", "20240315", "1234"}));
    EXPECT_EQ(splitFixed("\"DL1ABC\"  \"59\"", {10, 4}, 0, '"'),
              (std::vector<std::string>{"DL1ABC", "59"}));
    EXPECT_EQ(splitFixed("short", {10, 8}, 0, 0), (std::vector<std::string>{"short", ""}));
}

// A spreadsheet saved as CSV: header row, quoted texts, an empty column in the middle.
const char* const kSpreadsheet =
    "Call;Date;UTC;Band;Mode;RST sent;RST rcvd;QSL via;Remarks\r\n"
    "\"DL1ABC\";15.03.2024;12:34;20m;CW;599;579;;\"Nice; long QSO\"\r\n"
    "\"W1AW\";16.03.2024;0815;14.250;SSB;59;57;W1XYZ;\r\n"
    ";17.03.2024;0900;40m;CW;599;599;;\r\n"
    "\r\n";

TEST_F(TextSpecReaderTest, SpreadsheetCsv)
{
    const Result r = read(34, writeFile("log.csv", kSpreadsheet), [](TQXLogSpec& s) {
        s.TextType = 0;
        s.Delimiter = ';';
        s.Qualifier = '"';
        s.HeaderRows = 1;
        s.DateFormat = "dd.mm.yyyy";
        s.FieldMap = {"CALL;0", "DATE;0", "TIME;0", "BAND;0", "MODE;0",
                      "RSTS;0", "RSTR;0", "QMGR;0", "COMM;0"};
    });
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 3) << "the header row is no QSO";
    expectQsos(r.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "579"},
                         {"COMM", "Nice; long QSO"}},
                        {{"CALL", "W1AW"},
                         {"DATE", "20240316"},
                         {"TIME", "0815"},
                         {"BAND", "20m"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "57"},
                         {"QMGR", "W1XYZ"},
                         {"FREQ", "14.250"}}});
    ASSERT_EQ(errorRows().size(), 1u);
    EXPECT_NE(errorRows()[0].find("wrong call"), std::string::npos);
}

TEST_F(TextSpecReaderTest, FixedWidthLogWithSkippedColumn)
{
    const std::string text = ColumnLine()
                                 .at(1, "DL1ABC")
                                 .at(12, "20240315")
                                 .at(21, "1234")
                                 .at(26, "xx")
                                 .at(29, "20")
                                 .at(34, "CW")
                                 .str() +
                             "\n" +
                             ColumnLine()
                                 .at(1, "OH2BH")
                                 .at(12, "20240316")
                                 .at(21, "0001")
                                 .at(29, "40")
                                 .at(34, "SSB")
                                 .str() +
                             "\n";
    const Result r = read(3, writeFile("log.txt", text), [](TQXLogSpec& s) {
        s.TextType = 1;
        s.Delimiter = ' ';
        s.DateFormat = "yyyymmdd";
        s.FieldMap = {"CALL;10", "DATE;8", "TIME;4", "nil;2", "BAND;4", "MODE;4"};
    });
    ASSERT_TRUE(r.ok);
    expectQsos(r.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "CW"}},
                        {{"CALL", "OH2BH"},
                         {"DATE", "20240316"},
                         {"TIME", "0001"},
                         {"BAND", "40m"},
                         {"MODE", "SSB"}}});
}

TEST_F(TextSpecReaderTest, WithoutSpecificationItSaysSo)
{
    const std::string path = writeFile("log.txt", "DL1ABC;20240315\n");
    for (int textType : {-1, 0}) {
        SCOPED_TRACE(textType);
        prompter.shown.clear();
        const Result r = read(3, path, [&](TQXLogSpec& s) {
            s.TextType = textType;
            if (textType == -1)
                s.FieldMap = {"CALL;0"};
        });
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, std::string(kNoSpecification) + "\r\n" + path);
    }
}

} // namespace
} // namespace qx7::test
