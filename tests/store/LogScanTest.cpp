#include "ScanFixture.h"

#include "core/BandModeTables.h"

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

using testing::Qso;
using testing::ScanFixture;
using Strings = std::vector<std::string>;

const char* const kBands[] = {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m"};

class Scan : public ScanFixture
{};

TEST_F(Scan, EightQsosMakeTwoLabelsAndALaterScanFillsTheSecond)
{
    for (int i = 0; i < 8; ++i)
        add({"W1AW", "2024010" + std::to_string(i + 1), "1200", kBands[i], "CW"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), (Strings{"W1AW||DL1ABC|6", "W1AW||DL1ABC|2"}));
    EXPECT_EQ(labelField(0, "A_DATE"), "2024-01-01");
    EXPECT_EQ(labelField(0, "A_TIME"), "12:00");
    EXPECT_EQ(labelField(0, "E_BAND"), "20m");
    EXPECT_EQ(labelField(1, "B_BAND"), "12m");
    EXPECT_EQ(labelField(0, "INDEXD"), "     1");
    EXPECT_EQ(labelField(1, "INDEXD"), "     2");
    EXPECT_EQ(labelField(0, "INDEXB"), "KA1W1AW");
    EXPECT_EQ(labelField(0, "A_PSEQ"), "PSE");
    EXPECT_EQ(queue->LabelsInQueue, 2);

    // New QSOs of the same station, same route and own call, join the second label.
    for (int i = 0; i < 5; ++i)
        add({"W1AW", "2024020" + std::to_string(i + 1), "1200", kBands[i], "SSB", "N", "Y"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), (Strings{"W1AW||DL1ABC|6", "W1AW||DL1ABC|6", "W1AW||DL1ABC|1"}));
    EXPECT_EQ(labelField(1, "C_MODE"), "SSB");
    EXPECT_EQ(labelField(1, "C_PSEQ"), "TNX"); // QSL received: thanks
}

TEST_F(Scan, WithoutMergingEveryQsoGetsItsOwnLabel)
{
    settings.MergeLabels = false;
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    add({"W1AW", "20240101", "1300", "40m", "CW"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), (Strings{"W1AW||DL1ABC|1", "W1AW||DL1ABC|1"}));
}

TEST_F(Scan, ManagerRoutesMakeSeparateLabelsNoManagerFirst)
{
    add({"A61AJ", "20240101", "1200", "20m", "CW", "N", "N", "W1XX"});
    add({"A61AJ", "20240102", "1200", "40m", "CW", "N", "N", ""});
    add({"A61AJ", "20240103", "1200", "80m", "CW", "N", "N", "-DIRECT"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), (Strings{"A61AJ||DL1ABC|2", "A61AJ|W1XX|DL1ABC|1"}));
    EXPECT_EQ(labelField(1, "INDEXB"), "KA1W1XX"); // bureau order follows the manager
    EXPECT_EQ(labelField(0, "INDEXB"), "A61AJ");
}

TEST_F(Scan, WriteBackFollowsTheFlagsAndDates)
{
    struct Case
    {
        const char* sentFlag;
        const char* rcvdFlag;
        bool sentDateOn;
        const char* qsls;
        const char* dats;
        const char* qslr;
        const char* datr;
    };
    const Case cases[] = {
        {"Y", "N", true, "Y", "20261208", "N", ""},
        {"-", "N", true, "N", "20261208", "N", ""}, // unchanged status, date still written
        {"N", "N", true, "N", "", "N", ""},
        {"B", "Y", true, "B", "20261208", "Y", "20261209"},
        {"D", "-", false, "D", "", "N", "20261209"},
        {"", "", true, "N", "", "N", ""}, // empty flags leave status and date alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("QSLsFlag ") + c.sentFlag + " QSLrFlag " + c.rcvdFlag);
        queue->EmptyPrintQueue();
        log.close();
        ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
        openLog(log, dir.file("log.dbf"), 0);
        settings.QSLsFlag = c.sentFlag;
        settings.QSLrFlag = c.rcvdFlag;
        sentDate = c.sentDateOn ? std::optional<Date>(Date{2026, 12, 8}) : std::nullopt;
        add({"W1AW", "20240101", "1200", "20m", "CW", "N", "N", "", true});
        add({"W1AW", "20240102", "1200", "20m", "CW", "N", "N", "", true}); // left out
        ASSERT_EQ(scan(), 0);
        EXPECT_EQ(logField(2, "QSLS"), c.qsls);
        EXPECT_EQ(logField(2, "DATS"), c.dats);
        EXPECT_EQ(logField(2, "QSLR"), c.qslr);
        EXPECT_EQ(logField(2, "DATR"), c.datr);
        log.gotoBookmark({2});
        EXPECT_FALSE(log.boolean("MARK"));
        // The QSO left out keeps its status but loses its mark.
        EXPECT_EQ(logField(1, "QSLS"), "N");
        EXPECT_EQ(logField(1, "DATS"), "");
        log.gotoBookmark({1});
        EXPECT_FALSE(log.boolean("MARK"));
    }
}

TEST_F(Scan, SlashedZerosOnTheLabelButNotInTheKeyOrJournal)
{
    ownCall = "DL0XX";
    add({"W0ABC", "20240101", "1200", "20m", "CW"});
    ASSERT_EQ(scan(), 0);
    // A later QSO finds that label although the call and own call hold a slashed zero.
    add({"W0ABC", "20240102", "1200", "40m", "CW"});
    log.gotoBookmark({2});
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels(), Strings{"W\xC3\x98"
                                "ABC||DL\xC3\x98XX|2"});
    EXPECT_EQ(labelField(0, "HISCALL"), "W\xC3\x98"
                                        "ABC");
    EXPECT_EQ(labelField(0, "MYCALL"), "DL\xC3\x98XX");
    EXPECT_EQ(labelField(0, "INDEXB"), "KA0W0ABC");
    std::ifstream in(journal->path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "ADIF Export for QX Version 7 - QSL Administration and Label Printing by "
                    "QZ3QZ\r\n\r\n<eoh>\r\n"
                    "<call:5>W0ABC <qso_date:8>20240101 <time_on:4>1200 <band:3>20M <mode:2>CW "
                    "<rst_sent:2>59 <rst_rcvd:2>57 <qsl_sent:1>N <qsl_rcvd:1>N <eor>\r\n"
                    "<call:5>W0ABC <qso_date:8>20240102 <time_on:4>1200 <band:3>40M <mode:2>CW "
                    "<rst_sent:2>59 <rst_rcvd:2>57 <qsl_sent:1>N <qsl_rcvd:1>N <eor>\r\n");
}

TEST_F(Scan, FooterLinesUpToTheSettingAndDashes)
{
    footers = {"Tnx QSO", "73", "third line"};
    settings.PriBoLN = 2;
    settings.FillDashes = true;
    settings.PriRows = 3;
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labelField(0, "FOOTER1"), "Tnx QSO");
    EXPECT_EQ(labelField(0, "FOOTER2"), "73");
    EXPECT_EQ(labelField(0, "FOOTER3"), "");
    EXPECT_EQ(labelField(0, "B_BAND"), "--------");
    EXPECT_EQ(labelField(0, "C_COMM"), std::string(60, '-'));
    EXPECT_EQ(labelField(0, "D_BAND"), ""); // beyond the QSO lines
    EXPECT_EQ(labelField(0, "A_BAND"), "20m");
    // A dashed slot is free: the next QSO goes there.
    add({"W1AW", "20240102", "1200", "40m", "CW"});
    log.last();
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels(), Strings{"W1AW||DL1ABC|2"});
    EXPECT_EQ(labelField(0, "B_BAND"), "40m");
}

TEST_F(Scan, NeverAndEmptyCallsAreSkipped)
{
    add({"W1AW", "20240101", "1200", "20m", "CW", "!"});
    add({"K1ABC", "20240101", "1200", "20m", "CW", ""}); // empty status counts as sent
    ASSERT_EQ(scan(), 0);
    EXPECT_TRUE(labels().empty());
    EXPECT_EQ(stats.LogSize, 1);
    EXPECT_EQ(stats.QSOsPrinted, 1);
}

TEST_F(Scan, ADateThatIsNoCalendarDateIsQueuedAsStored)
{
    add({"W1AW", "20230229", "1200", "20m", "CW"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), Strings{"W1AW||DL1ABC|1"});
    EXPECT_EQ(labelField(0, "A_DATE"), "20230229");
}

TEST_F(Scan, CountRunCountsLabelsAndStatistics)
{
    settings.PriRows = 2;
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    add({"W1AW", "20240102", "1200", "40m", "CW"});
    add({"W1AW", "20240103", "1200", "80m", "CW"});
    add({"K1ABC", "20240101", "1200", "20m", "SSB", "Y"});
    ASSERT_EQ(scan(false), 0);
    EXPECT_EQ(stats.LabelsNeeded, 2); // 3 QSOs on 2-line labels; the confirmed one needs none
    EXPECT_EQ(stats.LogSize, 4);
    EXPECT_EQ(stats.QSOsPrinted, 1);
    EXPECT_EQ(stats.BandTotals[7], 2);                // 20m
    EXPECT_EQ(stats.ModeBandCounts[4].total, 3);      // CW
    EXPECT_EQ(stats.ModeBandCounts[1].perBand[7], 1); // SSB on 20m
    EXPECT_EQ(stats.BandsPerStation[3], 1);
    EXPECT_EQ(stats.BandsPerStation[1], 1);
    EXPECT_TRUE(labels().empty());
    EXPECT_EQ(logField(1, "QSLS"), "N"); // counting writes nothing
    EXPECT_FALSE(std::filesystem::exists(journal->path()));
}

TEST_F(Scan, StopsAtTheEndOfTheSearchedCalls)
{
    for (const char* call : {"DJ1AA", "DL1AA", "DL2BB", "DM3CC", "OK1AA"})
        add({call, "20240101", "1200", "20m", "CW"});
    search.BeginKey = "DL";
    run.PrintRun = true;
    log.findNearest("DL");
    run.ScanSelection = 0;
    ScanContext ctx{settings, sentDate, rcvdDate, LabelFormat{}, search,   run, stats,
                    *queue,   *journal, nullptr,  prompter,      progress, {}};
    ASSERT_EQ(ScanLog(ctx, log, ownCall, footers), 0);
    Strings calls;
    for (const auto& l : labels())
        calls.push_back(l.substr(0, l.find('|')));
    EXPECT_EQ(calls, (Strings{"DL1AA", "DL2BB"}));
    EXPECT_EQ(log.text("CALL"), "DL2BB"); // stepped back onto the last call scanned
    EXPECT_EQ(logField(4, "QSLS"), "N");  // DM3CC was not marked
}

TEST_F(Scan, EscapeStopsWithAMessageAndKeepsWhatWasQueued)
{
    for (const char* call : {"A1AA", "B1BB", "C1CC", "D1DD"})
        add({call, "20240101", "1200", "20m", "CW"});
    progress.stopAfter = 2;
    prompter.expect("Print aborted", PromptButton::Ok);
    ASSERT_EQ(scan(), 0);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_EQ(labels().size(), 2u);
    EXPECT_EQ(run.Terminated, -1);
    EXPECT_FALSE(run.Printing);
}

TEST_F(Scan, PagePromptAnswers)
{
    run.ContinueAsk = true;
    settings.PageConf = 2;
    run.LabelsPerPage = 1;
    settings.PriRows = 1;
    for (const char* call : {"A1AA", "B1BB", "C1CC", "D1DD"})
        add({call, "20240101", "1200", "20m", "CW"});
    prompter.expect("2 labels = 2 page(s) in print queue. Continue?", PromptButton::PrintLabels);
    prompter.expect("4 labels = 4 page(s) in print queue. Continue?", PromptButton::No);
    EXPECT_EQ(scan(), -1);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_EQ(printedNow, 1);
    EXPECT_EQ(labels().size(), 4u);
    EXPECT_EQ(logField(3, "QSLS"), "Y");
    EXPECT_EQ(logField(4, "QSLS"), "Y"); // stopped, but its QSO is on a label: marked

    // "Don't show this message" ends the prompts for the rest of the program.
    log.close();
    ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
    openLog(log, dir.file("log.dbf"), 0);
    queue->EmptyPrintQueue();
    for (const char* call : {"E1EE", "F1FF", "G1GG", "H1HH"})
        add({call, "20240101", "1200", "20m", "CW"});
    prompter.expect("2 labels = 2 page(s) in print queue. Continue?", PromptButton::Yes, true);
    EXPECT_EQ(scan(), 0);
    EXPECT_FALSE(run.ContinueAsk);
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_TRUE(prompter.failures.empty());
}

TEST_F(Scan, LabelsPrintedAtThePagePromptLeaveMergingAsItWas)
{
    run.ContinueAsk = true;
    settings.PageConf = 1;
    run.LabelsPerPage = 1;
    settings.PriRows = 2;
    settings.MergeLabels = true;
    // Printing puts the queue back into the order the window shows (and may delete the
    // printed labels); the scan goes on merging by station.
    onPrintNow = [this] { queue->restoreViewOrder(); };
    add({"A1AA", "20240101", "1200", "20m", "CW"});
    add({"B1BB", "20240102", "1200", "20m", "CW"});
    add({"B1BB", "20240103", "1200", "40m", "CW"});
    prompter.expect("1 labels = 1 page(s) in print queue. Continue?", PromptButton::PrintLabels);
    prompter.expect("2 labels = 2 page(s) in print queue. Continue?", PromptButton::Yes);
    EXPECT_EQ(scan(), 0);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_EQ(printedNow, 1);
    EXPECT_EQ(labels(), (std::vector<std::string>{"A1AA||DL1ABC|1", "B1BB||DL1ABC|2"}));
}

TEST_F(Scan, AnErrorStillRunsTheEndStep)
{
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    log.close();
    openLog(log, dir.file("log.dbf"), 0, dbase::OpenMode::ReadOnly); // write-back will fail
    EXPECT_THROW(scan(), dbase::Error);
    EXPECT_FALSE(run.Printing);
    EXPECT_EQ(queue->QXPQTable().state(), dbase::Table::State::Browse);
    EXPECT_EQ(queue->QXPQTable().currentIndex(), "INDEXD");
    EXPECT_FALSE(journal->isOpen());
    EXPECT_EQ(labels(), Strings{"W1AW||DL1ABC|1"}); // what was posted stays
}

TEST_F(Scan, SelectedRowsAndTheCurrentRecord)
{
    for (const char* call : {"A1AA", "B1BB", "C1CC"})
        add({call, "20240101", "1200", "20m", "CW"});
    log.first();
    const dbase::Bookmark a = log.bookmark();
    log.last();
    const dbase::Bookmark c = log.bookmark();
    run.PrintRun = true;
    run.ScanSelection = 1;
    ScanContext ctx{settings, sentDate, rcvdDate, LabelFormat{}, search,   run, stats,
                    *queue,   *journal, nullptr,  prompter,      progress, {}};
    ASSERT_EQ(ScanLog(ctx, log, ownCall, footers, {a, c}), 0);
    EXPECT_EQ(labels(), (Strings{"A1AA||DL1ABC|1", "C1CC||DL1ABC|1"}));
    log.first();
    log.next();
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels().back(), "B1BB||DL1ABC|1");
}

TEST_F(Scan, APrintedLabelTakesNoMoreQsos)
{
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    ASSERT_EQ(scan(), 0);
    dbase::Table& q = queue->QXPQTable();
    q.first();
    q.edit();
    q.setText("XTRA3", kPrintedMark);
    q.post();
    // Printed and kept: the station's next QSO needs a label of its own.
    add({"W1AW", "20240102", "1200", "40m", "CW"});
    log.last();
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels(), (Strings{"W1AW||DL1ABC|1", "W1AW||DL1ABC|1"}));
    queue->DeletePrintedLabels();
    EXPECT_EQ(labels(), Strings{"W1AW||DL1ABC|1"});
    EXPECT_EQ(labelField(0, "A_BAND"), "40m");
}

TEST_F(Scan, AReceivedCardIsNeverTakenBack)
{
    for (const char* rcvdFlag : {"N", "Y", "-"}) {
        SCOPED_TRACE(std::string("QSLrFlag ") + rcvdFlag);
        queue->EmptyPrintQueue();
        log.close();
        ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
        openLog(log, dir.file("log.dbf"), 0);
        settings.QSLrFlag = rcvdFlag;
        const char* const received[] = {"Y", "B", "D", "I"};
        int n = 0;
        for (const char* qslr : received)
            add({"K" + std::to_string(++n) + "AA", "20240101", "1200", "20m", "CW", "N", qslr});
        add({"W1AW", "20240101", "1200", "20m", "CW", "N", "N"});
        log.first();
        log.edit();
        log.setText("DATR", "20230101");
        log.post();
        ASSERT_EQ(scan(), 0);
        for (std::uint32_t rec = 1; rec <= 4; ++rec) {
            EXPECT_EQ(logField(rec, "QSLR"), received[rec - 1]);
            EXPECT_EQ(logField(rec, "QSLS"), "Y"); // the sent side is written as always
        }
        EXPECT_EQ(logField(1, "DATR"), "20230101");
        EXPECT_EQ(logField(2, "DATR"), "");
        const std::string notReceived = rcvdFlag == std::string("-") ? "N" : rcvdFlag;
        EXPECT_EQ(logField(5, "QSLR"), notReceived);
        EXPECT_EQ(logField(5, "DATR"), rcvdFlag == std::string("N") ? "" : "20261209");
    }
}

TEST_F(Scan, AStopAtThePagePromptLeavesNoStationHalfPlaced)
{
    run.ContinueAsk = true;
    settings.PageConf = 1;
    run.LabelsPerPage = 1;
    add({"W1AW", "20240101", "1200", "20m", "CW"});
    add({"W1AW", "20240102", "1200", "40m", "CW"});
    prompter.expect("1 labels = 1 page(s) in print queue. Continue?", PromptButton::No);
    EXPECT_EQ(scan(), -1);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_EQ(logField(1, "QSLS"), "Y"); // on the label, so marked as sent
    EXPECT_EQ(logField(2, "QSLS"), "Y");
    // Filling again finds nothing left to queue for the station.
    run.ContinueAsk = false;
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), Strings{"W1AW||DL1ABC|2"});
    std::ifstream in(journal->path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    size_t lines = 0;
    for (size_t at = text.find("<call:"); at != std::string::npos; at = text.find("<call:", at + 1))
        ++lines;
    EXPECT_EQ(lines, 2u);
}

TEST_F(Scan, AStopWithinAStationMarksWhatWasQueuedAndKeepsTheRestForLater)
{
    run.ContinueAsk = true;
    settings.PageConf = 1;
    settings.PriRows = 1;
    run.LabelsPerPage = 1;
    add({"W1AW", "20240101", "1200", "20m", "CW", "N", "N", "", true});
    add({"W1AW", "20240102", "1200", "40m", "CW", "N", "N", "", true});
    add({"W1AW", "20240103", "1200", "80m", "CW", "N", "N", "", true});
    prompter.expect("1 labels = 1 page(s) in print queue. Continue?", PromptButton::No);
    EXPECT_EQ(scan(), -1);
    EXPECT_EQ(logField(1, "QSLS"), "Y");
    EXPECT_FALSE(log.boolean("MARK"));
    EXPECT_EQ(logField(2, "QSLS"), "N");
    EXPECT_TRUE(log.boolean("MARK")); // not queued yet: still marked for a later run
    run.ContinueAsk = false;
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), (Strings{"W1AW||DL1ABC|1", "W1AW||DL1ABC|1", "W1AW||DL1ABC|1"}));
    EXPECT_EQ(labelField(0, "A_BAND"), "20m");
    EXPECT_EQ(labelField(1, "A_BAND"), "40m");
    EXPECT_EQ(labelField(2, "A_BAND"), "80m");
}

TEST_F(Scan, LabelNumbersGoOnAfterTheHighestInTheQueue)
{
    for (const char* call : {"A1AA", "B1BB", "C1CC"})
        add({call, "20240101", "1200", "20m", "CW"});
    ASSERT_EQ(scan(), 0);
    dbase::Table& q = queue->QXPQTable();
    queue->restoreViewOrder();
    for (q.first(); !q.eof(); q.next())
        if (q.text("HISCALL") != "C1CC") {
            q.edit();
            q.setText("XTRA3", kPrintedMark);
            q.post();
        }
    queue->DeletePrintedLabels();
    queue->ClosePrintQueue();
    ASSERT_TRUE(queue->OpenPrintQueue()); // packs: one record left, numbered 3
    add({"D1DD", "20240101", "1200", "20m", "CW"});
    log.last();
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels(), (Strings{"C1CC||DL1ABC|1", "D1DD||DL1ABC|1"}));
    EXPECT_EQ(labelField(0, "INDEXD"), "     3");
    EXPECT_EQ(labelField(1, "INDEXD"), "     4");
}

TEST_F(Scan, ALongManagerTextNeverCutsTheCall)
{
    settings.ManagerText = "Please QSL via";
    add({"A61AJ", "20240101", "1200", "20m", "CW", "N", "N", "IK2XYZ"});
    add({"A61AJ", "20240102", "1200", "40m", "CW", "N", "N", "IK2XYZ"});
    ASSERT_EQ(scan(), 0);
    add({"A61AJ", "20240103", "1200", "80m", "CW", "N", "N", "IK2XYZ"});
    log.last();
    ASSERT_EQ(scan(true, 2), 0);
    EXPECT_EQ(labels(), Strings{"A61AJ|IK2XYZ|DL1ABC|3"});
    EXPECT_EQ(managerLabelText(labelField(0, "MANAGER"), settings.ManagerText),
              "Please QSL via IK2XYZ");
    EXPECT_EQ(queue->QXPQDataSourceDataChange(1, settings.ManagerText),
              "A61AJ Please QSL via IK2XYZ [my call: DL1ABC]\r- 20m CW");
}

TEST_F(Scan, AStationOnEveryBandValue)
{
    for (int b = 1; b <= MaxBand; ++b)
        add({"W1AW", "20240101", "1200", std::string(bandName(b)), "CW"});
    add({"W1AW", "20240101", "1200", "99m", "CW"}); // unknown: a value of its own
    ASSERT_EQ(scan(false), 0);
    EXPECT_EQ(stats.BandsPerStation.at(MaxBand + 1), 1);
    EXPECT_EQ(stats.LabelsNeeded, 5);
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels().size(), 5u);
}

TEST_F(Scan, TheCountRunCountsTheLabelsTheFillMakes)
{
    for (const bool merge : {true, false}) {
        SCOPED_TRACE(merge ? "merging" : "not merging");
        settings.MergeLabels = merge;
        queue->EmptyPrintQueue();
        log.close();
        ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
        openLog(log, dir.file("log.dbf"), 0);
        add({"A61AJ", "20240101", "1200", "20m", "CW", "N", "N", ""});
        add({"A61AJ", "20240102", "1200", "40m", "CW", "N", "N", "W1XX"});
        add({"A61AJ", "20240103", "1200", "80m", "CW", "N", "N", ""});
        add({"K1ABC", "20240101", "1200", "20m", "CW"});
        add({"K1ABC", "20240102", "1200", "40m", "CW"});
        stats.reset();
        ASSERT_EQ(scan(false), 0);
        ASSERT_EQ(scan(), 0);
        EXPECT_EQ(stats.LabelsNeeded, merge ? 3 : 5);
        EXPECT_EQ(stats.LabelsNeeded, static_cast<long>(labels().size()));
    }
}

TEST_F(Scan, AQsoJoinsALabelQueuedWithTheManagerTextStored)
{
    dbase::Table& q = queue->QXPQTable();
    q.append();
    q.setText("INDEXB", "KA1W1XX");
    q.setText("INDEXD", "     7");
    q.setText("HISCALL", "A61AJ");
    q.setText("MANAGER", "via:  W1XX"); // as earlier versions wrote it
    q.setText("MYCALL", "DL1ABC");
    q.setText("NUMQSOS", "1");
    q.setText("A_BAND", "20m");
    q.post();
    add({"A61AJ", "20240102", "1200", "40m", "CW", "N", "N", "W1XX"});
    ASSERT_EQ(scan(), 0);
    EXPECT_EQ(labels(), Strings{"A61AJ|W1XX|DL1ABC|2"});
    EXPECT_EQ(labelField(0, "B_BAND"), "40m");
}

TEST(ManagerLabelText, TextBeforeTheCallAndOldQueuesAsStored)
{
    EXPECT_EQ(managerLabelText("W1XX", "via: "), "via:  W1XX");
    EXPECT_EQ(managerLabelText("", "via: "), "");
    EXPECT_EQ(managerLabelText("via:  W1XX", "QSL via"), "via:  W1XX"); // written whole before
}

} // namespace
} // namespace qx7
