// The answers a script gives on the command line: where --yes, --no and --verbose may
// stand, what a refusal means when the question does not offer "No", how many lines a
// long run prints, and that no answer but a typed --yes replaces a log.

#include "cli/Cli.h"
#include "cli/TerminalPrompter.h"
#include "dbase/Table.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun
{
    int code;
    std::string out;
    std::string err;
};

CliRun run(const fs::path& home, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--home", home.string()});
    std::ostringstream out, err;
    const int code = runCli(args, out, err, "/nonexistent");
    return {code, out.str(), err.str()};
}

size_t countLines(const std::string& text, const std::string& prefix)
{
    size_t n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

fs::path freshHome(const std::string& name)
{
    const fs::path home = fs::temp_directory_path() / name;
    fs::remove_all(home);
    return home;
}

// A log of `stations` stations, one unconfirmed QSO each.
void makeLog(const fs::path& home, const std::string& name, int stations)
{
    ASSERT_EQ(run(home, {"log", "create", name, "--call", "OE1XYZ"}).code, 0);
    dbase::Table log;
    openLog(log, (home / "logs" / (name + ".dbf")).string(), 0);
    for (int i = 0; i < stations; ++i) {
        log.append();
        log.setText("CALL", "DL" + std::to_string(1000 + i));
        log.setText("DATE", "20240101");
        log.setText("TIME", "1200");
        log.setText("BAND", "20m");
        log.setText("MODE", "CW");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
        log.post();
    }
}

long recordCount(const fs::path& table)
{
    dbase::Table t;
    t.open(table.string(), {dbase::OpenMode::ReadOnly, {}});
    return static_cast<long>(t.recordCount());
}

TEST(Answers, ARefusalNeverBecomesYes)
{
    std::ostringstream err;
    TerminalPrompter p(err, false);
    p.setDefaultAnswer(PromptButton::No);
    const auto ask = [&](PromptButton buttons) {
        return p.ask(PromptIcon::Warning, "Log exists! Overwrite?", buttons);
    };
    EXPECT_EQ(ask(PromptButton::Yes | PromptButton::Cancel), PromptButton::Cancel);
    EXPECT_EQ(ask(PromptButton::Yes | PromptButton::No), PromptButton::No);
    EXPECT_EQ(ask(PromptButton::Yes | PromptButton::No | PromptButton::Cancel), PromptButton::No);
    EXPECT_EQ(ask(PromptButton::Ok), PromptButton::Ok); // a message, nothing to refuse
    p.setDefaultAnswer(PromptButton::Yes);
    EXPECT_EQ(ask(PromptButton::Ok | PromptButton::Cancel), PromptButton::Ok);
    EXPECT_EQ(ask(PromptButton::Yes | PromptButton::Cancel), PromptButton::Yes);
}

TEST(Answers, GlobalOptionsStandAnywhere)
{
    const fs::path home = freshHome("qx7-cli-options-anywhere");
    makeLog(home, "oe1xyz", 3);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"queue", "fill", "oe1xyz", "--yes"},
          {"queue", "list", "--no"},
          {"settings", "--verbose"},
          {"queue", "--yes", "list"}}) {
        const CliRun r = run(home, args);
        EXPECT_EQ(r.code, 0) << args[0] << ' ' << args[1] << '\n' << r.err;
    }
    // --home after the command, and the answer at the end.
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"queue", "list", "--home", home.string(), "--yes"}, out, err, "/nonexistent"),
              0)
        << err.str();
    EXPECT_NE(out.str().find("3 label(s)"), std::string::npos) << out.str();
    EXPECT_EQ(run(home, {"settings", "--yes", "--no"}).code, 2); // they contradict
    fs::remove_all(home);
}

TEST(Answers, AnsweredQuestionsGiveOneSummaryLine)
{
    const fs::path home = freshHome("qx7-cli-quiet-answers");
    makeLog(home, "oe1xyz", 400);
    makeLog(home, "second", 400); // the first fill marks its log sent
    const CliRun quiet = run(home, {"queue", "fill", "oe1xyz", "--yes"});
    ASSERT_EQ(quiet.code, 0) << quiet.err;
    EXPECT_NE(quiet.out.find("Labels in print queue: 400 (400 new)"), std::string::npos);
    EXPECT_EQ(countLines(quiet.err, "Confirm:"), 0u) << quiet.err;
    EXPECT_EQ(countLines(quiet.err, "Questions answered from the command line: "), 1u) << quiet.err;
    EXPECT_LE(countLines(quiet.err, ""), 3u) << quiet.err;

    ASSERT_EQ(run(home, {"queue", "empty", "--yes"}).code, 0);
    const CliRun verbose = run(home, {"--verbose", "--yes", "queue", "fill", "second"});
    ASSERT_EQ(verbose.code, 0) << verbose.err;
    EXPECT_GT(countLines(verbose.err, "Confirm:"), 1u) << verbose.err;
    fs::remove_all(home);
}

TEST(Answers, OnlyATypedYesReplacesALog)
{
    const fs::path home = freshHome("qx7-cli-keep-log");
    ASSERT_EQ(run(home, {"settings"}).code, 0);
    const fs::path big = home / "big.adi";
    {
        std::ofstream adi(big);
        adi << "<ADIF_VER:5>3.1.0 <EOH>\n";
        for (int i = 0; i < 50; ++i)
            adi << "<CALL:6>DL" << 1000 + i
                << " <QSO_DATE:8>20240101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>\n";
    }
    const fs::path small = home / "small.adi";
    std::ofstream(small) << "<ADIF_VER:5>3.1.0 <EOH>\n<CALL:4>K1AA <QSO_DATE:8>20240101 "
                            "<TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>\n";
    const fs::path noQsos = home / "none.adi";
    std::ofstream(noQsos) << "no ADIF here\n";
    const fs::path table = home / "logs" / "big.dbf";

    ASSERT_EQ(run(home, {"newlog", big.string(), "big", "--call", "OE1XYZ"}).code, 0);
    ASSERT_EQ(recordCount(table), 50);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--no", "newlog", small.string(), "big", "--call", "OE1XYZ"},
          {"newlog", small.string(), "big", "--call", "OE1XYZ"},
          {"--yes", "newlog", noQsos.string(), "big", "--call", "OE1XYZ"}}) {
        const CliRun r = run(home, args);
        EXPECT_EQ(r.code, 1) << r.out << r.err;
        EXPECT_EQ(recordCount(table), 50) << r.out << r.err;
    }
    const CliRun replaced =
        run(home, {"newlog", small.string(), "big", "--call", "OE1XYZ", "--yes"});
    EXPECT_EQ(replaced.code, 0) << replaced.err;
    EXPECT_EQ(recordCount(table), 1);
    fs::remove_all(home);
}

TEST(Answers, ANewLogThatCannotBeMadeSaysWhy)
{
    const fs::path home = freshHome("qx7-cli-newlog-why");
    ASSERT_EQ(run(home, {"settings"}).code, 0);
    const std::string sample = (home / "tmp" / "sample.adi").string();
    const CliRun noFile =
        run(home, {"newlog", (home / "missing.adi").string(), "x", "--call", "OE1XYZ"});
    EXPECT_EQ(noFile.code, 1);
    EXPECT_NE(noFile.err.find("does not exist"), std::string::npos) << noFile.err;

    const CliRun longName =
        run(home, {"newlog", sample, std::string(300, 'x'), "--call", "OE1XYZ"});
    EXPECT_EQ(longName.code, 1);
    EXPECT_NE(longName.err.find("too long"), std::string::npos) << longName.err;

    fs::remove_all(home / "logs");
    std::ofstream(home / "logs") << "a file where the log folder belongs\n";
    const CliRun notAFolder = run(home, {"newlog", sample, "x", "--call", "OE1XYZ"});
    EXPECT_EQ(notAFolder.code, 1);
    EXPECT_NE(notAFolder.err.find("is a file, not a folder"), std::string::npos) << notAFolder.err;
    fs::remove_all(home);
}

} // namespace
} // namespace qx7::cli
