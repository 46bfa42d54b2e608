// Claimed QSOs of QSL requests against a log: found within half an hour on the same band
// and mode, or the reason they found nothing and the log's nearest QSO of that call.

#include "store/BatchCheck.h"
#include "core/Prompter.h"
#include "store/BatchFile.h"
#include "store/BatchInput.h"
#include "store/LogTable.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace qx7 {
namespace {

using testing::TempFolder;

BatchLogQso logged(std::uint32_t recno, std::string date, std::string time, std::string band,
                   std::string mode)
{
    return {dbase::Bookmark{recno}, std::move(date), std::move(time), std::move(band),
            std::move(mode)};
}

// QA1ABC worked three times on one evening and once a day later.
const std::vector<BatchLogQso> kQsos = {
    logged(1, "20030321", "1322", "20m", "RTTY"),
    logged(2, "20030321", "1400", "40m", "CW"),
    logged(3, "20030321", "2350", "15m", "SSB"),
    logged(4, "20030322", "1322", "20m", "RTTY"),
};

TEST(BatchVerdict, EachReasonNamesTheNearestQsoOfTheCall)
{
    struct Case
    {
        const char *date, *time, *band, *mode;
        BatchMiss miss;
        std::uint32_t nearest;
        long apart;
    };
    const Case cases[] = {
        // Within the window on band and mode: found, also across midnight and in other
        // spellings of date, time, band and mode.
        {"20030321", "1322", "20m", "RTTY", BatchMiss::None, 1, 0},
        {"20030321", "1350", "20M", "rtty", BatchMiss::None, 1, -28},
        {"2003-03-22", "00:15", "15m", "USB", BatchMiss::None, 3, -25},
        {"22.03.2003", "1300", "20m", "RTTY", BatchMiss::None, 4, 22},
        {"20030321", "1253", "20m", "RTTY", BatchMiss::None, 1, 29},
        // Nothing within ±30 min: the nearest QSO on the claimed band and mode is offered
        // even when another band's QSO is closer in time.
        {"20030321", "1431", "20m", "RTTY", BatchMiss::OutsideTime, 1, -69},
        {"20030321", "1251", "20m", "RTTY", BatchMiss::OutsideTime, 1, 31},
        {"20030325", "1322", "20m", "RTTY", BatchMiss::OutsideTime, 4, -3 * 1440},
        {"20030321", "1800", "80m", "FT8", BatchMiss::OutsideTime, 2, -240},
        // Near the time, but band or mode (or both) differ.
        {"20030321", "1410", "20m", "CW", BatchMiss::OtherBand, 2, -10},
        {"20030321", "1330", "20m", "CW", BatchMiss::OtherMode, 1, -8},
        {"20030321", "1405", "80m", "SSB", BatchMiss::OtherBandAndMode, 2, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time + " " + c.band + " " + c.mode);
        const BatchQsoVerdict v = judgeBatchQso(kQsos, c.date, c.time, c.band, c.mode);
        EXPECT_EQ(v.miss, c.miss);
        ASSERT_TRUE(v.nearest.has_value());
        EXPECT_EQ(v.nearest->mark.recno, c.nearest);
        EXPECT_EQ(v.minutesApart, c.apart);
    }
    // A call the log does not hold, and a claim whose date cannot be read.
    EXPECT_EQ(judgeBatchQso({}, "20030321", "1322", "20m", "RTTY").miss, BatchMiss::NoSuchCall);
    EXPECT_FALSE(judgeBatchQso({}, "20030321", "1322", "20m", "RTTY").nearest);
    for (const char* date : {"", "2003032", "20030231", "yesterday"}) {
        const BatchQsoVerdict v = judgeBatchQso(kQsos, date, "1322", "20m", "RTTY");
        EXPECT_EQ(v.miss, BatchMiss::UnreadableClaim) << date;
    }
    EXPECT_EQ(judgeBatchQso(kQsos, "20030321", "2561", "20m", "RTTY").miss,
              BatchMiss::UnreadableClaim);
}

TEST(BatchVerdict, TheTextSaysWhyAndWhere)
{
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso({}, "20030321", "1322", "20m", "RTTY")),
              "no such call in the log");
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso(kQsos, "20030321", "1330", "20m", "CW")),
              "other mode: nearest 20030321 1322 20m RTTY (8 min earlier)");
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso(kQsos, "20030321", "1410", "20m", "CW")),
              "other band: nearest 20030321 1400 40m CW (10 min earlier)");
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso(kQsos, "20030321", "1405", "80m", "SSB")),
              "other band and mode: nearest 20030321 1400 40m CW (5 min earlier)");
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso(kQsos, "20030321", "1220", "20m", "RTTY")),
              "no QSO within \xC2\xB1"
              "30 min; nearest 20030321 1322 20m RTTY (1 h 2 min later)");
    EXPECT_EQ(describeBatchVerdict(judgeBatchQso(kQsos, "20030321", "1322", "20m", "RTTY")),
              "found: 20030321 1322 20m RTTY");
    EXPECT_EQ(describeMinutesApart(3 * 1440 + 120 + 5), "3 d 2 h later");
    EXPECT_EQ(describeMinutesApart(-60), "1 h earlier");
}

// A log with QA1ABC's QSOs and the request tables with claims for it and two others.
class BatchCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateLogTable(dir.path(), "dx"));
        openLog(log, dir.file("dx.dbf"), 0);
        for (const auto& q : kQsos)
            addQso("QA1ABC", q.date, q.time, q.band, q.mode);
        addQso("QA1ABCD", "20030321", "1500", "20m", "RTTY"); // in the call's index range
        addQso("K1XYZ", "20030321", "1600", "20m", "SSB");
        ASSERT_TRUE(batch.OpenBatchTables());
        auto list = parseBatchText("CALL;QA1ABC;direct\n"
                                   "QSO ;QA1ABC;20030321;1322;20m;RTTY\n"
                                   "QSO ;QA1ABC;20030321;1330;20m;CW\n"
                                   "QSO ;QA1ABC;20030321;1410;20m;CW\n"
                                   "QSO ;QA1ABC;20030321;1700;20m;RTTY\n"
                                   "CALL;K1XYZ;\n"
                                   "CALL;DL9NOT;\n"
                                   "QSO ;DL9NOT;20030321;1322;20m;RTTY\n");
        ASSERT_TRUE(list);
        importBatchList(batch, *list, "QA0XX");
    }
    void addQso(const std::string& call, const std::string& date, const std::string& time,
                const std::string& band, const std::string& mode)
    {
        log.append();
        log.setText("CALL", call);
        log.setText("DATE", date);
        log.setText("TIME", time);
        log.setText("BAND", band);
        log.setText("MODE", mode);
        log.post();
    }
    // STATUS of every claim line, by call and time.
    std::map<std::string, std::string> claimStatus()
    {
        std::map<std::string, std::string> out;
        batch.FilterBatchTables("");
        dbase::Table& s = batch.BatchInputTable1();
        dbase::Table& q = batch.BatchInputTable2();
        for (s.first(); !s.isEmpty() && !s.eof(); s.next())
            for (q.first(); !q.isEmpty() && !q.eof(); q.next())
                out[q.text("HISCALL") + " " + q.text("TIME")] = q.text("STATUS");
        return out;
    }
    std::string callStatus(const std::string& call)
    {
        batch.FilterBatchTables("");
        return batch.BatchInputTable1().findKey(call) ? batch.BatchInputTable1().text("STATUS")
                                                      : "?";
    }

    TempFolder dir;
    ScriptedPrompter prompter;
    dbase::Table log;
    BatchInput batch{dir.path(), 4, prompter};
};

TEST_F(BatchCheck, EveryCallAndClaimGetsItsStatusAndReason)
{
    const BatchCheckReport r = checkBatchRequests(batch, log, "QA0XX");
    EXPECT_EQ(r.found, 2);
    EXPECT_EQ(r.notInLog, 1);
    EXPECT_EQ(r.claimsFound, 1);
    EXPECT_EQ(r.claimsMissed, 4);
    std::map<std::string, const BatchCallCheck*> calls;
    for (const BatchCallCheck& c : r.calls)
        calls[c.call] = &c;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls["QA1ABC"]->qsosInLog, 4u); // QA1ABCD is another station
    EXPECT_EQ(calls["DL9NOT"]->qsosInLog, 0u);
    std::map<std::string, BatchMiss> misses;
    for (const BatchQsoCheck& q : calls["QA1ABC"]->claims) {
        misses[q.time] = q.verdict.miss;
        EXPECT_EQ(r.claimAt(q.line), &q);
    }
    EXPECT_EQ(misses, (std::map<std::string, BatchMiss>{{"1322", BatchMiss::None},
                                                        {"1330", BatchMiss::OtherMode},
                                                        {"1410", BatchMiss::OtherBand},
                                                        {"1700", BatchMiss::OutsideTime}}));
    ASSERT_EQ(calls["DL9NOT"]->claims.size(), 1u);
    EXPECT_EQ(calls["DL9NOT"]->claims[0].verdict.miss, BatchMiss::NoSuchCall);

    EXPECT_EQ(callStatus("QA1ABC"), "1");
    EXPECT_EQ(callStatus("K1XYZ"), "1");
    EXPECT_EQ(callStatus("DL9NOT"), "3");
    EXPECT_EQ(claimStatus(), (std::map<std::string, std::string>{{"QA1ABC 1322", "1"},
                                                                 {"QA1ABC 1330", "3"},
                                                                 {"QA1ABC 1410", "3"},
                                                                 {"QA1ABC 1700", "3"},
                                                                 {"DL9NOT 1322", "3"}}));
}

TEST_F(BatchCheck, PrintedRequestsAndClaimsKeepTheirStatus)
{
    batch.FilterBatchTables("");
    dbase::Table& s = batch.BatchInputTable1();
    ASSERT_TRUE(s.findKey("QA1ABC"));
    dbase::Table& q = batch.BatchInputTable2();
    for (q.first(); !q.isEmpty() && !q.eof(); q.next())
        if (q.text("TIME") == "1700") {
            q.edit();
            q.setText("STATUS", "2");
            q.post();
        }
    ASSERT_TRUE(s.findKey("K1XYZ"));
    s.edit();
    s.setText("STATUS", "2");
    s.post();
    const BatchCheckReport r = checkBatchRequests(batch, log, "QA0XX");
    EXPECT_EQ(r.printedBefore, 1);
    EXPECT_EQ(callStatus("K1XYZ"), "2");
    EXPECT_EQ(claimStatus()["QA1ABC 1700"], "2");
    EXPECT_EQ(claimStatus()["QA1ABC 1410"], "3");
}

TEST_F(BatchCheck, RequestsForAnotherOwnCallAreNotChecked)
{
    const BatchCheckReport r = checkBatchRequests(batch, log, "QB9ZZ");
    EXPECT_TRUE(r.calls.empty());
    EXPECT_EQ(callStatus("QA1ABC"), "0");
}

} // namespace
} // namespace qx7
