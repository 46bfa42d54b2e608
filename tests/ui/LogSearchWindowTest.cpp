// The search toolbar narrows every open log window: calls, ranges, wildcards, band,
// mode, marks and QSL filters, exact match, and the sort orders.

#include "UiFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;
using Calls = std::vector<std::string>;

std::vector<Qso> searchLog()
{
    return {{"QA1ABC", "20240101", "20m", "SSB"},    {"QA2ABC", "20240102", "40m", "CW"},
            {"QA1ABCD", "20240103", "20m", "SSB"},   {"9QA1X", "20240104", "20m", "SSB", "Y"},
            {"XABC", "20240105", "40m", "SSB", "B"}, {"QB1ABC", "20240106", "20m", "CW", ""},
            {"C1X", "20240107", "20m", "SSB"},       {"C", "20240108", "20m", "SSB", "N", "", true},
            {"B5Z", "20240109", "20m", "SSB", "!"},  {"A1A", "20240110", "20m", "SSB", "D"}};
}

struct SearchCase
{
    const char* what;
    const char* callFrom;
    const char* callTo;
    const char* band;
    const char* mode;
    bool marked;
    int sentFilterTag; // 0 none .. 6 never
    Calls shown;       // in call order
    const char* current;
    bool exact;
};

TEST(LogSearchWindow, SearchRulesOverCallsRangesPatternsBandModeAndFilters)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("search", searchLog());
    auto form = showForm(*home.dm, {"search"});
    TMDIChild& log = *form->logWindows().front();
    const Calls all = {"9QA1X",  "A1A",     "B5Z",    "C",      "C1X",
                       "QA1ABC", "QA1ABCD", "QA2ABC", "QB1ABC", "XABC"};
    EXPECT_EQ(shownCalls(log), all);

    const SearchCase cases[] = {
        {"exact call", "QA1ABC", "", "", "", false, 0, {"QA1ABC"}, "QA1ABC", true},
        {"call and space", "QA1ABC ", "", "", "", false, 0, {"QA1ABC"}, "QA1ABC", true},
        {"prefix positions", "QA1", "", "", "", false, 0, all, "QA1ABC", false},
        {"question marks", "QA?ABC", "", "", "", false, 0, {"QA1ABC", "QA2ABC"}, "QA1ABC", false},
        {"contains",
         "QA*",
         "",
         "",
         "",
         false,
         0,
         {"9QA1X", "QA1ABC", "QA1ABCD", "QA2ABC"},
         "9QA1X",
         false},
        {"ends with",
         "*ABC",
         "",
         "",
         "",
         false,
         0,
         {"QA1ABC", "QA2ABC", "QB1ABC", "XABC"},
         "QA1ABC",
         false},
        {"every call", "*", "", "", "", false, 0, all, "9QA1X", false},
        {"range", "A", "C", "", "", false, 0, {"A1A", "B5Z", "C"}, "A1A", false},
        {"band", "", "", "40m", "", false, 0, {"QA2ABC", "XABC"}, "", false},
        {"band and mode", "", "", "40m", "SSB", false, 0, {"XABC"}, "", false},
        {"marked", "", "", "", "", true, 0, {"C"}, "", false},
        {"sent (not N)",
         "",
         "",
         "",
         "",
         false,
         1,
         {"9QA1X", "A1A", "B5Z", "QB1ABC", "XABC"},
         "",
         false},
        {"never", "", "", "", "", false, 6, {"B5Z"}, "", false},
        {"pattern and band",
         "QA*",
         "",
         "20m",
         "",
         false,
         0,
         {"9QA1X", "QA1ABC", "QA1ABCD"},
         "9QA1X",
         false},
    };
    static const char* const sentActions[] = {"QSLsNoneAction", "QSLsYAction", "QSLsNAction",
                                              "QSLsBAction",    "QSLsDAction", "QSLsIAction",
                                              "QSLsNeverAction"};
    SearchToolbar* bar = form->searchToolbar();
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        form->wipeSearchFields();
        bar->callFromEdit()->setText(c.callFrom);
        bar->callToEdit()->setText(c.callTo);
        bar->bandBox()->setCurrentIndex(
            *c.band ? bar->bandBox()->findText(c.band, Qt::MatchStartsWith) : 0);
        bar->modeBox()->setCurrentIndex(
            *c.mode ? bar->modeBox()->findText(c.mode, Qt::MatchStartsWith) : 0);
        if (c.marked)
            form->action("F7Action")->trigger();
        form->action(sentActions[c.sentFilterTag])->trigger();
        form->LogSearchChange();
        EXPECT_EQ(shownCalls(log), c.shown);
        if (*c.current) {
            EXPECT_EQ(log.model()->callAt(log.currentRow()).toStdString(), c.current);
        }
        EXPECT_EQ(home.dm->Search.ExactMatch, c.exact);
        EXPECT_EQ(log.findChild<QLabel*>("CountPanel")->text().toStdString(),
                  std::to_string(c.shown.size()) + " QSO(s)");
    }

    // "EMPTY" empties the print queue and clears the field.
    form->wipeSearchFields();
    form->action("F2Action")->trigger();
    ASSERT_GT(home.dm->LabelsInQueue(), 0);
    bar->callFromEdit()->setText("EMPTY");
    form->LogSearchChange();
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
    EXPECT_EQ(bar->callFromEdit()->text(), QString());
}

TEST(LogSearchWindow, CallFieldsTakeOnlyWhatACallCanHold)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("keys", {{"QA1ABC"}});
    auto form = showForm(*home.dm, {"keys"});
    QLineEdit* from = form->searchToolbar()->callFromEdit();
    QTest::keyClicks(from, "qa1-a?b*c  ");
    EXPECT_EQ(from->text(), QStringLiteral("QA1A?BC "));
    QLineEdit* to = form->searchToolbar()->callToEdit();
    QTest::keyClicks(to, "k9x*? /p");
    EXPECT_EQ(to->text(), QStringLiteral("K9X/P"));
}

TEST(LogSearchWindow, F5SwitchesTheSortOrderOfEveryWindow)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("order", {{"QC3Y", "20240103", "20m", "SSB", "N", "QM2"},
                           {"QA1X", "20240102", "20m", "SSB", "N", "QM1"},
                           {"QB2X", "20240101", "20m", "SSB", "N", ""}});
    auto form = showForm(*home.dm, {"order"});
    TMDIChild& log = *form->logWindows().front();
    EXPECT_EQ(shownCalls(log), (Calls{"QA1X", "QB2X", "QC3Y"}));
    form->action("F5Action")->trigger();
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Date"));
    // The date range starts at the current QSO's date (QA1X, the first in call order).
    EXPECT_EQ(shownCalls(log), (Calls{"QA1X", "QC3Y"}));
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->searchToolbar()->callFromEdit()->isVisibleTo(form.get()));
    EXPECT_TRUE(form->searchToolbar()->dateFromPicker()->isVisibleTo(form.get()));
    form->action("F5Action")->trigger();
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Manager"));
    // An empty manager field shows the whole log in manager order.
    form->searchToolbar()->managerEdit2()->clear();
    form->LogSearchChange();
    EXPECT_EQ(shownCalls(log), (Calls{"QB2X", "QA1X", "QC3Y"}));
    form->action("ShiftF5Action")->trigger();
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Date"));
    form->action("ShiftF5Action")->trigger();
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Call"));
    // Back in call order the current QSO's call is the search: that call alone.
    const Calls shown = shownCalls(log);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(form->searchToolbar()->callFromEdit()->text().toStdString(), shown.front());
    EXPECT_TRUE(home.dm->Search.ExactMatch);
}

} // namespace
} // namespace qx7
