// The conversion run: the checks in their order, error-log rows and file, the merge
// rules of the write modes over several input logs, duplicates, abort.

#include "ConvertFixture.h"

#include "convert/engine/ConversionRun.h"
#include "convert/engine/ErrorLog.h"
#include "convert/engine/LogTypes.h"
#include "convert/normalize/FieldCodes.h"

namespace qx7::test {
namespace {

struct Qso
{
    const char* call;
    const char* date;
    const char* time;
    const char* band;
    const char* mode;
    const char* qsls = "N";
};

class EngineTest : public ConvertFixture
{
protected:
    void feed(const Qso& q, TQXLogSpec& spec)
    {
        FieldNormalizer& n = engine->normalizer();
        n.SetImportField("CALL", q.call, "");
        n.SetImportField("DATE", q.date, "yyyymmdd");
        n.SetImportField("TIME", q.time, "");
        n.SetImportField("BAND", q.band, "");
        n.SetImportField("MODE", q.mode, "");
        n.SetImportField("QSLS", q.qsls, "");
        engine->QsoComplete(spec);
    }

    // An ADIF record line for the merge tests.
    static std::string adif(const std::string& call, const std::string& comment,
                            const std::string& mode = "SSB")
    {
        std::string line =
            "<CALL:" + std::to_string(call.size()) + ">" + call +
            "<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:" + std::to_string(mode.size()) +
            ">" + mode;
        if (!comment.empty())
            line += "<COMMENT:" + std::to_string(comment.size()) + ">" + comment;
        return line + "<EOR>\n";
    }

    // Runs the conversion of the given ADIF texts and answers the comments written.
    std::vector<std::string> merge(const std::vector<std::string>& logs, int writeMode)
    {
        ConversionRun run(*engine, settings);
        for (size_t i = 0; i < logs.size(); ++i)
            EXPECT_TRUE(run.addLog(writeFile("log" + std::to_string(i) + ".adi", logs[i]),
                                   LogType::Adif, LogType::Adif));
        TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
        out.WriteMode = static_cast<unsigned char>(writeMode);
        const RunResult result = run.execute(out, [](const std::string&) {});
        EXPECT_TRUE(result.writeOk);
        std::vector<std::string> comments;
        for (const std::string& line : readLines(home / "out.adi"))
            if (line.find("<eor>") != std::string::npos)
                comments.push_back(adifValue(line, "comment").value_or("-"));
        return comments;
    }
};

struct CheckRow
{
    Qso qso;
    const char* row; // expected error row, nullptr when accepted
};

TEST_F(EngineTest, ChecksWriteOneRowPerProblemQso)
{
    const CheckRow rows[] = {
        {{"DL1ABC", "20240101", "1200", "20M", "SSB"}, nullptr},
        {{"", "20240101", "1200", "20M", "SSB"},
         "     2|                |20240101|1200|20m   |SSB         |wrong call "},
        {{"DL1ABC", "20240101", "2460", "20M", "SSB"},
         "     3|DL1ABC          |20240101|2460|20m   |SSB         |wrong time "},
        {{"DL1ABC", "20240101", "1200", "11m", "SSB"},
         "     4|DL1ABC          |20240101|1200|11m   |SSB         |unknown band "},
        {{"DL1ABC", "20240101", "1200", "20M", "XYZ"},
         "     5|DL1ABC          |20240101|1200|20m   |XYZ         |unknown mode "},
        {{"DL1ABC", "20240101", "1200", "20M", ""},
         "     6|DL1ABC          |20240101|1200|20m   |empty!      |unknown mode "},
        {{"DL-1", "2024-01-01", "12", "", "CW"},
         "     7|DL-1            |20      |0012|      |CW          |wrong call wrong date "
         "unknown band "},
        {{"DL1ABC", "20240101", "1260", "20M", "CW"},
         "     8|DL1ABC          |20240101|1260|20m   |CW          |wrong time "},
        {{"W1AW/P", "20240101", "0000", "SAT", "FT8"}, nullptr},
    };
    TQXLogSpec spec = makeLogSpec("/logs/in.adi", LogType::Adif);
    engine->StartConversion(LogType::Adif);
    std::vector<std::string> expected;
    for (const CheckRow& row : rows) {
        feed(row.qso, spec);
        if (row.row)
            expected.push_back(row.row);
    }
    const auto& lines = engine->errorLog().lines();
    ASSERT_EQ(lines.size(), 4 + expected.size());
    EXPECT_EQ(lines[0], "QX7 Error log for file: /logs/in.adi");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "QSO # |Call            |Date    |Time|Band  |Mode        |Problem");
    EXPECT_EQ(lines[3], "------+----------------+--------+----+------+------------+"
                        "--------------------------");
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[4 + i], expected[i]) << "row " << i;
    EXPECT_EQ(engine->counters().read, 9);
    EXPECT_EQ(engine->counters().readOk, 2);
    EXPECT_EQ(engine->errorCount(), static_cast<long long>(expected.size()));
}

TEST_F(EngineTest, FiltersRejectSilently)
{
    TQXLogSpec spec = makeLogSpec("in.adi", LogType::Adif);
    spec.DateFrom = "202402";
    spec.DateTo = "20240310";
    spec.NotSentOnly = 1;
    engine->StartConversion(LogType::Adif);
    feed({"DL1A", "20240131", "1200", "20M", "SSB"}, spec); // before the range
    feed({"DL1B", "20240201", "1200", "20M", "SSB"}, spec);
    feed({"DL1C", "20240310", "2359", "20M", "SSB"}, spec);
    feed({"DL1D", "20240311", "0000", "20M", "SSB"}, spec); // after it
    feed({"DL1E", "20240215", "1200", "20M", "SSB", "Y"}, spec);
    feed({"", "20240215", "1200", "20M", "SSB", "Y"}, spec); // sent: no error row either
    EXPECT_EQ(engine->counters().read, 6);
    EXPECT_EQ(engine->counters().readOk, 2);
    EXPECT_EQ(engine->errorCount(), -1);
    EXPECT_EQ(engine->bufferSize(), 2u);
}

TEST_F(EngineTest, SeventeenthQsoRowAndTheErrorLogFile)
{
    TQXLogSpec spec = makeLogSpec("in.adi", LogType::Adif);
    engine->StartConversion(LogType::Qx7);
    for (int i = 0; i < 16; ++i)
        feed({"DL1ABC", "20240101", "1200", "20M", "SSB"}, spec);
    feed({"DL1ABC", "20240101", "1200", "20M", "XYZ"}, spec);
    ASSERT_EQ(engine->errorLog().lines().size(), 5u);
    EXPECT_EQ(engine->errorLog().lines()[4].substr(0, 7), "    17|");
    EXPECT_EQ(ErrorLog::fileNameFor(settings.QXTmpPath, "/x/DL1ABC.qx7"),
              (home / "tmp" / "DL1ABC_error.txt").string());
    EXPECT_EQ(ErrorLog::fileNameFor(settings.QXTmpPath, "log.adi"),
              (home / "tmp" / "log_error.txt").string());
    TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
    engine->WriteOutput(out);
    EXPECT_EQ(engine->errorLogPath(), (home / "tmp" / "out_error.txt").string());
    const auto lines = readLines(engine->errorLogPath());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "QX7 Error log for file: in.adi");
}

// A file that fails every QSO lists the first rows and counts the rest.
TEST_F(EngineTest, ErrorLogListsTheFirstRowsAndCountsTheRest)
{
    TQXLogSpec spec = makeLogSpec("in.adi", LogType::Adif);
    engine->StartConversion(LogType::Adif);
    const size_t rejected = ErrorLog::kListedRows + 25;
    for (size_t i = 0; i < rejected; ++i)
        feed({"DL1ABC", "", "1200", "20M", "SSB"}, spec);
    EXPECT_EQ(engine->errorCount(), static_cast<long long>(rejected));
    EXPECT_EQ(engine->errorLog().lines().size(), 4 + ErrorLog::kListedRows);
    EXPECT_EQ(engine->errorLog().unlistedRows(), 25u);
    TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
    engine->WriteOutput(out);
    const auto lines = readLines(engine->errorLogPath());
    ASSERT_EQ(lines.size(), 5 + ErrorLog::kListedRows);
    EXPECT_EQ(lines.back(),
              "... and 25 more rows not listed (10025 QSOs rejected, 0 warnings in all)");
}

TEST_F(EngineTest, AnalysisCollectsRowsButStoresAndSavesNothing)
{
    TQXLogSpec spec = makeLogSpec("in.adi", LogType::Adif);
    engine->StartConversion(LogType::Adif, true);
    feed({"DL1ABC", "20240101", "1200", "20M", "SSB"}, spec);
    feed({"", "20240101", "1200", "20M", "SSB"}, spec);
    EXPECT_EQ(engine->bufferSize(), 0u);
    EXPECT_EQ(engine->errorCount(), 1);
    TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
    engine->WriteOutput(out);
    EXPECT_EQ(engine->errorLogPath(), "");
    EXPECT_FALSE(fs::exists(home / "tmp" / "out_error.txt"));
}

struct MergeRow
{
    std::vector<std::string> logs;
    int writeMode;
    bool keepDupes;
    std::vector<std::string> comments; // written, in order; "-" for none
};

TEST_F(EngineTest, WriteModesDecideBetweenLogsHoldingTheSameQso)
{
    const std::string a = adif("DL1ABC", "from A"), b = adif("DL1ABC", "from B"),
                      c = adif("DL1ABC", "from C"), plain = adif("DL1ABC", "");
    const MergeRow rows[] = {
        {{a, b}, 1, false, {"from A"}},
        {{a, b}, 0, false, {"from B"}},
        {{a, b}, 2, false, {"from A", "from B"}},
        {{plain, plain}, 2, false, {"-"}},
        {{plain, plain}, 2, true, {"-", "-"}},
        {{a, b, c}, 1, false, {"from A"}},
        {{a, b, c}, 0, false, {"from C"}},
        {{a, b, c}, 2, false, {"from A", "from B", "from C"}},
        // Within the first log nothing is merged; from the second log on, everything is.
        // (Records sort as whole texts: "from A2}" before "from A}".)
        {{a + adif("DL1ABC", "from A2"), b}, 2, false, {"from A2", "from A", "from B"}},
        {{a + adif("DL1ABC", "from A2"), b}, 1, false, {"from A2", "from A"}},
        {{adif("W1AW", "x"), b + adif("DL1ABC", "from B2")}, 1, false, {"from B", "x"}},
        {{adif("W1AW", "x"), b + adif("DL1ABC", "from B2")}, 0, false, {"from B2", "x"}},
        // SSB (A) and PAX (a) differ only in the case of their code: different QSOs.
        {{plain, adif("DL1ABC", "", "PAX")}, 1, false, {"-", "-"}},
        {{plain + adif("DL1ABC", "", "PAX")}, 2, false, {"-", "-"}},
    };
    for (const MergeRow& row : rows) {
        settings.ImportDupes = row.keepDupes;
        EXPECT_EQ(merge(row.logs, row.writeMode), row.comments)
            << row.logs.size() << " logs, mode " << row.writeMode << ", dupes " << row.keepDupes
            << ", first log: " << row.logs[0];
    }
}

TEST_F(EngineTest, ProtocolLinesOfARun)
{
    const std::string log = adif("DL1ABC", "") + adif("DL1ABC", "") + adif("", "x");
    ConversionRun run(*engine, settings);
    ASSERT_TRUE(run.addLog(writeFile("a.adi", log), LogType::Adif, LogType::Adif));
    EXPECT_EQ(run.totalQsos(), 3);
    std::vector<std::string> protocol;
    const std::string out = (home / "out.adi").string();
    run.execute(makeLogSpec(out, LogType::Adif),
                [&](const std::string& line) { protocol.push_back(line); });
    const std::vector<std::string> expected = {"Reading: " + (home / "in" / "a.adi").string(),
                                               "2 QSOs read OK of 3",
                                               "         1 read errors.",
                                               "Writing: " + out,
                                               "         1 dupes ignored.",
                                               "Finished.",
                                               "1 QSOs written"};
    EXPECT_EQ(protocol, expected);
}

TEST_F(EngineTest, AbortStopsTheRunAndWritesNothing)
{
    std::string log;
    for (int i = 0; i < 200; ++i)
        log += adif("DL" + std::to_string(i) + "ABC", "");
    progress.stopAfter = 3;
    ConversionRun run(*engine, settings);
    ASSERT_TRUE(run.addLog(writeFile("a.adi", log), LogType::Adif, LogType::Adif));
    std::vector<std::string> protocol;
    const RunResult result = run.execute(makeLogSpec((home / "out.adi").string(), LogType::Adif),
                                         [&](const std::string& l) { protocol.push_back(l); });
    EXPECT_TRUE(result.aborted);
    EXPECT_LT(result.read, 200);
    EXPECT_EQ(protocol.back(), "Import aborted.");
    EXPECT_FALSE(fs::exists(home / "out.adi"));
    EXPECT_EQ(engine->bufferSize(), 0u);
}

TEST_F(EngineTest, UnknownTypesFailAndSizeOnlyTypesEstimate)
{
    TQXLogSpec unknown = makeLogSpec(writeFile("x.txt", "x\n"), 44);
    engine->StartConversion(LogType::Adif);
    EXPECT_FALSE(engine->ReadLog(unknown));
    TQXLogSpec splog = makeLogSpec(writeFile("x.spl", std::string(750 + 125 * 4, 'x')), 36);
    EXPECT_FALSE(engine->ReadLog(splog));
    EXPECT_EQ(splog.LogSize, 4);
    TQXLogSpec missing = makeLogSpec((home / "none.qx7").string(), LogType::Qx7);
    EXPECT_FALSE(engine->ReadLog(missing));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "Error opening " + missing.FileName);
    EXPECT_EQ(prompter.shown[1].text, "Log still open?");
}

TEST_F(EngineTest, OutputTypeChoosesTheRecordLayout)
{
    const std::pair<int, RecordLayout> rows[] = {
        {LogType::Adif, RecordLayout::DateFirst},
        {LogType::Qx7, RecordLayout::CallFirst},
        {LogType::Cabrillo, RecordLayout::DateFirst},
        {LogType::AsciiByCall, RecordLayout::CallFirst},
        {LogType::Xml, RecordLayout::DateFirst},
        {3, RecordLayout::DateFirst},
    };
    for (const auto& [type, layout] : rows) {
        engine->StartConversion(type);
        EXPECT_EQ(engine->layout(), layout) << "output type " << type;
    }
}

} // namespace
} // namespace qx7::test
