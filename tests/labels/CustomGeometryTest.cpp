// The custom geometry of the "Paper and Label Size" page: what each field recomputes
// and the combinations that are refused.

#include "labels/CustomGeometry.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

// A4 portrait in millimetres: 2 x 6 labels of 90 x 40 mm, 10 and 6 mm gaps.
CustomGeometry a4Grid()
{
    CustomGeometry g;
    g.PaperSize = PaperSize::A4;
    g.PageWidth = 210;
    g.PageLength = 297;
    g.TopMargin = 13.5;
    g.BottomMargin = 13.5;
    g.LeftMargin = 10;
    g.RightMargin = 10;
    g.Columns = 2;
    g.Rows = 6;
    g.ColumnSpace = 10;
    g.RowSpace = 6;
    g.LabelWidth = 90;
    g.LabelHeight = 40;
    return g;
}

constexpr auto mm = LayoutUnit::Millimetres;

TEST(CustomGeometry, MarginsAndGridGiveTheLabelSize)
{
    CustomGeometry g = a4Grid();
    g.LeftMargin = 20;
    auto r = recalculate(g, GeometryField::Margin, mm);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.changed);
    EXPECT_NEAR(g.LabelWidth, 85.0, 0.005);
    EXPECT_NEAR(g.LabelHeight, 40.0, 0.005);

    // Nothing moved: nothing is rewritten.
    r = recalculate(g, GeometryField::Margin, mm);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.changed);

    // The same in inches: the arithmetic does not depend on the unit shown.
    CustomGeometry inches = a4Grid();
    for (double* v :
         {&inches.PageWidth, &inches.PageLength, &inches.TopMargin, &inches.BottomMargin,
          &inches.LeftMargin, &inches.RightMargin, &inches.ColumnSpace, &inches.RowSpace})
        *v /= 25.4;
    inches.RightMargin = 0.5;
    ASSERT_TRUE(recalculate(inches, GeometryField::Margin, LayoutUnit::Inches).ok);
    EXPECT_NEAR(inches.LabelWidth * 25.4, (210 - 10 - 12.7 - 10) / 2, 0.01);
}

TEST(CustomGeometry, MarginsFillingThePageAreRefusedAndChangeNothing)
{
    for (auto edit : {+[](CustomGeometry& g) {
                          g.TopMargin = 150;
                          g.BottomMargin = 147;
                      },
                      +[](CustomGeometry& g) { g.LeftMargin = 300; },
                      +[](CustomGeometry& g) {
                          g.LeftMargin = 100;
                          g.RightMargin = 110;
                      }}) {
        CustomGeometry g = a4Grid();
        g.ColumnSpace = 0;
        g.RowSpace = 0;
        edit(g);
        const CustomGeometry typed = g;
        const auto r = recalculate(g, GeometryField::Margin, mm);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "Error: Margins greater than page size!");
        EXPECT_EQ(g, typed);
    }
}

TEST(CustomGeometry, LabelSizeGivesTheSpaces)
{
    CustomGeometry g = a4Grid();
    g.LabelWidth = 85;
    g.LabelHeight = 44;
    auto r = recalculate(g, GeometryField::LabelSize, mm);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(g.ColumnSpace, 20.0, 0.005);
    EXPECT_NEAR(g.RowSpace, (297 - 27 - 6 * 44) / 5.0, 0.005);

    // Labels that together exceed the room between the margins are refused.
    CustomGeometry wide = a4Grid();
    wide.LabelWidth = 96;
    const CustomGeometry typed = wide;
    r = recalculate(wide, GeometryField::LabelSize, mm);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Error: Labels greater than page size!");
    EXPECT_EQ(wide, typed);

    // Labels that exactly fill the room leave gaps of 0.
    CustomGeometry full = a4Grid();
    full.LabelWidth = 95;
    ASSERT_TRUE(recalculate(full, GeometryField::LabelSize, mm).ok);
    EXPECT_EQ(full.ColumnSpace, 0.0);
}

TEST(CustomGeometry, SingleColumnKeepsTheTypedWidthInItsMargin)
{
    CustomGeometry g = a4Grid();
    g.Columns = 1;
    g.ColumnSpace = 0;
    g.LabelWidth = 150;
    ASSERT_TRUE(recalculate(g, GeometryField::LabelSize, mm).ok);
    EXPECT_NEAR(g.RightMargin, 50.0, 0.005);
    EXPECT_EQ(g.ColumnSpace, 0.0);
}

TEST(CustomGeometry, SpaceEatingTheLabelIsRefused)
{
    CustomGeometry g = a4Grid();
    g.ColumnSpace = 25;
    ASSERT_TRUE(recalculate(g, GeometryField::Space, mm).ok);
    EXPECT_NEAR(g.LabelWidth, 82.5, 0.005);

    // 190 mm between the margins, one gap of 189.9 mm: half a pixel of label is left.
    for (double space : {190.0, 189.9, 250.0}) {
        CustomGeometry bad = a4Grid();
        bad.ColumnSpace = space;
        const CustomGeometry typed = bad;
        const auto r = recalculate(bad, GeometryField::Space, mm);
        EXPECT_FALSE(r.ok) << space;
        EXPECT_EQ(r.error, "Error: Space greater than label size!");
        EXPECT_EQ(bad, typed);
    }
}

TEST(CustomGeometry, OneColumnOrRowDropsItsSpace)
{
    CustomGeometry g = a4Grid();
    g.Columns = 1;
    ASSERT_TRUE(recalculate(g, GeometryField::ColumnsRows, mm).ok);
    EXPECT_EQ(g.ColumnSpace, 0.0);
    EXPECT_NEAR(g.LabelWidth, 190.0, 0.005);
    EXPECT_NEAR(g.RowSpace, 6.0, 1e-9);

    g.Rows = 1;
    ASSERT_TRUE(recalculate(g, GeometryField::ColumnsRows, mm).ok);
    EXPECT_EQ(g.RowSpace, 0.0);
    EXPECT_NEAR(g.LabelHeight, 270.0, 0.005);

    // So many columns that the gaps leave no label.
    CustomGeometry many = a4Grid();
    many.Columns = 20;
    const auto r = recalculate(many, GeometryField::ColumnsRows, mm);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Error: Space greater than label size!");
}

TEST(CustomGeometry, PaperSizeSetsThePageFromTheTable)
{
    CustomGeometry g = a4Grid();
    g.PaperSize = PaperSize::A5;
    g.Orientation = PageOrientation::Landscape;
    g.Rows = 2;
    ASSERT_TRUE(recalculate(g, GeometryField::Paper, mm).ok);
    EXPECT_NEAR(g.PageWidth, 210.0, 0.01);
    EXPECT_NEAR(g.PageLength, 148.0, 0.01);
    EXPECT_NEAR(g.LabelHeight, (148 - 27 - 6) / 2.0, 0.01);

    // Custom paper keeps the size typed.
    CustomGeometry custom = a4Grid();
    custom.PaperSize = PaperSize::Custom;
    custom.PageWidth = 100;
    custom.PageLength = 148;
    custom.Columns = 1;
    custom.Rows = 1;
    custom.ColumnSpace = custom.RowSpace = 0;
    ASSERT_TRUE(recalculate(custom, GeometryField::Paper, mm).ok);
    EXPECT_EQ(custom.PageWidth, 100.0);
    EXPECT_NEAR(custom.LabelWidth, 80.0, 0.005);
}

TEST(CustomGeometry, RoundTripThroughThePage)
{
    TQRPage page;
    page.setColumns(3);
    page.setRows(8);
    page.ColumnSpace = 25;
    page.RowSpace = 0;
    const CustomGeometry g = geometryFromPage(page, mm);
    EXPECT_NEAR(g.LabelWidth * 10, page.labelWidth(), 1e-9);
    EXPECT_NEAR(g.LabelHeight * 10, page.labelHeight(), 1e-9);

    TQRPage back;
    applyGeometry(g, back, mm);
    EXPECT_EQ(back, page);

    // A custom landscape paper keeps its sides.
    CustomGeometry c = g;
    c.PaperSize = PaperSize::Custom;
    c.Orientation = PageOrientation::Landscape;
    c.PageWidth = 148;
    c.PageLength = 100;
    applyGeometry(c, back, mm);
    EXPECT_EQ(back.Width, 1480.0);
    EXPECT_EQ(back.Length, 1000.0);
    EXPECT_EQ(back.Orientation, PageOrientation::Landscape);
    EXPECT_EQ(formatMeasure(-0.001), "0.00");
    EXPECT_EQ(formatMeasure(12.345678), "12.35");
}

} // namespace
} // namespace qx7
