// How texts behave on a label: cut at their element, grown by autosize and autostretch,
// wrapped, turned, and kept off the neighbouring labels. Checked on 10 px/mm pictures.

#include "core/Progress.h"
#include "labels/MemoryLabelSource.h"
#include "labels/render/PngSheetOutput.h"
#include "labels/render/QtTextMeasure.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

// Ink inside a rectangle given in millimetres of the page.
int inkIn(const QImage& page, double x0, double y0, double x1, double y1)
{
    int ink = 0;
    for (int y = int(y0 * 10); y < int(y1 * 10); ++y)
        for (int x = int(x0 * 10); x < int(x1 * 10); ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    return ink;
}

class TextRendering : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("qx7-text-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_layout.Page.setColumns(2); // labels of 95 x 277 mm from (10, 10) and (105, 10)
    }
    void TearDown() override { fs::remove_all(m_dir); }

    LayoutElement& text(const std::string& caption, double left, double top, double width,
                        double height)
    {
        LayoutElement& e = m_layout.addElement(ElementKind::Text);
        e.caption = caption;
        e.left = left;
        e.top = top;
        e.width = width;
        e.height = height;
        e.font.pointSize = 12;
        return e;
    }

    QImage render()
    {
        MemoryLabelSource q(std::vector<LabelRecord>(1));
        PngSheetOutput out(m_layout, "", m_dir.string(), 254, false);
        NullProgress progress;
        const LabelRunResult r = runLabels(q, m_layout.Page, out, progress);
        EXPECT_FALSE(r.failed) << r.error;
        return out.files().empty() ? QImage() : QImage(QString::fromStdString(out.files()[0]));
    }

    fs::path m_dir;
    LabelLayout m_layout;
};

TEST_F(TextRendering, LongTextIsCutAtItsElement)
{
    text("WWWWWWWWWWWWWWWWWWWWWWWW", 5, 5, 20, 6);
    const QImage page = render();
    EXPECT_GT(inkIn(page, 15, 15, 35, 21), 100);
    EXPECT_EQ(inkIn(page, 35.2, 14, 104, 22), 0);
}

TEST_F(TextRendering, AutosizeGrowsFromTheAlignedEdge)
{
    LayoutElement& e = text("WWWWWWWWWWWW", 60, 5, 5, 6);
    e.autoSize = true;
    e.alignment = TextAlignment::Right; // right edge stays at 75 mm on the page
    const QImage page = render();
    EXPECT_GT(inkIn(page, 40, 15, 70, 21), 100);
    EXPECT_EQ(inkIn(page, 75.3, 14, 104, 22), 0);
}

TEST_F(TextRendering, WordWrapWithAutostretchAddsLines)
{
    LayoutElement& e = text("one two three four five six seven", 5, 5, 25, 6);
    e.wordWrap = true;
    e.autoStretch = true;
    const QImage page = render();
    EXPECT_GT(inkIn(page, 15, 21, 40, 40), 100) << "lines below the designed height";
    EXPECT_EQ(inkIn(page, 40.3, 14, 104, 40), 0);
}

TEST_F(TextRendering, RotatedTextRunsUpTheElement)
{
    LayoutElement& e = text("ROTATED", 5, 20, 8, 40);
    e.rotation = 900;
    e.alignment = TextAlignment::Centered;
    const QImage page = render();
    EXPECT_GT(inkIn(page, 15, 35, 23, 45), 100);
    EXPECT_EQ(inkIn(page, 23.3, 25, 60, 75), 0);
    EXPECT_GT(inkIn(page, 15, 55, 23, 60), 50) << "the text runs down past the centre";
}

TEST_F(TextRendering, NothingSpillsOntoTheNextLabel)
{
    LayoutElement& e = text("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 80, 5, 60, 6);
    e.transparent = false;
    e.background = Color::fromRgb(0, 0, 0);
    const QImage page = render();
    EXPECT_GT(inkIn(page, 92, 16, 104.8, 20), 1000);
    EXPECT_EQ(inkIn(page, 105.2, 14, 150, 22), 0);
}

TEST(TextMeasureQt, MeasuresWithTheRealFont)
{
    const QtTextMeasure measure;
    FontSpec font;
    font.pointSize = 10;
    const SizeMm wide = measure.measure(font, "MMMMMMMMMM");
    const SizeMm narrow = measure.measure(font, "iiiiiiiiii");
    EXPECT_GT(wide.width, 2 * narrow.width);
    EXPECT_NEAR(wide.height, 10 * 25.4 / 72 * 1.16, 1.0);
    // Bold letters are wider; not every font widens the M (Nimbus Sans, standing in for
    // Arial, keeps it), every one widens the i.
    font.bold = true;
    EXPECT_GT(measure.measure(font, "iiiiiiiiii").width, narrow.width);
}

} // namespace
} // namespace qx7
