#include "store/QsoSelection.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

QsoFields qso(std::uint32_t recno, const char* date, const char* band, const char* mode,
              const char* qsls = "N", const char* qmgr = "")
{
    return {"W1AW", date, "1200", band, mode, qsls, "N", qmgr, recno};
}

// The record numbers of the entries not left out, in label order.
std::vector<std::uint32_t> selected(const std::vector<QsoFields>& qsos, SelectionRules rules,
                                    int sortTyp = 3)
{
    std::vector<QsoEntry> entries;
    for (const auto& q : qsos) {
        QsoEntry e;
        if (makeQsoEntry(q, sortTyp, rules.cfmAllExceptY, e))
            entries.push_back(e);
    }
    sortEntries(entries);
    selectEntries(entries, rules);
    std::vector<std::uint32_t> out;
    for (const auto& e : entries)
        if (!e.leftOut())
            out.push_back(e.recno);
    return out;
}

using Recnos = std::vector<std::uint32_t>;

TEST(QsoEntry, FixedLayout)
{
    QsoEntry e;
    ASSERT_TRUE(makeQsoEntry({"W1AW", "20240305", "0930", "20m", "CW", "N", "N", "K1AAA", 42}, 3,
                             false, e));
    EXPECT_EQ(e.text, "K1AAA..........."
                      "202403050930GD"
                      "    42"
                      "N");
    EXPECT_EQ(e.text.size(), 37u);
    ASSERT_TRUE(
        makeQsoEntry({"W1AW", "20240305", "0930", "20m", "CW", "", "N", "-", 7}, 1, false, e));
    EXPECT_EQ(e.text, "................GD202403050930     7Y"); // "-" is no manager, "" is Y
    ASSERT_TRUE(
        makeQsoEntry({"W1AW", "20240305", "0930", "11m", "XYZ", "B", "N", "", 7}, 2, false, e));
    EXPECT_EQ(e.text.substr(16, 2), "@@"); // unknown band and mode
    EXPECT_EQ(e.text.back(), 'Y');
    ASSERT_TRUE(makeQsoEntry({"W1AW", "2024", "9", "20m", "CW", "N", "N", "", 7}, 9, false, e));
    EXPECT_EQ(e.text, "................2024    9          7N"); // short values keep positions
    EXPECT_FALSE(
        makeQsoEntry({"W1AW", "20240305", "0930", "20m", "CW", "!", "N", "", 1}, 3, false, e));
    EXPECT_FALSE(
        makeQsoEntry({"W1AW", "20240305", "0930", "20m", "CW", "Y", "N", "", 1}, 3, true, e));
}

TEST(QsoSelection, OnePerBandAndModeNewestOrOldest)
{
    const std::vector<QsoFields> three = {qso(1, "20240101", "20m", "SSB"),
                                          qso(2, "20240301", "20m", "SSB"),
                                          qso(3, "20240201", "20m", "SSB")};
    EXPECT_EQ(selected(three, {}), Recnos{2});
    SelectionRules fifo;
    fifo.priFiFo = true;
    EXPECT_EQ(selected(three, fifo), Recnos{1});
    SelectionRules all;
    all.cfmAllQ = true;
    EXPECT_EQ(selected(three, all), (Recnos{1, 3, 2}));
    // Different bands or modes are each confirmed.
    EXPECT_EQ(selected({qso(1, "20240101", "20m", "SSB"), qso(2, "20240101", "40m", "SSB"),
                        qso(3, "20240102", "20m", "CW")},
                       {}),
              (Recnos{2, 1, 3})); // same date and time: 40m comes before 20m in the band table
}

TEST(QsoSelection, ConfirmedPairsAndTheAgainAndNewBandRules)
{
    const std::vector<QsoFields> pair = {qso(1, "20240101", "20m", "CW", "Y"),
                                         qso(2, "20240201", "20m", "CW", "N")};
    SelectionRules newBand;
    newBand.cfmNewB = true;
    EXPECT_EQ(selected(pair, newBand), Recnos{});
    EXPECT_EQ(selected(pair, {}), Recnos{2});
    SelectionRules again;
    again.cfmAgnQ = true;
    EXPECT_EQ(selected(pair, again), Recnos{2}); // the newer one
    const std::vector<QsoFields> reversed = {qso(1, "20240101", "20m", "CW", "N"),
                                             qso(2, "20240201", "20m", "CW", "Y")};
    EXPECT_EQ(selected(reversed, again), Recnos{2}); // whatever its status
    EXPECT_EQ(selected(reversed, {}), Recnos{1});    // the confirmed one is skipped, not the pair
}

TEST(QsoSelection, NeverAndAllButYes)
{
    const std::vector<QsoFields> qsos = {
        qso(1, "20240101", "20m", "CW", "!"), qso(2, "20240102", "40m", "CW", "Y"),
        qso(3, "20240103", "80m", "CW", ""), qso(4, "20240104", "10m", "CW", "N")};
    EXPECT_EQ(selected(qsos, {}), Recnos{4});
    SelectionRules again;
    again.cfmAgnQ = true;
    EXPECT_EQ(selected(qsos, again), (Recnos{2, 3, 4}));
    SelectionRules allButY;
    allButY.cfmAllQ = true;
    allButY.cfmAllExceptY = true;
    allButY.cfmAgnQ = true;
    EXPECT_EQ(selected(qsos, allButY), (Recnos{3, 4}));
    SelectionRules allOnlyN;
    allOnlyN.cfmAllQ = true;
    EXPECT_EQ(selected(qsos, allOnlyN), Recnos{4});
}

TEST(QsoSelection, ManagersGroupTheEntriesNoManagerFirst)
{
    const std::vector<QsoFields> qsos = {
        qso(1, "20240101", "20m", "CW", "N", "K1AAA"), qso(2, "20240102", "40m", "CW", "N", ""),
        qso(3, "20240103", "80m", "CW", "N", "-X"), qso(4, "20240104", "10m", "CW", "N", "k0zz")};
    // "k0zz" sorts with "K0ZZ" (case does not count), before K1AAA.
    EXPECT_EQ(selected(qsos, {}), (Recnos{2, 3, 4, 1}));
}

TEST(QsoSelection, BandAndModeOrders)
{
    const std::vector<QsoFields> qsos = {qso(1, "20240103", "40m", "CW"),
                                         qso(2, "20240101", "20m", "SSB"),
                                         qso(3, "20240102", "20m", "CW")};
    EXPECT_EQ(selected(qsos, {}, 1), (Recnos{1, 2, 3})); // 40m, then 20m SSB, 20m CW
    EXPECT_EQ(selected(qsos, {}, 2), (Recnos{2, 1, 3})); // SSB, then CW on 40m and 20m
    EXPECT_EQ(selected(qsos, {}, 3), (Recnos{2, 3, 1})); // by date
    EXPECT_EQ(
        selected({qso(1, "20240101", "20m", "FT8"), qso(2, "20240101", "20m", "WSPR")}, {}, 2),
        (Recnos{1, 2}));
}

TEST(PagePrompt, AsksAtWholePagesThatAreAMultipleOfTheSetting)
{
    for (long n : {20L, 40L, 60L})
        EXPECT_TRUE(pagePromptDue(n, 10, 2, true)) << n;
    for (long n : {25L, 30L, 10L, 0L})
        EXPECT_FALSE(pagePromptDue(n, 10, 2, true)) << n;
    EXPECT_FALSE(pagePromptDue(20, 10, 2, false));
    EXPECT_FALSE(pagePromptDue(20, 10, 0, true));
    EXPECT_FALSE(pagePromptDue(20, 0, 1, true)); // no sheet size yet: never divide by zero
    EXPECT_TRUE(pagePromptDue(7, 1, 1, true));
}

} // namespace
} // namespace qx7
