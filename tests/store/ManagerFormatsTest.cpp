#include "store/ManagerFormats.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using Strings = std::vector<std::string>;

TEST(ManagerLookUp, DatedEntryValidAtTheQsoDateWins)
{
    const std::vector<ManagerEntry> w1aw = {{"W1AW", "K1AAA", "", ""},
                                            {"W1AW", "K2BBB", "20000101", ""},
                                            {"W1AW", "K3CCC", "20100101", ""}};
    const auto r = lookUpManagerIn(w1aw, "", "20050615");
    EXPECT_EQ(r.manager, "K2BBB");
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.candidates, (Strings{"K2BBB   (20000101)", "K1AAA", "-", "K3CCC   (20100101)"}));

    // After 2010 the later dated entry wins and goes on top.
    const auto later = lookUpManagerIn(w1aw, "", "20120101");
    EXPECT_EQ(later.manager, "K3CCC");
    EXPECT_EQ(later.candidates, (Strings{"K3CCC   (20100101)", "K2BBB   (20000101)", "K1AAA"}));

    // Before every dated entry only the undated one applies.
    const auto early = lookUpManagerIn(w1aw, "", "19991231");
    EXPECT_EQ(early.manager, "K1AAA");
    EXPECT_EQ(early.candidates,
              (Strings{"K1AAA", "-", "K2BBB   (20000101)", "K3CCC   (20100101)"}));
}

TEST(ManagerLookUp, AnUndatedEntryNeverReplacesTheQsosOwnManager)
{
    const auto r = lookUpManagerIn({{"W1AW", "K1AAA", "", ""}}, "K9ZZZ", "20050615");
    EXPECT_EQ(r.manager, "K9ZZZ");
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.candidates, Strings{"K1AAA"});
    // A dated one does.
    const auto d = lookUpManagerIn({{"W1AW", "K2BBB", "2004", ""}}, "K9ZZZ", "20050615");
    EXPECT_EQ(d.manager, "K2BBB");
}

TEST(ManagerLookUp, AYearAppliesFromThatYearOn)
{
    const std::vector<ManagerEntry> e = {{"VP8XY", "G4ABC", "2004", ""}};
    EXPECT_EQ(lookUpManagerIn(e, "", "20040101").manager, "G4ABC");
    EXPECT_EQ(lookUpManagerIn(e, "", "20991231").manager, "G4ABC");
    EXPECT_EQ(lookUpManagerIn(e, "", "20031231").manager, "");
    EXPECT_EQ(lookUpManagerIn({}, "", "20031231").count, 0);
}

TEST(ManagerFormats, FirstLineDecidesTheFormat)
{
    EXPECT_EQ(detectManagerFormat("W1AW;K1AAA;;"), ManagerTextFormat::Separated);
    EXPECT_EQ(detectManagerFormat("VP8XY,15/03/2001,G4ABC"), ManagerTextFormat::Dx4win);
    EXPECT_EQ(detectManagerFormat("A61AJ   QSL VIA W1XX"), ManagerTextFormat::Qw6qw);
    EXPECT_EQ(detectManagerFormat("just some words"), ManagerTextFormat::Unsupported);
    // ";" wins over "," on the same line.
    EXPECT_EQ(detectManagerFormat("A,B;C"), ManagerTextFormat::Separated);
}

struct LineCase
{
    ManagerTextFormat format;
    const char* line;
    bool read;
    const char* call;
    const char* mgr;
    const char* dateFrom;
    const char* address;
};

TEST(ManagerFormats, LineRules)
{
    using F = ManagerTextFormat;
    const LineCase cases[] = {
        {F::Separated, "W1AW;K1AAA;20000101;X", true, "W1AW", "K1AAA", "20000101", ""},
        {F::Separated, "W1AW;K1AAA;20000101;X;", true, "W1AW", "K1AAA", "20000101", "X"},
        {F::Separated, "w1aw;k1aaa;2000;;\r\n", true, "W1AW", "K1AAA", "2000", ""},
        {F::Separated, "W1AW;;20000101;X;", false, "", "", "", ""},
        {F::Separated, ";K1AAA", false, "", "", "", ""},
        {F::Separated, "W1AW", false, "", "", "", ""},
        {F::Dx4win, "VP8XY,15/03/2001,G4ABC", true, "VP8XY", "G4ABC", "20010315", ""},
        {F::Dx4win, "VP8XY,15.03.2001,G4ABC", true, "VP8XY", "G4ABC", "20010315", ""},
        {F::Dx4win, "vp8xy,,G4ABC", true, "VP8XY", "G4ABC", "", ""},
        {F::Dx4win, "VP8XY,2001,G4ABC", true, "VP8XY", "G4ABC", "2001", ""},
        {F::Dx4win, "VP8XY,1/3/2001,G4ABC", true, "VP8XY", "G4ABC", "1/3/", ""},
        {F::Dx4win, "VP8XY,15/03/2001", false, "", "", "", ""},
        {F::Dx4win, "VP8XY,,", false, "", "", "", ""},
        {F::Qw6qw, "A61AJ   QSL via W1XX  (1998)", true, "A61AJ", "W1XX", "1998", ""},
        {F::Qw6qw, "A61AJ   QSL VIA W1XX since 1998 and 2003", true, "A61AJ", "W1XX", "2003", ""},
        {F::Qw6qw, "A61AJ   QSL VIA W1XX 19X8", true, "A61AJ", "W1XX", "", ""},
        {F::Qw6qw, "A61AJ   QSL VIA HOME CALL", false, "", "", "", ""},
        {F::Qw6qw, "A61AJ   QSL VIA W1XX", false, "", "", "", ""}, // no blank after it
        {F::Qw6qw, "A61AJ   via W1XX 2001", false, "", "", "", ""},
    };
    for (const auto& c : cases) {
        const auto e = parseManagerLine(c.line, c.format);
        ASSERT_EQ(e.has_value(), c.read) << c.line;
        if (!e)
            continue;
        EXPECT_EQ(e->call, c.call) << c.line;
        EXPECT_EQ(e->mgr, c.mgr) << c.line;
        EXPECT_EQ(e->dateFrom, c.dateFrom) << c.line;
        EXPECT_EQ(e->address, c.address) << c.line;
    }
}

TEST(ManagerFormats, ExportLinesAndWhatARoundTripKeeps)
{
    const ManagerEntry e{"VP8XY", "G4ABC", "20010315", "X"};
    EXPECT_EQ(managerExportLine(e, false), "VP8XY;G4ABC;20010315;X");
    EXPECT_EQ(managerExportLine(e, true), "VP8XY,15/03/2001,G4ABC");
    EXPECT_EQ(managerExportLine({"VP8XY", "G4ABC", "2001", ""}, true), "VP8XY,01/01/2001,G4ABC");
    EXPECT_EQ(managerExportLine({"VP8XY", "G4ABC", "200103", ""}, true), "VP8XY,,G4ABC");

    // Separated export → import keeps all but the address (no ";" follows it).
    const auto back = parseManagerLine(managerExportLine(e, false), ManagerTextFormat::Separated);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dateFrom, "20010315");
    EXPECT_EQ(back->address, "");
    // DX4WIN keeps the date; a year comes back as the first of January.
    const auto dx = parseManagerLine(managerExportLine({"VP8XY", "G4ABC", "2001", ""}, true),
                                     ManagerTextFormat::Dx4win);
    ASSERT_TRUE(dx);
    EXPECT_EQ(dx->dateFrom, "20010101");
    EXPECT_EQ(managerExportLine({std::string(300, 'A'), "B", "", ""}, false).size(), 255u);
}

} // namespace
} // namespace qx7
