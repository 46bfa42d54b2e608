// qx7cli layout: the designer's layout operations run on the real program, checked by
// reading the saved layout file back.

#include "labels/QxdFile.h"
#include "RunQx7cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

class LayoutCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::temp_directory_path() /
                 ("qx7-cli-layout-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        // The first run puts the shipped layouts into the layout folder.
        const auto info = qx7cli(m_home, "layout info");
        ASSERT_EQ(info.code, 0) << info.out;
        ASSERT_TRUE(fs::exists(layoutFile()));
    }
    void TearDown() override { fs::remove_all(m_home); }

    fs::path layoutFile() const { return m_home / "layouts" / "sample.qxd"; }
    LabelLayout read() const
    {
        LabelLayout l;
        std::string error;
        EXPECT_TRUE(loadLayout(layoutFile().string(), l, &error)) << error;
        return l;
    }
    void write(const LabelLayout& l) const { ASSERT_TRUE(saveLayout(layoutFile().string(), l)); }
    std::string bytes() const
    {
        std::ifstream in(layoutFile(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path m_home;
};

TEST_F(LayoutCli, GeometryIsRecomputedSavedAndRefusedWhenItDoesNotFit)
{
    // Two columns of 80 mm: the gap takes the rest of the 210 mm page.
    auto r = qx7cli(m_home, "layout geometry --set left=10 --set right=10 --set columns=2 "
                            "--set label-width=80 --save");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("space (columns rows): 30.00"), std::string::npos) << r.out;
    LabelLayout l = read();
    EXPECT_EQ(l.Page.Columns, 2);
    EXPECT_NEAR(l.Page.ColumnSpace, 300.0, 0.5);
    EXPECT_NEAR(l.labelWidthMm(), 80.0, 0.05);
    EXPECT_EQ(l.Page.LabelName, "Custom");
    EXPECT_TRUE(l.Page.LabelType.empty());

    // Without --save nothing is written.
    const std::string saved = bytes();
    r = qx7cli(m_home, "layout geometry --set rows=2");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(bytes(), saved);

    // Each refusal names the value and leaves the file as it was.
    const struct
    {
        const char* args;
        const char* message;
    } refused[] = {
        {"--set top=150 --set bottom=150", "Error: Margins greater than page size!"},
        {"--set column-space=190", "Error: Space greater than label size!"},
        {"--set label-width=120", "Error: Labels greater than page size!"},
        {"--set width=300", "only for paper Custom"},
        {"--set columns=0", "columns must lie in [1..99]"},
    };
    for (const auto& c : refused) {
        r = qx7cli(m_home, std::string("layout geometry ") + c.args + " --save");
        EXPECT_EQ(r.code, 1) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_EQ(bytes(), saved) << c.args;
    }

    // A custom paper takes the size typed, landscape swaps it.
    r = qx7cli(m_home, "layout geometry --set paper=Custom --set width=100 --set length=148 "
                       "--set orientation=landscape --set columns=1 --set rows=1 --save");
    ASSERT_EQ(r.code, 0) << r.out;
    l = read();
    EXPECT_EQ(l.Page.PaperSize, PaperSize::Custom);
    EXPECT_EQ(l.Page.Orientation, PageOrientation::Landscape);
    EXPECT_NEAR(l.Page.Width, 1480.0, 0.5);
    EXPECT_NEAR(l.Page.Length, 1000.0, 0.5);
}

TEST_F(LayoutCli, AddMissingFollowsTheLineCountsAndAdjustAlignsTheLines)
{
    auto r = qx7cli(m_home, "layout add-missing --qso-lines 3 --footer-lines 1");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("field(s) deleted."), std::string::npos) << r.out;
    LabelLayout l = read();
    EXPECT_EQ(l.findDataField("D_DATE"), nullptr);
    EXPECT_EQ(l.findDataField("FOOTER2"), nullptr);
    ASSERT_NE(l.findDataField("C_DATE"), nullptr);
    EXPECT_EQ(l.Page.QSOLines, 3);
    EXPECT_EQ(l.Page.FooterLines, 1);

    r = qx7cli(m_home, "layout add-missing --qso-lines 5");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("field(s) added."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("5 QSO line(s)"), std::string::npos) << r.out;
    l = read();
    ASSERT_NE(l.findDataField("E_RSTS"), nullptr);

    // Nothing to do says so and leaves the file alone.
    const std::string saved = bytes();
    r = qx7cli(m_home, "layout add-missing");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(bytes(), saved);

    // A line moved out of place goes back under the one above it.
    const double aTop = l.findDataField("A_DATE")->top;
    const double bTop = l.findDataField("B_DATE")->top;
    l.findDataField("C_DATE")->top += 7;
    write(l);
    r = qx7cli(m_home, "layout adjust");
    ASSERT_EQ(r.code, 0) << r.out;
    l = read();
    EXPECT_NEAR(l.findDataField("C_DATE")->top, aTop + 2 * (bTop - aTop), 0.01);
}

TEST_F(LayoutCli, TemplateNeedsConsentAndCheckFindsElementsOutside)
{
    const std::string before = bytes();
    auto r = qx7cli(m_home, "--no layout template");
    EXPECT_EQ(r.code, 2) << r.out;
    EXPECT_EQ(bytes(), before);

    r = qx7cli(m_home, "layout template --yes");
    ASSERT_EQ(r.code, 0) << r.out;
    LabelLayout l = read();
    EXPECT_NE(l.findDataField("HISCALL"), nullptr);
    EXPECT_NE(l.findDataField("MANAGER"), nullptr);
    EXPECT_NE(l.findDataField("F_RSTS"), nullptr);
    EXPECT_EQ(l.findDataField("G_DATE"), nullptr);

    // The sample label is 70 x 36 mm; the template is made for a larger one.
    l.Page.setColumns(1);
    l.Page.setRows(1);
    l.Page.LeftMargin = l.Page.RightMargin = l.Page.TopMargin = l.Page.BottomMargin = 100;
    write(l);
    r = qx7cli(m_home, "layout check");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Layout Analyzer: No problems found."), std::string::npos) << r.out;

    l.Elements.front().left = l.labelWidthMm() * 20; // far beyond the label at any zoom
    write(l);
    r = qx7cli(m_home, "layout check");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("1 element(s) are not visible"), std::string::npos) << r.out;

    r = qx7cli(m_home, "layout frobnicate");
    EXPECT_EQ(r.code, 2);
}

// A catalogue sheet by maker and type name, and elements lined up by name; unknown
// makers, sheets and elements are named and change nothing.
TEST_F(LayoutCli, SheetFromTheCatalogueAndAlignedElementsAreSaved)
{
    auto r = qx7cli(m_home, "layout sheet aone 28171");
    ASSERT_EQ(r.code, 0) << r.out;
    LabelLayout l = read();
    EXPECT_EQ(l.Page.LabelName, "AOne");
    EXPECT_EQ(l.Page.LabelType, "28171 (90.2 x 42.3)");
    EXPECT_EQ(l.Page.Columns, 2);
    EXPECT_EQ(l.Page.Rows, 6);
    EXPECT_NEAR(l.labelWidthMm(), 90.2, 1e-6);
    EXPECT_NEAR(l.Page.ColumnSpace, 25.0, 1e-6);

    const std::string saved = bytes();
    r = qx7cli(m_home, "layout sheet NoSuchMaker 1");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("no label maker \"NoSuchMaker\""), std::string::npos) << r.out;
    r = qx7cli(m_home, "layout sheet AOne 99999");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("AOne has no sheet \"99999\""), std::string::npos) << r.out;
    r = qx7cli(m_home, "layout align left QRLabel1 NoSuchElement");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("no element NoSuchElement"), std::string::npos) << r.out;
    EXPECT_EQ(bytes(), saved);

    r = qx7cli(m_home, "layout align left QRLabel1 QRDBText1 QRDBText2");
    ASSERT_EQ(r.code, 0) << r.out << r.out;
    l = read();
    const double left = l.findElement("QRLabel1")->left;
    EXPECT_EQ(l.findElement("QRDBText1")->left, left);
    EXPECT_EQ(l.findElement("QRDBText2")->left, left);
}

} // namespace
} // namespace qx7
