#include "store/LogSearch.h"

#include "store/LogTable.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using Strings = std::vector<std::string>;

TEST(LogSearch, CallPatterns)
{
    struct Case
    {
        const char* pattern;
        const char* call;
        bool match;
    };
    const Case cases[] = {
        {"QA?ABC", "QA1ABC", true},  {"QA?ABC", "QA2ABC", true}, {"QA?ABC", "QA1ABCD", false},
        {"QA?ABC", "QB1ABC", false}, {"QA*", "QA1ABC", true},    {"QA*", "9QA1X", true},
        {"QA*", "Q1A", false},       {"*ABC", "W1ABC", true},    {"*ABC", "W1ABCD", false},
        {"Q*C", "QRC", false}, // the pattern without "*" must end the call
        {"Q*C", "W1AQC", true},      {"*A*", "W1XA", true},      {"*", "K1A", true},
        {"QA1ABC*", "QA1AB", false}, {"", "ANY", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(callMatchesPattern(c.call, c.pattern), c.match) << c.pattern << " " << c.call;
}

TEST(LogSearch, KeysFromTheInputsOfEachOrder)
{
    SearchState s;
    SearchInputs in;
    in.callFrom = "QA1ABC";
    EXPECT_EQ(buildSearchKeys(in, s), "");
    EXPECT_EQ(s.SearchMethod, 2);
    EXPECT_EQ(s.BeginKey, "QA1ABC");
    EXPECT_EQ(s.EndKey, "QA1ABC");
    in.callFrom = "DL1 ";
    buildSearchKeys(in, s);
    EXPECT_EQ(s.BeginKey, "DL1");
    EXPECT_EQ(s.EndKey, "DL1 ");
    in.callFrom = "A";
    in.callTo = "C";
    buildSearchKeys(in, s);
    EXPECT_EQ(s.SearchMethod, 3);
    EXPECT_EQ(s.EndKey, "C");
    in.callFrom = "QA?ABC";
    in.callTo = "";
    EXPECT_EQ(buildSearchKeys(in, s), "QA?ABC");
    EXPECT_EQ(s.BeginKey, "QA");
    EXPECT_EQ(s.EndKey, "QA||||||||||||||||||");
    in.callFrom = "*ABC";
    buildSearchKeys(in, s);
    EXPECT_EQ(s.BeginKey, "");
    SearchInputs dates;
    dates.indexNumber = 1;
    dates.dateFrom = "20240101";
    dates.timeFrom = "0000";
    dates.dateTo = "20240131";
    dates.timeTo = "2359";
    buildSearchKeys(dates, s);
    EXPECT_EQ(s.BeginKey, "202401010000");
    EXPECT_EQ(s.EndKey, "202401312359");
}

TEST(LogSearch, FilterExpressions)
{
    EXPECT_EQ(logFilterExpression("20m", "CW", true, 'Y', 'N'),
              "BAND = '20m'  and MODE = 'CW'  and MARK and QSLS <> 'N' and QSLR =  'N'");
    EXPECT_EQ(logFilterExpression("", "", false, '!', ' '), "QSLS =  '!'");
    EXPECT_EQ(logFilterExpression("", "", false, ' ', ' '), "");
}

class SearchOnALog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
        openLog(log, dir.file("log.dbf"), 0);
        for (const char* call : {"A1A", "C1X", "C", "QA1ABC", "QA1ABCD", "QA2ABC", "9QA1X"}) {
            log.append();
            log.setText("CALL", call);
            log.setText("DATE", "20240101");
            log.setText("TIME", "1200");
            log.setText("BAND", call[0] == 'Q' ? "20m" : "40m");
            log.setText("QSLS", call[1] == 'A' ? "Y" : "");
            log.post();
        }
    }
    Strings visible()
    {
        Strings out;
        for (log.first(); !log.eof(); log.next())
            out.push_back(log.text("CALL"));
        return out;
    }
    testing::TempFolder dir;
    dbase::Table log;
    SearchState state;
};

TEST_F(SearchOnALog, AnExactCallRestrictsToThatCall)
{
    SearchInputs in;
    in.callFrom = "QA1ABC";
    LogSearchChange({&log}, in, state);
    EXPECT_TRUE(state.ExactMatch);
    EXPECT_EQ(visible(), Strings{"QA1ABC"});
    in.callFrom = "QA1AB"; // not a call of the log: positioned, not restricted
    LogSearchChange({&log}, in, state);
    EXPECT_FALSE(state.ExactMatch);
    EXPECT_EQ(log.text("CALL"), "QA1ABC");
}

TEST_F(SearchOnALog, RangesPatternsAndFilters)
{
    SearchInputs in;
    in.callFrom = "A";
    in.callTo = "C";
    LogSearchChange({&log}, in, state);
    EXPECT_EQ(visible(), (Strings{"A1A", "C"})); // C1X sorts after C
    in = {};
    in.callFrom = "QA?ABC";
    LogSearchChange({&log}, in, state);
    EXPECT_EQ(visible(), (Strings{"QA1ABC", "QA2ABC"}));
    in.callFrom = "QA*";
    LogSearchChange({&log}, in, state);
    EXPECT_EQ(visible(), (Strings{"9QA1X", "QA1ABC", "QA1ABCD", "QA2ABC"}));
    in.callFrom = "";
    in.band = "40m";
    in.qslsFilter = 'Y'; // an empty flag counts as sent
    LogSearchChange({&log}, in, state);
    EXPECT_EQ(visible(), (Strings{"9QA1X", "A1A", "C", "C1X"}));
}

} // namespace
} // namespace qx7
