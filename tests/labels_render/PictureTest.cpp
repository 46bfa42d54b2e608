// Pictures on labels (JPEG through libjpeg-turbo) and the preview pictures of a run.

#include "core/Progress.h"
#include "labels/MemoryLabelSource.h"
#include "labels/render/JpegReader.h"
#include "labels/render/PngSheetOutput.h"
#include "labels/render/SheetPreviewPainter.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
const std::string kData = std::string(QX7_TEST_DATA) + "/labels/";

TEST(Jpeg, DecodesPixelsAndResolution)
{
    std::string error;
    const QImage image = readJpeg(kData + "two-colours.jpg", &error);
    ASSERT_FALSE(image.isNull()) << error;
    EXPECT_EQ(image.size(), QSize(40, 20));
    EXPECT_GT(qRed(image.pixel(5, 10)), 200);
    EXPECT_LT(qBlue(image.pixel(5, 10)), 60);
    EXPECT_GT(qBlue(image.pixel(35, 10)), 200);
    EXPECT_NEAR(image.dotsPerMeterX(), 3780, 2);
}

TEST(Jpeg, DamagedFilesGiveAReasonNotACrash)
{
    for (const char* name : {"broken.jpg", "not-a-picture.jpg", "missing.jpg"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_TRUE(readJpeg(kData + name, &error).isNull());
        EXPECT_FALSE(error.empty());
    }
}

// A few hundred bytes may declare a picture of billions of pixels: decoding stays
// within what a label can show, and a file that only declares its size is refused.
TEST(Jpeg, HugePicturesAreReducedOrRefused)
{
    std::string error;
    EXPECT_TRUE(readJpeg(kData + "declares-26000.jpg", &error).isNull());
    EXPECT_NE(error.find("ends early"), std::string::npos) << error;
    error.clear();
    EXPECT_TRUE(readJpeg(kData + "declares-60000.jpg", &error).isNull());
    EXPECT_NE(error.find("too large: 60000 x 60000 pixels"), std::string::npos) << error;

    // Over the limit, a picture is decoded reduced and keeps its printed size.
    const QImage halved = readJpeg(kData + "two-colours.jpg", &error, 40 * 20 / 2);
    ASSERT_FALSE(halved.isNull()) << error;
    EXPECT_EQ(halved.size(), QSize(20, 10));
    EXPECT_NEAR(halved.dotsPerMeterX(), 3780 / 2, 2);
    EXPECT_GT(qRed(halved.pixel(2, 5)), 200);
    EXPECT_GT(qBlue(halved.pixel(17, 5)), 200);
    EXPECT_EQ(readJpeg(kData + "two-colours.jpg", &error, 40 * 20 / 64 - 1).isNull(), true);
}

class Preview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("qx7-png-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_layout.Page.setColumns(2);
        m_layout.Page.setRows(2);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    LabelLayout m_layout; // A4, 10 mm margins: labels of 95 x 138.5 mm
};

TEST_F(Preview, PicturesAreCentredOrStretchedInTheirElement)
{
    LayoutElement& stretched = m_layout.addElement(ElementKind::Image);
    stretched.imageFile = "two-colours.jpg";
    stretched.stretch = true;
    stretched.left = 10;
    stretched.top = 10;
    stretched.width = 40;
    stretched.height = 20;
    LayoutElement& centred = m_layout.addElement(ElementKind::Image);
    centred.imageFile = kData + "two-colours.jpg"; // absolute names work too
    centred.center = true;
    centred.left = 10;
    centred.top = 50;
    centred.width = 60;
    centred.height = 40;
    MemoryLabelSource q(std::vector<LabelRecord>(1));
    PngSheetOutput out(m_layout, kData, m_dir.string(), 254 /* 10 px per mm */, false);
    NullProgress progress;
    const LabelRunResult r = runLabels(q, m_layout.Page, out, progress);
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_TRUE(out.renderer().imageProblems().empty());
    ASSERT_EQ(out.files().size(), 1u);
    QImage page(QString::fromStdString(out.files()[0]));
    ASSERT_FALSE(page.isNull());
    const auto at = [&](double xMm, double yMm) {
        return page.pixel(int(xMm * 10), int(yMm * 10));
    };
    // Label at (10, 10) mm; stretched picture over 20..60 x 20..40 mm: red, then blue.
    EXPECT_GT(qRed(at(25, 30)), 200);
    EXPECT_GT(qBlue(at(55, 30)), 200);
    EXPECT_EQ(at(61, 30), qRgb(255, 255, 255));
    // The centred picture keeps its 96 dpi size (10.6 x 5.3 mm) around (50, 80) mm.
    EXPECT_GT(qRed(at(47, 80)), 200);
    EXPECT_GT(qBlue(at(53, 80)), 200);
    EXPECT_EQ(at(42, 80), qRgb(255, 255, 255));
    EXPECT_EQ(at(50, 76), qRgb(255, 255, 255));
    EXPECT_EQ(q.markCalls(), 0) << "a preview marks nothing";
}

TEST_F(Preview, UnreadablePicturesAreReportedAndLeftOut)
{
    LayoutElement& e = m_layout.addElement(ElementKind::Image);
    e.imageFile = "not-a-picture.jpg";
    PngSheetOutput out(m_layout, kData, m_dir.string());
    ASSERT_EQ(out.renderer().imageProblems().size(), 1u);
    MemoryLabelSource q(std::vector<LabelRecord>(5));
    NullProgress progress;
    EXPECT_FALSE(runLabels(q, m_layout.Page, out, progress).failed);
    EXPECT_EQ(out.files().size(), 2u);
}

TEST_F(Preview, UnwritableFolderFailsTheRun)
{
    m_layout.addElement(ElementKind::Text).caption = "x";
    PngSheetOutput out(m_layout, kData, (m_dir / "missing").string());
    MemoryLabelSource q(std::vector<LabelRecord>(1));
    NullProgress progress;
    EXPECT_TRUE(runLabels(q, m_layout.Page, out, progress).failed);
}

TEST(SheetPreviewPicture, PaintsPaperShadowAndLabels)
{
    LabelFormatRec rec;
    ASSERT_TRUE(parseLabelFormatRow("28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;", rec));
    const QImage image = sheetPreviewImage(applySheet(rec));
    EXPECT_EQ(image.size(), QSize(160, 180));
    EXPECT_EQ(image.pixel(159, 1), qRgb(192, 192, 192)); // beside the paper
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));   // the paper's top margin
    const auto steps = sheetPreview(applySheet(rec));
    const PreviewStep& firstLabel = steps[5];
    EXPECT_EQ(image.pixel(firstLabel.x1, firstLabel.y1 + 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(steps[1].x2 + 1, steps[1].y2 / 2), qRgb(128, 128, 128));
}

} // namespace
} // namespace qx7
