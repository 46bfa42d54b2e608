// The sheet catalogue: rows, paper codes, list texts, geometry and the wizard picture.

#include "labels/SheetCatalogue.h"
#include "labels/SheetPreview.h"
#include "labels/TQRPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qx7 {
namespace {

struct GeometryCase
{
    const char* row;
    PaperSize paper;
    bool landscape;
    int columns, rows;
    double labelW, labelH, top, left, bottom, right, columnSpace, rowSpace;
};

TEST(SheetRows, TellingRowsGiveTheirSheetGeometry)
{
    const GeometryCase cases[] = {
        {"28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;", PaperSize::A4, false, 2, 6, 90.2, 42.3, 20, 16.5,
         23.2, 10.6, 2.5, 0},
        {"J8169;0,47;1,02;13,9;9,91;2;2;10,17;13,9;A4Q;", PaperSize::A4, true, 2, 2, 139, 99.1, 4.7,
         10.2, 4.5, 8.8, 0, 2.6},
        {"ML-0100;0;0;21,59;27,94;1;1;;;L;", PaperSize::Letter, false, 1, 1, 215.9, 279.4, 0, 0, 0,
         0, 0, 0},
        {"2160 Mini;1,27;2,06;6,67;2,54;1;4;2,54;;;", PaperSize::A4, false, 1, 4, 66.7, 25.4, 12.7,
         20.6, 182.7, 122.7, 0, 0},
        {"OP874;2,54;1,78;7,11;6,99;2;3;6,99;7,36;B5;", PaperSize::B5, false, 2, 3, 71.1, 69.9,
         25.4, 17.8, 21.9, 19.5, 2.5, 0},
        {"4702;1,42;0,97;4,57;1;4;12;1;4,82;A5Q;", PaperSize::A5, true, 4, 12, 45.7, 10, 14.2, 9.7,
         13.8, 10.0, 2.5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        LabelFormatRec rec;
        ASSERT_TRUE(parseLabelFormatRow(c.row, rec));
        const SheetGeometry g = applySheet(rec);
        EXPECT_EQ(g.paper, c.paper);
        EXPECT_EQ(g.landscape, c.landscape);
        EXPECT_EQ(g.columns, c.columns);
        EXPECT_EQ(g.rows, c.rows);
        EXPECT_NEAR(g.labelWidth, c.labelW, 1e-9);
        EXPECT_NEAR(g.labelHeight, c.labelH, 1e-9);
        EXPECT_NEAR(g.topMargin, c.top, 1e-9);
        EXPECT_NEAR(g.leftMargin, c.left, 1e-9);
        EXPECT_NEAR(g.bottomMargin, c.bottom, 1e-9);
        EXPECT_NEAR(g.rightMargin, c.right, 1e-9);
        EXPECT_NEAR(g.columnSpace, c.columnSpace, 1e-9);
        EXPECT_NEAR(g.rowSpace, c.rowSpace, 1e-9);
    }
}

TEST(SheetRows, PaperCodesChoosePaperAndOrientation)
{
    const struct
    {
        const char* code;
        PaperSize paper;
        bool landscape;
    } cases[] = {
        {"", PaperSize::A4, false},
        {"0", PaperSize::A4, false},
        {"A4", PaperSize::A4, false},
        {"a4q", PaperSize::A4, true},
        {"L", PaperSize::Letter, false},
        {"LQ", PaperSize::Letter, true},
        {"P", PaperSize::Custom, false},
        {"PQ", PaperSize::Custom, true},
        {"M", PaperSize::Custom, false},
        {"MQ", PaperSize::Custom, true},
        {"A5", PaperSize::A5, false},
        {"A5Q", PaperSize::A5, true},
        {"B5", PaperSize::B5, false},
        {"B5Q", PaperSize::B5, true},
        {"B4 JIS", PaperSize::B4, false},
        {"b4 jisq", PaperSize::B4, true},
        {"XYZ", PaperSize::Default, false},
        {"Q", PaperSize::Default, false},
        {"A4Q and much more text than twenty", PaperSize::Default, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const PaperChoice p = paperFromCode(c.code);
        EXPECT_EQ(p.paper, c.paper);
        EXPECT_EQ(p.landscape, c.landscape);
    }
}

TEST(SheetRows, CustomPapersCarryTheirSize)
{
    LabelFormatRec rec;
    ASSERT_TRUE(parseLabelFormatRow("Card;0;0;10;14,8;1;1;;;P;", rec));
    EXPECT_EQ(rec.Paper, PaperSize::Custom);
    EXPECT_DOUBLE_EQ(rec.PaperWidth, 100.0);
    EXPECT_DOUBLE_EQ(rec.PaperLength, 148.0);
    ASSERT_TRUE(parseLabelFormatRow("Card;0;0;10;10;1;1;;;MQ;", rec));
    const SheetGeometry g = applySheet(rec);
    EXPECT_DOUBLE_EQ(g.paperWidth, 127.0); // turned: the long side across
    EXPECT_DOUBLE_EQ(g.paperLength, 104.8);
    TQRPage page;
    page.applySheet(g);
    EXPECT_EQ(page.PaperSize, PaperSize::Custom);
    EXPECT_EQ(page.Orientation, PageOrientation::Landscape);
    EXPECT_DOUBLE_EQ(page.Width, 1270.0);
    EXPECT_DOUBLE_EQ(page.Length, 1048.0);
}

TEST(SheetRows, ListTextTruncatesSizesInTheLayoutUnit)
{
    const struct
    {
        const char* row;
        LayoutUnit unit;
        const char* text;
    } cases[] = {
        {"ES-4;0,85;0;10,5;14;2;2;14;10,5;;", LayoutUnit::Millimetres, "ES-4 (105 x 140)"},
        {"28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;", LayoutUnit::Inches, "28171 (3.55 x 1.66)"},
        {"28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;", LayoutUnit::Millimetres, "28171 (90.2 x 42.3)"},
        {"L7410-5M_L;1,35;0,5;20;5,4;1;5;5,4;;;", LayoutUnit::Millimetres, "L7410-5M L (200 x 54)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        LabelFormatRec rec;
        ASSERT_TRUE(parseLabelFormatRow(c.row, rec, c.unit));
        EXPECT_EQ(sheetListText(rec), c.text);
    }
    EXPECT_EQ(truncatedNumber(3.5511, ','), "3,55");
    EXPECT_EQ(truncatedNumber(1.6653), "1.66");
    EXPECT_EQ(truncatedNumber(42.3), "42.3");
    EXPECT_EQ(truncatedNumber(0.5), "0.5");
}

TEST(SheetRows, MalformedRowsAreRefused)
{
    const char* rows[] = {
        "X;2;1.65;9,02;4,23;2;6;4,23;9,27;;", // decimal point is not the separator
        "X;2;abc;9,02;4,23;2;6;4,23;9,27;;",
        "X;2;1,65;9,02;4,23;2,5;6;4,23;9,27;;",
        "X;2;1,65;9,02;4,23;two;6;;;;",
        "X;2;1,65;9,02;4,23;0;6;;;;",
        "X;;;;;;;;;;",
    };
    for (const char* row : rows) {
        SCOPED_TRACE(row);
        LabelFormatRec rec;
        EXPECT_FALSE(parseLabelFormatRow(row, rec));
    }
    LabelFormatRec rec;
    EXPECT_TRUE(parseLabelFormatRow(" Y ; 1 ; 1 ; 5 ; 5 ; 1 ; 1 ; ; ; ;", rec));
    EXPECT_EQ(rec.Name, "Y");
}

TEST(SheetCatalogueText, GroupsRowsUnderMakersAndSkipsBadRows)
{
    const SheetCatalogue c(
        "Zeta\r\nA;1;1;5;5;1;1;;;;\r\nbad;x;;;;;;;;;\r\nalpha\nB;1;1;5;5;1;1;;;;\n");
    EXPECT_EQ(c.makers(), (std::vector<std::string>{"Zeta", "alpha"}));
    EXPECT_EQ(c.makerChoices(), (std::vector<std::string>{"Custom", "alpha", "Zeta"}));
    EXPECT_EQ(c.rowsOf("Zeta").size(), 2u);
    ASSERT_EQ(c.typesOf("Zeta").size(), 1u);
    EXPECT_EQ(c.typesOf("Zeta")[0].listText, "A (50 x 50)");
    EXPECT_TRUE(c.typesOf("zeta").empty()) << "headers match case-sensitively";
}

TEST(SheetCatalogueText, FindsTheRememberedSheetIgnoringCase)
{
    const SheetCatalogue& c = SheetCatalogue::builtIn();
    const auto found = c.find("aone", "28171 (90.2 X 42.3)");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->maker, "AOne");
    ASSERT_TRUE(found->typeIndex);
    EXPECT_EQ(found->rec.Columns, 2);
    const auto makerOnly = c.find("AOne", "nothing like it");
    ASSERT_TRUE(makerOnly);
    EXPECT_FALSE(makerOnly->typeIndex);
    EXPECT_FALSE(c.find("No Such Maker", "28171 (90.2 x 42.3)"));
}

TEST(SheetCatalogueText, BuiltInCatalogueHoldsTheKnownRowsAndAllParse)
{
    const SheetCatalogue& c = SheetCatalogue::builtIn();
    const struct
    {
        const char* maker;
        const char* row;
    } known[] = {
        {"AOne", "28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;"},
        {"Avery A4/A5", "J8169;0,47;1,02;13,9;9,91;2;2;10,17;13,9;A4Q;"},
        {"MACO/Wilson Jones Standard", "ML-0100;0;0;21,59;27,94;1;1;;;L;"},
        {"Avery Standard", "2160 Mini;1,27;2,06;6,67;2,54;1;4;2,54;;;"},
        {"Hisago", "OP874;2,54;1,78;7,11;6,99;2;3;6,99;7,36;B5;"},
        {"Zweckform", "4702;1,42;0,97;4,57;1;4;12;1;4,82;A5Q;"},
        {"RAJA", "ES-4;0,85;0;10,5;14;2;2;14;10,5;;"},
        {"Avery A4/A5", "L7410-5M_L;1,35;0,5;20;5,4;1;5;5,4;;;"},
    };
    for (const auto& k : known) {
        SCOPED_TRACE(k.row);
        const auto& rows = c.rowsOf(k.maker);
        EXPECT_NE(std::find(rows.begin(), rows.end(), k.row), rows.end());
    }
    size_t rows = 0;
    for (const std::string& maker : c.makers()) {
        EXPECT_EQ(c.typesOf(maker).size(), c.rowsOf(maker).size()) << maker;
        rows += c.rowsOf(maker).size();
        for (const std::string& row : c.rowsOf(maker)) {
            LabelFormatRec rec;
            ASSERT_TRUE(parseLabelFormatRow(row, rec)) << row;
            const SheetGeometry g = applySheet(rec);
            EXPECT_GT(g.rightMargin, -0.6) << row; // no sheet wider than its paper
            EXPECT_GT(g.bottomMargin, -0.6) << row;
        }
    }
    EXPECT_GT(rows, 1000u);
}

TEST(Units, ConvertThroughTenthsOfAMillimetre)
{
    EXPECT_DOUBLE_EQ(convertUnit(25.4, LayoutUnit::Millimetres, LayoutUnit::Inches), 1.0);
    EXPECT_DOUBLE_EQ(toTenthsMm(2, LayoutUnit::Inches), 508.0);
    UnitContext screen;
    EXPECT_NEAR(convertUnit(96, LayoutUnit::Pixels, LayoutUnit::Millimetres, screen), 25.4, 1e-9);
    screen.zoomPercent = 200; // zoomed in, a pixel covers half as much paper
    EXPECT_NEAR(convertUnit(96, LayoutUnit::Pixels, LayoutUnit::Millimetres, screen), 12.7, 1e-9);
    UnitContext chars;
    chars.fontPointSize = 10;
    EXPECT_NEAR(convertUnit(8, LayoutUnit::Characters, LayoutUnit::Inches, chars), 1.0, 1e-9);
    chars.across = false;
    EXPECT_NEAR(convertUnit(1, LayoutUnit::Inches, LayoutUnit::Characters, chars), 14.53, 1e-9);
    EXPECT_EQ(unitFromName("Inches"), LayoutUnit::Inches);
    EXPECT_EQ(unitCaption(LayoutUnit::Characters), "Chars");
}

TEST(SheetPicture, ScalesThePageAndOutlinesEveryLabel)
{
    LabelFormatRec rec;
    ASSERT_TRUE(parseLabelFormatRow("28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;", rec));
    const auto steps = sheetPreview(applySheet(rec), 160, 180, 96);
    ASSERT_EQ(steps.size(), 1u + 1u + 3u + 12u);
    EXPECT_EQ(steps[0].kind, PreviewStep::Kind::Fill);
    EXPECT_EQ(steps[0].rgb, 0xC0C0C0u);
    // A4 at 96 dpi is 793.7 x 1122.5 px: the height limits, s = 177 / 1122.5 * 0.95.
    const double s = 177.0 / (297 / 25.4 * 96) * 0.95;
    const auto px = [&](double mm) { return static_cast<int>(std::lround(mm / 25.4 * 96 * s)); };
    const int right = px(16.5) + 2 * px(90.2) + px(2.5) + px(10.6);
    const int bottom = px(20) + 6 * px(42.3) + px(23.2);
    EXPECT_EQ(steps[1].x2, right);
    EXPECT_EQ(steps[1].y2, bottom);
    EXPECT_TRUE(steps[1].filledWhite);
    EXPECT_EQ(steps[4].x1, right + 3);
    EXPECT_EQ(steps[4].y2, bottom + 3);
    EXPECT_EQ(steps[4].rgb, 0x808080u);
    const PreviewStep& secondColumnFirstRow = steps[5 + 6];
    EXPECT_EQ(secondColumnFirstRow.x1, px(16.5) + px(90.2) + px(2.5));
    EXPECT_EQ(secondColumnFirstRow.y1, px(20));
    EXPECT_EQ(secondColumnFirstRow.x2 - secondColumnFirstRow.x1, px(90.2));
}

} // namespace
} // namespace qx7
