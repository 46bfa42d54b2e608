// Layout files: every property survives a round trip, our own files come back byte for
// byte, damaged files are refused with a reason, and the shipped layouts are sound.

#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

class TempFolder
{
public:
    TempFolder()
    {
        m_path = fs::temp_directory_path() /
                 ("qx7-qxd-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A layout where every property differs from its default.
LabelLayout everyProperty()
{
    LabelLayout l;
    l.Units = LayoutUnit::Inches;
    l.Zoom = 150;
    l.Description = {"first line", "  indented; with = signs", ""};
    l.ReportTitle = "\"quoted\" title";
    l.Page.PaperSize = PaperSize::Custom;
    l.Page.Orientation = PageOrientation::Landscape;
    l.Page.setValues({1.5, 900, 3.25, 1400, 0.1, 1e-3, 2, 3, 4, 5});
    l.Page.Columns = 2;
    l.Page.Rows = 7;
    l.Page.QSOLines = 3;
    l.Page.FooterLines = 1;
    l.Page.LabelName = "Strålfors";
    l.Page.LabelType = "ES-4 (105 x 140)";
    l.Page.Reverse = true;
    l.Page.StartAt = 5;
    l.Page.PageFrom = 2;
    l.Page.PageTo = 3;
    l.Page.Ruler = true;
    l.Band.caption = "band";
    l.Band.blockDelete = false;
    l.Band.startPageNum = 1;
    l.Band.pageStep = 2;
    l.Band.frame = {true, false, true, false, 3, FrameStyle::DashDotDot, Color::fromRgb(1, 2, 3)};
    l.Band.background = Color{0xFFFFE1, "clInfoBk"};

    LayoutElement& text = l.addElement(ElementKind::Text);
    text.caption = " leading and trailing ";
    text.font = {"DejaVu Serif", 7.5, true, true, true, true, Color::fromRgb(255, 0, 0)};
    text.alignment = TextAlignment::Centered;
    text.rotation = 900;
    text.transparent = false;
    text.background = Color::fromRgb(10, 20, 30);
    text.autoSize = text.autoStretch = text.wordWrap = text.parentFont = text.alignToBand = true;
    text.left = -0.1;
    text.top = 1.0 / 3.0;
    text.frame.right = true;
    LayoutElement& field = l.addElement(ElementKind::DataField);
    field.dataField = "B_RSTS";
    field.caption = "B_RSTS";
    field.mask = "!>L";
    LayoutElement& expr = l.addElement(ElementKind::Expression);
    expr.expression = "MYCALL+' confirms \\ the QSO(s):'";
    LayoutElement& memo = l.addElement(ElementKind::Memo);
    memo.lines = {"line one", "", "tab\there", "back\\slash \"q\""};
    LayoutElement& shape = l.addElement(ElementKind::Shape);
    shape.shape = ShapeKind::LeftAndRight;
    shape.penStyle = PenStyle::DashDot;
    shape.penColor = Color::fromRgb(0, 128, 0);
    shape.penMode = PenMode::Xor;
    shape.penWidth = 4;
    shape.brushStyle = BrushStyle::DiagCross;
    shape.brushColor = Color::fromRgb(9, 9, 9);
    LayoutElement& image = l.addElement(ElementKind::Image);
    image.imageFile = "pictures/my card.jpg";
    image.center = true;
    image.stretch = true;
    return l;
}

TEST(QxdFile, EveryPropertySurvivesARoundTrip)
{
    const LabelLayout original = everyProperty();
    const std::string text = layoutToText(original);
    LabelLayout back;
    std::string error;
    ASSERT_TRUE(layoutFromText(text, back, &error)) << error;
    EXPECT_EQ(back.Page, original.Page);
    EXPECT_EQ(back.Band, original.Band);
    ASSERT_EQ(back.Elements.size(), original.Elements.size());
    for (size_t i = 0; i < back.Elements.size(); ++i)
        EXPECT_EQ(back.Elements[i], original.Elements[i]) << original.Elements[i].name;
    EXPECT_EQ(back, original);
    EXPECT_EQ(layoutToText(back), text);
}

TEST(QxdFile, SavedFileComesBackByteForByte)
{
    TempFolder dir;
    const std::string path = dir.file("round.qxd");
    ASSERT_TRUE(saveLayout(path, everyProperty()));
    const std::string first = readAll(path);
    LabelLayout loaded;
    ASSERT_TRUE(loadLayout(path, loaded));
    ASSERT_TRUE(saveLayout(path, loaded));
    EXPECT_EQ(readAll(path), first);
    EXPECT_NE(first.find("LabelName=Strålfors"), std::string::npos) << "kept readable";
}

TEST(QxdFile, DamagedFilesAreRefusedWithAReason)
{
    const std::string good = layoutToText(everyProperty());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const struct
    {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "not a label layout"},
        {"[Page]\nColumns=3\n", "not a label layout"},
        {replaced("Version=2", "Version=7"), "newer version"},
        {replaced("Columns=2", "Columns=0"), "Page/Columns"},
        {replaced("Values=1.5;", "Values="), "Page/Values"},
        {replaced(";5\n", ";5;6\n"), "Page/Values"},
        {replaced("FontSize=7.5", "FontSize=big"), "FontSize"},
        {replaced("Kind=Shape", "Kind=Spline"), "Kind"},
        {replaced("PaperSize=Custom", "PaperSize=Napkin"), "Page/PaperSize"},
        {replaced("Reverse=1", "Reverse=yes"), "Page/Reverse"},
        {replaced("FontColor=#FF0000", "FontColor=#FF00"), "FontColor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        LabelLayout l;
        std::string error;
        EXPECT_FALSE(layoutFromText(c.text, l, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    LabelLayout untouched;
    EXPECT_FALSE(loadLayout("/nonexistent/folder/x.qxd", untouched));
    EXPECT_EQ(untouched, LabelLayout{});
}

// A file cut short anywhere (a full disk, an interrupted copy) is refused with its name
// and the place where it stops, never loaded as a smaller layout.
TEST(QxdFile, FileCutShortIsRefusedSayingWhere)
{
    TempFolder dir;
    const std::string path = dir.file("cut.qxd");
    const std::string whole = layoutToText(everyProperty());
    for (size_t keep : {whole.size() / 2, whole.size() - 20, whole.find("[Element ") + 3,
                        whole.rfind("[End of layout]")}) {
        SCOPED_TRACE(keep);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, keep);
        LabelLayout l;
        std::string error;
        EXPECT_FALSE(loadLayout(path, l, &error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find("cut off after line"), std::string::npos) << error;
        EXPECT_EQ(l, LabelLayout{});
    }
    std::string miscounted = whole;
    miscounted.replace(miscounted.rfind("Elements="), std::string::npos, "Elements=99\n");
    LabelLayout l;
    std::string error;
    EXPECT_FALSE(layoutFromText(miscounted, l, &error));
    EXPECT_NE(error.find("announces 99"), std::string::npos) << error;
}

TEST(QxdFile, OpeningTakesTheDerivedCountsAndWritesThemBack)
{
    TempFolder dir;
    const std::string path = dir.file("counts.qxd");
    LabelLayout l;
    l.Page.QSOLines = 6;
    l.Page.FooterLines = 0;
    l.Page.StartAt = 4;
    l.Page.Reverse = true;
    for (const char* f : {"A_DATE", "C_TIME", "FOOTER3"}) {
        LayoutElement& e = l.addElement(ElementKind::DataField);
        e.dataField = f;
    }
    ASSERT_TRUE(saveLayout(path, l));
    LabelLayout opened;
    const auto counts = openLayoutFile(path, opened);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, (LayoutCounts{3, 3, 1}));
    EXPECT_EQ(opened.Page.QSOLines, 3);
    EXPECT_EQ(opened.Page.StartAt, 1) << "run values reset on load";
    EXPECT_TRUE(opened.Page.Reverse);
    LabelLayout onDisk;
    ASSERT_TRUE(loadLayout(path, onDisk));
    EXPECT_EQ(onDisk.Page.QSOLines, 3);
    EXPECT_EQ(onDisk.Page.FooterLines, 3);
}

TEST(ShippedLayouts, AreSoundAndInstalledOnlyWhenMissing)
{
    TempFolder dir;
    ASSERT_EQ(installShippedLayouts(dir.file("")), 2);
    LabelLayout sample, card;
    std::string error;
    ASSERT_TRUE(loadLayout(dir.file(kSampleLayoutName), sample, &error)) << error;
    EXPECT_EQ(sample.Page.PaperSize, PaperSize::A4);
    EXPECT_EQ(sample.Page.Columns, 3);
    EXPECT_EQ(sample.Page.Rows, 8);
    EXPECT_EQ(derivedCounts(sample), (LayoutCounts{6, 2, 24}));
    EXPECT_EQ(sample.Page.QSOLines, 6);
    EXPECT_EQ(sample.Page.FooterLines, 2);
    EXPECT_EQ(countElementsOutside(sample), 0);
    ASSERT_TRUE(loadLayout(dir.file(kCardLayoutName), card, &error)) << error;
    EXPECT_DOUBLE_EQ(card.Page.Width, 1400);
    EXPECT_DOUBLE_EQ(card.Page.Length, 900);
    EXPECT_EQ(card.Page.labelsPerSheet(), 1);
    EXPECT_EQ(countElementsOutside(card), 0);
    EXPECT_EQ(derivedCounts(card).qsoLines, card.Page.QSOLines);

    std::ofstream(dir.file(kSampleLayoutName), std::ios::trunc) << "edited by the user";
    EXPECT_EQ(installShippedLayouts(dir.file("")), 0);
    EXPECT_EQ(readAll(dir.file(kSampleLayoutName)), "edited by the user");
    EXPECT_EQ(installShippedLayouts("/nonexistent/folder"), -1);
}

} // namespace
} // namespace qx7
