// The program's own logs as output and input, through the command-line functions:
// ADIF -> QX7 log -> ADIF keeps every field, an existing log is merged by the write
// mode, and a new log is made from an ADIF file.

#include "ConvertFixture.h"

#include "convert/engine/ConvertCommandLine.h"
#include "convert/engine/LogTypes.h"
#include "dbase/Table.h"
#include "store/LogTable.h"

#include <algorithm>

namespace qx7::test {
namespace {

const char* const kSample =
    "Sample\n<EOH>\n"
    "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB<RST_SENT:2>59"
    "<RST_RCVD:2>57<QSL_SENT:1>Y<QSLSDATE:8>20240110<QSL_VIA:5>W1XYZ<EOR>\n"
    "<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>0930<BAND:3>40M<MODE:2>CW<RST_SENT:3>599"
    "<RST_RCVD:3>579<QSL_RCVD:1>Y<QSLRDATE:8>20240201<COMMENT:7>Grüße<FREQ:5>7.025"
    "<DXCC:3>291<EOR>\n"
    "<CALL:5>F/G3X<QSO_DATE:8>20240103<TIME_ON:4>2359<BAND:4>70CM<MODE:5>PSK31"
    "<QSL_SENT:1>R<EOR>\n"
    "<CALL:6>JA1XYZ<QSO_DATE:8>20240104<TIME_ON:4>0001<BAND:3>SAT<MODE:3>FT8<EOR>\n"
    "<CALL:0><QSO_DATE:8>20240105<TIME_ON:4>0001<BAND:3>20M<MODE:3>FT8<EOR>\n";

class Qx7LogTest : public ConvertFixture
{
protected:
    struct CliRun
    {
        int code;
        std::vector<std::string> out;
        std::string err;
    };

    CliRun convert(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        int code = 2;
        if (const auto request = parseConvertArgs(args, err))
            code = runConvertRequest(*engine, settings, *request, out, err);
        return {code, split(out.str()), err.str()};
    }

    static std::vector<std::string> split(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::string logFile(const std::string& ext) const
    {
        return (home / "logs" / ("mylog" + ext)).string();
    }
};

TEST_F(Qx7LogTest, AdifToQx7LogAndBackKeepsEveryField)
{
    const std::string adif = writeFile("sample.adi", kSample);
    const std::string direct = (home / "direct.adi").string();
    const std::string back = (home / "back.adi").string();
    ASSERT_EQ(convert({"--in", "45:" + adif, "--out", "45:" + direct}).code, 0);

    const CliRun toLog =
        convert({"--in", "45:" + adif, "--out", "42:MyLog.qx7", "--call", "dl0xyz"});
    ASSERT_EQ(toLog.code, 0) << toLog.err;
    const std::vector<std::string> expected = {"Reading: " + adif,
                                               "4 QSOs read OK of 5",
                                               "         1 read errors.",
                                               "Writing: MyLog.qx7",
                                               "Finished.",
                                               "4 QSOs written",
                                               "Error log: " +
                                                   (home / "tmp" / "MyLog_error.txt").string()};
    EXPECT_EQ(toLog.out, expected);
    EXPECT_EQ(readLogDescriptor(logFile(".qx7")).stationCall, "DL0XYZ");

    dbase::Table table;
    table.open(logFile(".dbf"), {dbase::OpenMode::ReadOnly, {}});
    EXPECT_EQ(table.recordCount(), 4u);
    std::vector<std::string> tags;
    for (const auto& index : table.indexes())
        tags.push_back(index.name);
    EXPECT_EQ(tags, (std::vector<std::string>{"CALL", "DATETIME", "QMGR"}));
    table.setIndex("CALL");
    table.first();
    EXPECT_EQ(table.text("CALL"), "DL1ABC");
    EXPECT_EQ(table.text("BAND"), "20m");
    EXPECT_EQ(table.text("QMGR"), "W1XYZ");
    EXPECT_EQ(table.text("DATS"), "20240110");
    table.close();

    const CliRun fromLog = convert({"--in", "42:" + logFile(".qx7"), "--out", "45:" + back});
    ASSERT_EQ(fromLog.code, 0) << fromLog.err;
    EXPECT_EQ(readFile(back), readFile(direct));
    EXPECT_NE(readFile(back).find("<comment:5>Grüße "), std::string::npos);
}

// Every field of every row of the log, in call order.
std::vector<std::vector<std::string>> logRows(const std::string& table)
{
    dbase::Table t;
    t.open(table, {dbase::OpenMode::ReadOnly, {}});
    std::vector<std::vector<std::string>> rows;
    for (t.first(); !t.eof(); t.next()) {
        std::vector<std::string> row;
        for (int f = 0; f < t.fieldCount(); ++f)
            row.push_back(t.text(f));
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Write modes 0 and 1 add to a log: its own QSOs stay exactly as stored, also those the
// import rules would change or refuse today, and so do its footer lines; the write
// mode decides only between a stored QSO and an incoming one with the same key.
TEST_F(Qx7LogTest, UpdatingALogKeepsItsQsosAndFooterLinesAsStored)
{
    const std::string old = writeFile(
        "old.adi", "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB"
                   "<COMMENT:3>old<EOR><CALL:4>K1AA<QSO_DATE:8>20240103<TIME_ON:4>0800"
                   "<BAND:3>20M<MODE:2>CW<EOR>");
    const std::string fresh = writeFile(
        "new.adi", "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB"
                   "<COMMENT:3>new<EOR>\n<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>1200"
                   "<BAND:3>20M<MODE:2>CW<EOR>");
    const auto makeLog = [&] {
        ASSERT_EQ(convert({"--in", "45:" + old, "--out", "42:mylog", "--call", "DL0XYZ"}).code, 0);
        dbase::Table t;
        openLog(t, logFile(".dbf"), 0, dbase::OpenMode::Exclusive);
        t.first();
        while (!t.eof() && t.text("CALL") != "K1AA")
            t.next();
        ASSERT_FALSE(t.eof());
        t.edit();
        t.setText("QSLS", "I");
        t.setText("QSLR", "I");
        t.setText("FREQ", "14.025 MHz");
        t.setText("DXCC", "291");
        t.setText("TIME", "2460"); // refused by today's checks
        t.post();
        t.close();
        writeLogDescriptor(logFile(".qx7"), {"DL0XYZ", {"Footer one", "Footer two"}});
    };
    for (int mode : {1, 0}) {
        makeLog();
        auto before = logRows(logFile(".dbf"));
        const CliRun run = convert({"--in", "45:" + fresh, "--out", "42:mylog", "--call", "DL0NEW",
                                    "--write-mode", std::to_string(mode)});
        ASSERT_EQ(run.code, 0) << run.err;
        std::vector<std::string> expected = {"Reading: " + fresh, "2 QSOs read OK of 2",
                                             "Writing: mylog", "Finished."};
        if (mode == 1)
            expected.insert(expected.begin() + 3, "         1 dupes ignored.");
        expected.push_back(mode == 1 ? "1 QSOs written" : "2 QSOs written");
        EXPECT_EQ(run.out, expected) << "write mode " << mode;

        const auto after = logRows(logFile(".dbf"));
        ASSERT_EQ(after.size(), 3u);
        EXPECT_EQ(after[1], before[1]) << "K1AA as stored, mode " << mode;
        EXPECT_EQ(after[0][0], "DL1ABC");
        EXPECT_EQ(after[0][13], mode == 1 ? "old" : "new");
        EXPECT_EQ(after[2][0], "W1AW");
        const LogDescriptor descriptor = readLogDescriptor(logFile(".qx7"));
        EXPECT_EQ(descriptor.stationCall, "DL0NEW");
        EXPECT_EQ(descriptor.footerLines, (std::vector<std::string>{"Footer one", "Footer two"}));
    }

    // Overwriting replaces the QSOs.
    const CliRun overwrite = convert(
        {"--in", "45:" + fresh, "--out", "42:mylog", "--call", "DL0XYZ", "--write-mode", "2"});
    ASSERT_EQ(overwrite.code, 0) << overwrite.err;
    EXPECT_EQ(logRows(logFile(".dbf")).size(), 2u);
}

// Adding to a log needs no --call: the log's own call is kept. A new log still needs one.
TEST_F(Qx7LogTest, AddingToALogTakesTheCallOfTheLog)
{
    const std::string adif = writeFile("sample.adi", kSample);
    const CliRun none = convert({"--in", "45:" + adif, "--out", "42:mylog", "--write-mode", "0"});
    EXPECT_EQ(none.code, 2);
    EXPECT_NE(none.err.find("--call"), std::string::npos) << none.err;
    ASSERT_EQ(convert({"--in", "45:" + adif, "--out", "42:mylog", "--call", "DL0XYZ"}).code, 0);
    writeLogDescriptor(logFile(".qx7"), {"DL0XYZ", {"Footer"}});
    const std::string more =
        writeFile("more.adi", "<CALL:4>K1AA<QSO_DATE:8>20240301<TIME_ON:4>0800<BAND:3>20M"
                              "<MODE:2>CW<EOR>");
    for (const char* mode : {"0", "1"}) {
        const CliRun run =
            convert({"--in", "45:" + more, "--out", "42:mylog", "--write-mode", mode});
        ASSERT_EQ(run.code, 0) << run.err;
        const LogDescriptor descriptor = readLogDescriptor(logFile(".qx7"));
        EXPECT_EQ(descriptor.stationCall, "DL0XYZ");
        EXPECT_EQ(descriptor.footerLines, std::vector<std::string>{"Footer"});
    }
    EXPECT_EQ(logRows(logFile(".dbf")).size(), 5u);
    const CliRun replace =
        convert({"--in", "45:" + more, "--out", "42:mylog", "--write-mode", "2"});
    EXPECT_EQ(replace.code, 2);
}

// The README's example: a QX7 log named without a folder is one of the log folder.
TEST_F(Qx7LogTest, BareLogNameIsALogOfTheLogFolder)
{
    const std::string adif = writeFile("sample.adi", kSample);
    ASSERT_EQ(convert({"--in", "45:" + adif, "--out", "42:MyLog", "--call", "DL0XYZ"}).code, 0);
    ASSERT_NE(fs::current_path(), home / "logs");
    const std::string back = (home / "back.adi").string();
    const CliRun run = convert({"--in", "42:mylog", "--out", "45:" + back});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out[0], "Reading: " + logFile(".qx7"));
    EXPECT_EQ(run.out[1], "4 QSOs read OK of 4");
}

TEST_F(Qx7LogTest, NewLogFromAdif)
{
    const std::string adif = writeFile("sample.adi", kSample);
    std::ostringstream out, err;
    ScriptedPrompter ask;
    EXPECT_EQ(runNewLogArgs(*engine, settings, ask, {adif, "MyLog", "--call", "qa1"}, out, err), 0)
        << err.str();
    EXPECT_NE(out.str().find("New log: " + (home / "logs" / "mylog").string()), std::string::npos);
    EXPECT_EQ(readLogDescriptor(logFile(".qx7")).stationCall, "QA1");

    ask.expect("Log exists! Overwrite?", PromptButton::Cancel);
    EXPECT_EQ(runNewLogArgs(*engine, settings, ask, {adif, "mylog", "--call", "QA1"}, out, err), 1);
    EXPECT_TRUE(ask.allAnswered());
    EXPECT_TRUE(ask.failures.empty());

    struct UsageRow
    {
        std::vector<std::string> args;
        int code;
    };
    const UsageRow rows[] = {
        {{adif, "other", "--call", "QA"}, 2},
        {{adif, "other", "--call", "Q-1X"}, 2},
        {{adif, "other"}, 2},
        {{(home / "missing.adi").string(), "other", "--call", "QA1"}, 1},
    };
    for (const UsageRow& row : rows)
        EXPECT_EQ(runNewLogArgs(*engine, settings, ask, row.args, out, err), row.code)
            << row.args[0] << " " << row.args.size();
    EXPECT_FALSE(fs::exists(home / "logs" / "other.qx7"));
}

TEST_F(Qx7LogTest, ReplacingALogThatIsOpenFailsAndKeepsIt)
{
    const std::string adif = writeFile("sample.adi", kSample);
    ASSERT_EQ(convert({"--in", "45:" + adif, "--out", "42:mylog", "--call", "DL0XYZ"}).code, 0);
    const std::string before = readFile(logFile(".dbf"));
    dbase::Table open;
    open.open(logFile(".dbf"), {dbase::OpenMode::Shared, {}});
    const CliRun run = convert({"--in", "45:" + adif, "--out", "42:mylog", "--call", "DL0XYZ"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out[run.out.size() - 4], "Error writing: mylog");
    open.close();
    EXPECT_EQ(readFile(logFile(".dbf")), before);
    for (const auto& entry : fs::directory_iterator(home / "logs"))
        EXPECT_EQ(entry.path().stem(), "mylog") << entry.path();
}

struct ArgsRow
{
    std::vector<std::string> args;
    int code;
    const char* err;
};

TEST_F(Qx7LogTest, ConvertArgumentErrors)
{
    const std::string adif = writeFile("sample.adi", kSample);
    const ArgsRow rows[] = {
        {{"--in", "45:" + adif}, 2, "usage"},
        {{"--in", adif, "--out", "45:x.adi"}, 2, "TYPE:FILE"},
        {{"--in", "45:" + adif, "--out", "42:x"}, 2, "call sign"},
        {{"--in", "45:" + adif, "--out", "41:x.all", "--call", "QA1"}, 2, "cannot be written"},
        {{"--in", "45:" + adif, "--out", "45:x.adi", "--write-mode", "3"}, 2, "write-mode"},
        {{"--in", "45:" + adif, "--out", "45:x.adi", "--from", "2024-01"}, 2, "yyyymmdd"},
        {{"--in", "45:" + adif, "--out", "45:x.adi", "--bogus"}, 2, "unknown option"},
        {{"--in", "45:/nonexistent.adi", "--out", "45:x.adi"}, 1, "no input log"},
        {{"--in", "45:" + adif, "--out", "45:x.adi", "--call"}, 2, "missing value"},
    };
    for (const ArgsRow& row : rows) {
        const CliRun run = convert(row.args);
        EXPECT_EQ(run.code, row.code) << row.args.back();
        EXPECT_NE(run.err.find(row.err), std::string::npos) << row.args.back() << ": " << run.err;
    }
}

// A log whose read stopped early (a tag length that is no number) still gives its
// earlier QSOs, but the run is no success: a script must learn that QSOs were left out.
TEST_F(Qx7LogTest, ALogReadOnlyInPartFailsTheRun)
{
    const std::string adif =
        writeFile("cut.adi", "<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>1200<BAND:3>20M"
                             "<MODE:2>CW<EOR>\n<CALL:X>K1AA<EOR>\n<CALL:4>K1AB<EOR>\n");
    const std::string out = (home / "out.adi").string();
    const CliRun run = convert({"--in", "45:" + adif, "--out", "45:" + out});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("could not read " + adif), std::string::npos) << run.err;
    const auto lines = readLines(out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(adifValue(lines[3], "call"), "W1AW");
}

// As the wizard's box, which is ticked at first: exchanges are cut unless kept.
TEST_F(Qx7LogTest, ContestExchangesAreCutUnlessKept)
{
    const std::string adif =
        writeFile("contest.adi", "<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>1200<BAND:3>20M"
                                 "<MODE:2>CW<RST_SENT:6>599001<EOR>\n");
    const std::string out = (home / "out.adi").string();
    for (const bool keep : {false, true}) {
        std::vector<std::string> args = {"--in", "45:" + adif, "--out", "45:" + out};
        if (keep)
            args.push_back("--keep-exchange");
        ASSERT_EQ(convert(args).code, 0);
        const auto lines = readLines(out);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(adifValue(lines[3], "rst_sent"), keep ? "599001" : "599");
    }
}

TEST_F(Qx7LogTest, OptionsReachTheChecks)
{
    const std::string adif = writeFile("sample.adi", kSample);
    const std::string out = (home / "out.adi").string();
    const CliRun run = convert({"--in", "45:" + adif, "--out", "45:" + out, "--from", "20240102",
                                "--to", "20240103", "--not-sent-only", "--replace-reports"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out[1], "2 QSOs read OK of 5");
    const auto lines = readLines(out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(adifValue(lines[3], "call"), "W1AW");
    EXPECT_EQ(adifValue(lines[3], "rst_sent"), "599");
}

} // namespace
} // namespace qx7::test

namespace qx7::test {
namespace {

TEST_F(Qx7LogTest, ShippedSampleBecomesALogWithoutErrors)
{
    const std::string sample = std::string(QX7_TEST_DATA) + "/../../resources/sample.adi";
    const CliRun run = convert({"--in", "45:" + sample, "--out", "42:sample", "--call", "DL0QX"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out[1], "320 QSOs read OK of 320");
    EXPECT_EQ(run.out.back(), "320 QSOs written");
    dbase::Table table;
    table.open((home / "logs" / "sample.dbf").string(), {dbase::OpenMode::ReadOnly, {}});
    table.setIndex("QMGR");
    table.last();
    EXPECT_FALSE(table.text("QMGR").empty());
}

} // namespace
} // namespace qx7::test
