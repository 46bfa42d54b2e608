#include "store/ManagerDatabase.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using testing::TempFolder;

class ManagerDb : public ::testing::Test
{
protected:
    ManagerDatabase& db()
    {
        if (!m_db)
            m_db = std::make_unique<ManagerDatabase>(dir.path(), 4, prompter, use);
        return *m_db;
    }
    void add(const char* call, const char* mgr, const char* date)
    {
        db().AddWorkRecord(call, mgr, date, "");
    }
    void writeText(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }
    // Every record in CALL order as "CALL MGR DATEFROM ADDRESS".
    Strings contents()
    {
        Strings rows;
        auto& t = db().MgrTable();
        db().ResetManagerView();
        for (t.first(); !t.eof(); t.next())
            rows.push_back(t.text("CALL") + " " + t.text("MGR") + " " + t.text("DATEFROM") + " " +
                           t.text("ADDRESS"));
        return rows;
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    NullProgress progress;
    bool use = true;
    std::unique_ptr<ManagerDatabase> m_db;
};

TEST_F(ManagerDb, LookUpThroughTheTable)
{
    ASSERT_TRUE(db().OpenManagerDB());
    EXPECT_TRUE(fs::exists(dir.file("qxmgr.dbf")));
    EXPECT_TRUE(fs::exists(dir.file("qxmgr.mdx")));
    db().LearnManager("W1AW", "K1AAA", "");
    writeText("m.txt", "W1AW;K3CCC;20100101;;\nW1AW;K2BBB;20000101;;\nW1AWX;K9XX;;;\n");
    ASSERT_EQ(db().importTextFile(dir.file("m.txt"), progress), ManagerDatabase::ImportResult::Ok);

    const auto r = db().LookUpManager("W1AW", "", "20050615");
    EXPECT_EQ(r.manager, "K2BBB");
    EXPECT_EQ(r.count, 3); // W1AWX is another call
    EXPECT_EQ(db().ManagerCandidates,
              (Strings{"K2BBB   (20000101)", "K1AAA", "-", "K3CCC   (20100101)"}));
    const auto own = db().LookUpManager("W1AW", "K9ZZZ", "19990101");
    EXPECT_EQ(own.manager, "K9ZZZ");
    EXPECT_EQ(db().LookUpManager("", "K9ZZZ", "19990101").manager, "K9ZZZ");
    EXPECT_EQ(db().LookUpManager("NOBODY", "", "19990101").count, 0);
    EXPECT_EQ(db().ManagerCount(), 4);
}

TEST_F(ManagerDb, LearnManagerUpdatesDeletesAndAppends)
{
    ASSERT_TRUE(db().OpenManagerDB());
    db().LearnManager("VP8XY", "G4ABC", "");
    EXPECT_EQ(contents(), Strings{"VP8XY G4ABC  "});
    db().LearnManager("VP8XY", "G4XYZ", "G4ABC"); // changed: the entry follows
    EXPECT_EQ(contents(), Strings{"VP8XY G4XYZ  "});
    db().LearnManager("VP8XY", "G4XYZ", "G4XYZ");  // unchanged: nothing happens
    db().LearnManager("VP8XY", "M0AAA", "K1NOPE"); // old one unknown: appended
    EXPECT_EQ(contents(), (Strings{"VP8XY G4XYZ  ", "VP8XY M0AAA  "}));
    db().LearnManager("VP8XY", "", "G4XYZ"); // emptied: deleted
    EXPECT_EQ(contents(), Strings{"VP8XY M0AAA  "});
    EXPECT_EQ(db().ManagerCount(), 1); // the deleted entry waits for a pack but counts no more
    db().LearnManager("VP8XY", "", "NOT THERE");
    EXPECT_EQ(contents(), Strings{"VP8XY M0AAA  "});
}

TEST_F(ManagerDb, TextImportsInEachFormatSkipTheRightLines)
{
    ASSERT_TRUE(db().OpenManagerDB());
    writeText("sep.txt", "W1AW;K1AAA;20000101;X\r\nW1AW;K1AAA;20000101;X;\r\n;NOCALL;;;\r\n"
                         "a61aj;w1xx;;;\r\n");
    long lines = 0;
    ASSERT_EQ(db().importTextFile(dir.file("sep.txt"), progress, &lines),
              ManagerDatabase::ImportResult::Ok);
    EXPECT_EQ(lines, 4);
    // The same call, date and manager twice: the later line replaces the earlier one.
    EXPECT_EQ(contents(), (Strings{"A61AJ W1XX  ", "W1AW K1AAA 20000101 X"}));

    writeText("dx.txt", "VP8XY,15/03/2001,G4ABC\nVP8XY,,G4ABC\nBROKEN,20010101\n");
    ASSERT_EQ(db().importTextFile(dir.file("dx.txt"), progress), ManagerDatabase::ImportResult::Ok);
    writeText("qsl.txt", "ZD8Z     QSL VIA HOME CALL\nZD8Z     QSL VIA VE3HO 1999 \n"
                         "header line without the words\n");
    ASSERT_EQ(db().importTextFile(dir.file("qsl.txt"), progress),
              ManagerDatabase::ImportResult::Ok);
    EXPECT_EQ(contents(), (Strings{"A61AJ W1XX  ", "VP8XY G4ABC  ", "VP8XY G4ABC 20010315 ",
                                   "W1AW K1AAA 20000101 X", "ZD8Z VE3HO 1999 "}));
    EXPECT_FALSE(fs::exists(dir.file("tmpmgr.dbf"))); // the work table is dropped
}

TEST_F(ManagerDb, UnsupportedListsSayWhyAndReadNothing)
{
    ASSERT_TRUE(db().OpenManagerDB());
    writeText("bad.txt", "just words\nW1AW;K1AAA;;;\n");
    prompter.expect("Unsupported file format!", PromptButton::Ok);
    EXPECT_EQ(db().importTextFile(dir.file("bad.txt"), progress),
              ManagerDatabase::ImportResult::Unsupported);
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_EQ(db().ManagerCount(), 0);
}

TEST_F(ManagerDb, DamagedListNamesItsLineAndLeavesTheDatabaseAsItWas)
{
    ASSERT_TRUE(db().OpenManagerDB());
    writeText("old.txt", "W1AW;K1AAA;;;\n");
    ASSERT_EQ(db().importTextFile(dir.file("old.txt"), progress),
              ManagerDatabase::ImportResult::Ok);
    // A list whose third line is binary garbage: the first two lines are good.
    writeText("cut.txt",
              std::string("VP8XY;G4ABC;;;\nZD8Z;VE3HO;;;\nJA1\0\x01\x02;xx\nK1;K2;;;\n", 48));
    prompter.expect("The manager list is damaged at line 3.\r\nNothing was imported.",
                    PromptButton::Ok);
    long line = 0;
    EXPECT_EQ(db().importTextFile(dir.file("cut.txt"), progress, &line),
              ManagerDatabase::ImportResult::Damaged);
    EXPECT_EQ(line, 3);
    // The message names the line also when the caller does not ask for it.
    prompter.expect("The manager list is damaged at line 3.\r\nNothing was imported.",
                    PromptButton::Ok);
    EXPECT_EQ(db().importTextFile(dir.file("cut.txt"), progress),
              ManagerDatabase::ImportResult::Damaged);
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_EQ(contents(), (Strings{"W1AW K1AAA  "}));
    EXPECT_FALSE(fs::exists(dir.file("tmpmgr.dbf")));
    // An old DOS list ending in ^Z is not damaged.
    writeText("dos.txt", "VP8XY;G4ABC;;;\r\n\x1a");
    EXPECT_EQ(db().importTextFile(dir.file("dos.txt"), progress),
              ManagerDatabase::ImportResult::Ok);
    EXPECT_EQ(db().ManagerCount(), 2);
}

TEST_F(ManagerDb, ExportAndImportAgainKeepsAllButTheAddress)
{
    ASSERT_TRUE(db().OpenManagerDB());
    writeText("in.txt", "W1AW;K1AAA;20000101;X;\nVP8XY;G4ABC;2001;;\n");
    ASSERT_EQ(db().importTextFile(dir.file("in.txt"), progress), ManagerDatabase::ImportResult::Ok);
    ASSERT_TRUE(db().exportTextFile(dir.file("out.txt"), false, progress));
    ASSERT_TRUE(db().exportTextFile(dir.file("out4win.txt"), true, progress));
    std::ifstream sep(dir.file("out.txt"), std::ios::binary), dx(dir.file("out4win.txt"));
    const std::string sepText((std::istreambuf_iterator<char>(sep)), {});
    EXPECT_EQ(sepText, "VP8XY;G4ABC;2001;\r\nW1AW;K1AAA;20000101;X\r\n");
    const std::string dxText((std::istreambuf_iterator<char>(dx)), {});
    EXPECT_EQ(dxText, "VP8XY,01/01/2001,G4ABC\r\nW1AW,01/01/2000,K1AAA\r\n");

    ASSERT_TRUE(db().EmptyManagerDB());
    EXPECT_EQ(db().ManagerCount(), 0);
    ASSERT_EQ(db().importTextFile(dir.file("out.txt"), progress),
              ManagerDatabase::ImportResult::Ok);
    EXPECT_EQ(contents(), (Strings{"VP8XY G4ABC 2001 ", "W1AW K1AAA 20000101 "}));
    ASSERT_TRUE(db().EmptyManagerDB());
    ASSERT_EQ(db().importTextFile(dir.file("out4win.txt"), progress),
              ManagerDatabase::ImportResult::Ok);
    EXPECT_EQ(contents(), (Strings{"VP8XY G4ABC 20010101 ", "W1AW K1AAA 20000101 "}));
}

TEST_F(ManagerDb, ManagerTablesAreMappedAndMergedByCallDateAndManager)
{
    ASSERT_TRUE(db().OpenManagerDB());
    db().LearnManager("W1AW", "K1AAA", "");
    const std::string qmgr = dir.file("qmgr.dbf");
    dbase::Table::create(qmgr, {{"CALL", 'C', 12, 0, false},
                                {"MGR", 'C', 12, 0, false},
                                {"ACTIVE", 'C', 8, 0, false},
                                {"ADDRESS", 'C', 1, 0, false}});
    {
        dbase::Table t;
        t.open(qmgr);
        const char* rows[][4] = {{"w1aw", "k1aaa", "", "Y"},    // replaces the learnt entry
                                 {"W1AW", "K2BBB", "2004", ""}, // a new one
                                 {"", "K3CCC", "", ""}};        // no call: skipped
        for (const auto& r : rows) {
            t.append();
            t.setText("CALL", r[0]);
            t.setText("MGR", r[1]);
            t.setText("ACTIVE", r[2]);
            t.setText("ADDRESS", r[3]);
            t.post();
        }
    }
    ASSERT_TRUE(db().importManagerTable(qmgr, progress));
    EXPECT_EQ(contents(), (Strings{"W1AW K1AAA  Y", "W1AW K2BBB 2004 "}));
    EXPECT_FALSE(db().importManagerTable(dir.file("missing.dbf"), progress));
}

TEST_F(ManagerDb, PackKeepsLiveRecords)
{
    ASSERT_TRUE(db().OpenManagerDB());
    db().LearnManager("A", "B1B", "");
    db().LearnManager("C", "D1D", "");
    db().LearnManager("A", "", "B1B");
    EXPECT_EQ(db().ManagerCount(), 1);
    ASSERT_TRUE(db().PackManagerDB());
    EXPECT_EQ(db().ManagerCount(), 1);
    EXPECT_EQ(contents(), Strings{"C D1D  "});
}

TEST_F(ManagerDb, SwitchedOffDoesNothing)
{
    use = false;
    EXPECT_FALSE(db().OpenManagerDB());
    EXPECT_FALSE(fs::exists(dir.file("qxmgr.dbf")));
    EXPECT_EQ(db().LookUpManager("W1AW", "K9ZZZ", "20050615").manager, "");
    EXPECT_FALSE(db().OpenWorkTable());
    EXPECT_EQ(db().ManagerCount(), 0);
}

TEST_F(ManagerDb, ADatabaseThatCannotBeCreatedSwitchesLookUpOff)
{
    std::ofstream(dir.file("qxmgr.dbf")) << "this is no table";
    prompter.expect("Error: Manager database could not be created!", PromptButton::Ok);
    EXPECT_FALSE(db().OpenManagerDB());
    EXPECT_FALSE(use);
    EXPECT_TRUE(prompter.failures.empty());
}

// The import counts in percent from reading to merging; the merge must not report
// its record count as a percentage ("Import: 172000%").
TEST_F(ManagerDb, ImportProgressStaysWithinAHundredPercent)
{
    struct Recording : Progress
    {
        long long total = 0;
        std::vector<long long> steps;
        void start(const std::string&, long long t) override { total = t; }
        bool step(long long done) override
        {
            steps.push_back(done);
            return true;
        }
    } recording;
    ASSERT_TRUE(db().OpenManagerDB());
    std::string text;
    for (int i = 0; i < 1720; ++i)
        text += "DX" + std::to_string(1000 + i) + ";MG1;2020;;\r\n";
    writeText("many.txt", text);
    ASSERT_EQ(db().importTextFile(dir.file("many.txt"), recording),
              ManagerDatabase::ImportResult::Ok);
    ASSERT_FALSE(recording.steps.empty());
    for (long long done : recording.steps)
        EXPECT_LE(done, recording.total);
    EXPECT_EQ(db().ManagerCount(), 1720);
}

} // namespace
} // namespace qx7
