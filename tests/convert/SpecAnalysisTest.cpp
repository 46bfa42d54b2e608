// "Analyze file" and the specification draft: the guessing rules, break editing, the
// widths stored for fixed-width files, and a specification that reads back as saved.

#include "convert/specs/ImportSpecFile.h"
#include "convert/specs/SampleAnalysis.h"
#include "convert/specs/TextSpecDraft.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

TEST(AnalyzeSample, DelimiterQualifierAndHeaderFollowTheCounts)
{
    struct Row
    {
        std::vector<std::string> lines;
        std::optional<char> delimiter;
        std::optional<char> qualifier;
        bool header;
    };
    const std::string quoted = "\"DL1ABC\",\"20240101\",\"1200\",\"20m\",\"SSB\",\"59\"";
    const Row rows[] = {
        {{"CALL,DATE,TIME", "DL1ABC,20240101,1200"}, ',', '\0', true},
        // Equal counts: the earlier candidate stays (semicolon before comma).
        {{"A;B,C", "D;E,F"}, ';', '\0', true},
        {{"A\tB\tC D", "E\tF G H"}, '\t', '\0', true},
        {{"DL1ABC 20240101 1200", "JA1XYZ 20240102 1300"}, ' ', '\0', false},
        // More than 20 double quotes, more than single ones.
        {{quoted, quoted}, ',', '"', false},
        // Quotes, but too few to decide: the qualifier stays as chosen.
        {{"it's,a,test", "\"x\",y"}, ',', std::nullopt, true},
        {{"nothing here", ""}, ' ', '\0', true},
    };
    for (const Row& row : rows) {
        const TextGuess g = analyzeSample(row.lines);
        EXPECT_EQ(g.delimiter, row.delimiter) << row.lines[0];
        EXPECT_EQ(g.qualifier, row.qualifier) << row.lines[0];
        EXPECT_EQ(g.headerRow, row.header) << row.lines[0];
    }
}

TEST(AnalyzeSample, ColumnsPaddedWithBlanksAreFixedWidth)
{
    const std::vector<std::string> lines = {"DL1ABC    20240101 1200 20m SSB",
                                            "JA1XY     20240102 1300 40m CW ",
                                            "K1A       20240103 0915 15m FM "};
    const TextGuess g = analyzeSample(lines);
    EXPECT_TRUE(g.fixedWidth);
    EXPECT_EQ(g.delimiter, '\0');
    EXPECT_EQ(guessBreaks(lines, '\0'), (std::vector<int>{10, 19, 24, 28, 31}));
}

TEST(FixedWidth, StoredWidthsAreTheDistancesBetweenBreaks)
{
    EXPECT_EQ(widthsFromBreaks({12, 20, 24}, '\0'), (std::vector<int>{12, 8, 4}));
    // The delimiter belongs to no column.
    EXPECT_EQ(widthsFromBreaks({12, 20, 24}, ';'), (std::vector<int>{12, 7, 3}));
    // Breaks at every delimiter of the first line and at its end.
    EXPECT_EQ(guessBreaks({"DL1ABC;20240101;1200"}, ';'), (std::vector<int>{6, 15, 20}));
}

TEST(TextSpecDraft, BreaksStaySortedWhenSetMovedAndDeleted)
{
    TextSpecDraft d({"DL1ABC    20240101 1200"});
    d.textType = 1;
    d.delimiter = '\0';
    EXPECT_TRUE(d.addBreak(19));
    EXPECT_TRUE(d.addBreak(10));
    EXPECT_FALSE(d.addBreak(10));
    EXPECT_FALSE(d.addBreak(0));
    EXPECT_EQ(d.breaks(), (std::vector<int>{10, 19}));
    EXPECT_TRUE(d.moveBreak(19, 5));
    EXPECT_EQ(d.breaks(), (std::vector<int>{5, 10}));
    EXPECT_FALSE(d.moveBreak(5, 10)); // onto another break
    EXPECT_TRUE(d.removeBreak(5));
    EXPECT_EQ(d.breaks(), (std::vector<int>{10}));
    // The text past the last break is a column that reads nothing.
    EXPECT_EQ(d.columnCount(), 2u);
    EXPECT_EQ(d.widths(), (std::vector<int>{10, 0}));
    EXPECT_EQ(d.rows().front()[0], "DL1ABC");
}

TEST(TextSpecDraft, AnalyzedCsvMapsItsColumnsAndReadsBackAsSaved)
{
    TextSpecDraft d({"Call,QSO_DATE,TIME_ON,Band,Mode,RST_SENT,RST_RCVD,Notes",
                     "DL1ABC,20240105,1203,20m,SSB,59,57,hello",
                     "JA1XYZ,20240106,0815,40m,CW,599,579,"});
    d.analyze();
    EXPECT_EQ(d.delimiter, ',');
    EXPECT_TRUE(d.headerRow);
    EXPECT_EQ(d.dateFormat, "yyyymmdd");
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"CALL", "DATE", "TIME", "BAND", "MODE", "RSTS",
                                                  "RSTR", "COMM"}));
    EXPECT_TRUE(d.isComplete());
    EXPECT_EQ(d.columnNames()[1], "QSO_DATE");
    EXPECT_EQ(d.rows().size(), 2u);

    TQXLogSpec spec;
    d.applyTo(spec);
    const fs::path file = fs::temp_directory_path() / "qx7-analysis-test.qxia";
    ASSERT_TRUE(writeImportSpec(file.string(), SpecKind::Text, spec));
    const IniFile ini(file.string());
    EXPECT_EQ(ini.readInteger("Options", "Delimiter", -1), 44);
    EXPECT_EQ(ini.readInteger("Options", "Qualifier", -1), 0);
    EXPECT_EQ(ini.readInteger("Options", "HeaderRows", -1), 1);
    EXPECT_EQ(ini.readString("Fields", "Field8", ""), "COMM;0");
    EXPECT_FALSE(ini.valueExists("Fields", "Field9"));
    TQXLogSpec back;
    readImportSpec(ini, SpecKind::Text, back);
    TextSpecDraft again(d.sample());
    again.loadFrom(back);
    EXPECT_EQ(again.fieldMap(), d.fieldMap());
    fs::remove(file);
}

TEST(TextSpecDraft, FieldsAreGuessedFromValuesWithoutHeader)
{
    TextSpecDraft d(
        {"05.01.2024;12:03;DL1ABC;14.205;USB;59;57", "06.01.2024;08:15;JA1XYZ;7.012;CW;599;579"});
    d.analyze();
    EXPECT_FALSE(d.headerRow);
    EXPECT_EQ(d.dateFormat, "dd.mm.yyyy");
    EXPECT_EQ(d.keys(),
              (std::vector<std::string>{"DATE", "TIME", "CALL", "FREQ", "MODE", "RSTS", "RSTR"}));
    EXPECT_TRUE(d.isComplete());
    d.setKey(3, "nil");
    EXPECT_FALSE(d.isComplete()); // neither band nor frequency
}

TEST(TextSpecDraft, FixedWidthSpecificationKeepsItsBreaks)
{
    TextSpecDraft d({"DL1ABC      20240101 1200", "JA1XYZ      20240102 1300"});
    d.textType = 1;
    d.delimiter = '\0';
    d.setBreaks({12, 20, 25});
    d.setKey(0, "CALL");
    d.setKey(1, "DATE");
    d.setKey(2, "TIME");
    EXPECT_EQ(d.fieldMap(), (std::vector<std::string>{"CALL;12", "DATE;8", "TIME;5"}));
    TQXLogSpec spec;
    d.applyTo(spec);
    TextSpecDraft back(d.sample());
    back.loadFrom(spec);
    EXPECT_EQ(back.breaks(), d.breaks());
    EXPECT_EQ(back.rows()[1], (std::vector<std::string>{"JA1XYZ", "20240102", "1300"}));
}

} // namespace
} // namespace qx7
