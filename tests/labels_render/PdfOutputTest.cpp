// Labels printed to the "PDF file" printer land where the sheet has them: the page is
// exactly the paper, and every text sits in its label's cell (read back with
// pdftotext -bbox from poppler-utils).

#include "core/Progress.h"
#include "core/Prompter.h"
#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/render/LabelPrinting.h"
#include "labels/render/LayoutFindings.h"
#include "labels/render/PdfSheetOutput.h"
#include "labels/ShippedLayouts.h"
#include "labels_render/PdfText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

class PdfOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("qx7-pdf-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        ASSERT_EQ(installShippedLayouts(m_dir.string()), 2);
        std::string error;
        ASSERT_TRUE(openLayoutFile((m_dir / kSampleLayoutName).string(), m_layout, &error))
            << error;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static MemoryLabelSource queue(int n)
    {
        std::vector<LabelRecord> records;
        for (int i = 1; i <= n; ++i) {
            LabelRecord r;
            const std::string id = std::to_string(100 + i);
            r.set("HISCALL", "K" + id + "X");
            r.set("MYCALL", "DL" + id + "Q");
            r.set("MANAGER", "via: W" + id + "M");
            r.set("A_DATE", "2024-01-" + id);
            r.set("F_RSTS", "R" + id);
            r.set("FOOTER2", "F" + id + "2");
            records.push_back(std::move(r));
        }
        return MemoryLabelSource(std::move(records));
    }

    fs::path m_dir;
    LabelLayout m_layout;
};

TEST_F(PdfOutput, PageIsThePaperAndTextsLandInTheirCells)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    MemoryLabelSource q = queue(30);
    m_layout.Page.StartAt = 5; // a sheet fed again: positions 1-4 are used
    const std::string pdf = (m_dir / "labels.pdf").string();
    PdfSheetOutput output(m_layout, m_dir.string(), pdf);
    NullProgress progress;
    const LabelRunResult r = runLabels(q, m_layout.Page, output, progress);
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_EQ(r.marked, 30);
    EXPECT_FALSE(fs::exists(pdf + ".part"));

    const PdfText text = readWithPdftotext(pdf);
    ASSERT_EQ(text.pageSizes.size(), 2u);
    for (const auto& [w, h] : text.pageSizes) {
        EXPECT_NEAR(w, 210.0, 0.5);
        EXPECT_NEAR(h, 297.0, 0.5);
    }
    const double labelW = m_layout.labelWidthMm(), labelH = m_layout.labelHeightMm();
    const auto element = [&](const char* field) { return *m_layout.findDataField(field); };
    const LayoutElement call = element("HISCALL"), date = element("A_DATE"),
                        rsts = element("F_RSTS"), footer = element("FOOTER2");
    constexpr double tolerance = 0.5;
    for (const LabelPlacement& p : planLabels(30, m_layout.Page)) {
        const std::string id = std::to_string(101 + p.record);
        SCOPED_TRACE("label " + id);
        const double x = m_layout.Page.LeftMargin / 10 + p.column * labelW;
        const double y = m_layout.Page.TopMargin / 10 + p.row * labelH;
        const struct
        {
            std::string word;
            const LayoutElement& e;
        } checks[] = {{"K" + id + "X", call},
                      {"2024-01-" + id, date},
                      {"R" + id, rsts},
                      {"F" + id + "2", footer}};
        for (const auto& c : checks) {
            SCOPED_TRACE(c.word);
            const Word* w = findWord(text, c.word);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->page, p.sheet);
            if (c.e.alignment == TextAlignment::Right)
                EXPECT_NEAR(w->xMax, x + c.e.left + c.e.width, tolerance);
            else
                EXPECT_NEAR(w->xMin, x + c.e.left, tolerance);
            EXPECT_GE(w->yMin, y + c.e.top - tolerance);
            // pdftotext's box is the font's whole line, ascent to descent; with some
            // fonts (Nimbus Sans standing in for Arial) a 12 pt line is taller than the
            // element's 4.9 mm while the letters are inside, so the line's middle is checked.
            EXPECT_LE((w->yMin + w->yMax) / 2, y + c.e.top + c.e.height);
        }
    }
}

TEST_F(PdfOutput, AnUnwritableFileFailsAndMarksNothing)
{
    MemoryLabelSource q = queue(3);
    PdfSheetOutput output(m_layout, m_dir.string(), (m_dir / "no/such/folder/x.pdf").string());
    NullProgress progress;
    const LabelRunResult r = runLabels(q, m_layout.Page, output, progress);
    EXPECT_TRUE(r.failed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(q.markCalls(), 0);
}

// The user learns why the file could not be written, and no label counts as printed.
TEST_F(PdfOutput, AFailedFileSaysWhy)
{
    fs::create_directories(m_dir / "taken.pdf" / "inside");
    std::ofstream(m_dir / "plain.txt") << "a file, not a folder";
    const struct
    {
        std::string path;
        std::string says;
    } cases[] = {
        {(m_dir / "no/such/folder/x.pdf").string(),
         "the folder " + (m_dir / "no/such/folder").string() + " does not exist"},
        {(m_dir / "taken.pdf").string(), "a folder of that name is in the way"},
        {(m_dir / "plain.txt/x.pdf").string(),
         (m_dir / "plain.txt").string() + " is a file, not a folder"},
        {(m_dir / "plain.txt/deeper/x.pdf").string(),
         "the folder " + (m_dir / "plain.txt/deeper").string() + " does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        MemoryLabelSource q = queue(3);
        PdfSheetOutput output(m_layout, m_dir.string(), c.path);
        NullProgress progress;
        const LabelRunResult r = runLabels(q, m_layout.Page, output, progress);
        EXPECT_TRUE(r.failed);
        EXPECT_EQ(r.error, "cannot write " + c.path + ": " + c.says);
        EXPECT_EQ(q.markCalls(), 0);
    }
}

// A layout that would print blank sheets is refused before anything is written, so no
// label leaves the queue as printed; a preview of it still shows what it is.
TEST_F(PdfOutput, ABlankLayoutIsRefusedAndMarksNothing)
{
    m_layout.Page.LeftMargin = m_layout.Page.Width;
    MemoryLabelSource q = queue(5);
    LabelOutputTarget pdf;
    pdf.kind = LabelOutputTarget::Kind::PdfFile;
    pdf.path = (m_dir / "blank.pdf").string();
    NullProgress progress;
    ScriptedPrompter never;
    const PrintJobResult r =
        runPrintJob(m_layout, m_dir.string(), q, pdf, progress, {true, true, &never});
    EXPECT_TRUE(r.refused);
    EXPECT_TRUE(r.run.failed);
    EXPECT_NE(r.run.error.find("no room for a label"), std::string::npos) << r.run.error;
    EXPECT_FALSE(fs::exists(pdf.path));
    EXPECT_EQ(q.markCalls(), 0);
    EXPECT_EQ(q.count(), 5);

    LabelLayout offLabel;
    ASSERT_TRUE(openLayoutFile((m_dir / kSampleLayoutName).string(), offLabel));
    for (LayoutElement& e : offLabel.Elements)
        e.top += 500;
    EXPECT_TRUE(
        runPrintJob(offLabel, m_dir.string(), q, pdf, progress, {true, true, &never}).refused);
    EXPECT_EQ(q.markCalls(), 0);
}

// Each fault the layout check knows refuses the print run with a message naming the
// element or the page; nothing is written and no label is marked. Mended, it prints.
TEST_F(PdfOutput, EveryLayoutCheckFindingRefusesThePrintNamingWhere)
{
    const auto withElement = [this](ElementKind kind, auto&& set) {
        LabelLayout l = m_layout;
        LayoutElement& e = l.addElement(kind);
        e.left = e.top = 1;
        e.width = e.height = 5;
        set(e);
        return std::pair{l, e.name};
    };
    const auto [outside, outsideName] = withElement(ElementKind::Text, [this](LayoutElement& e) {
        e.caption = "x";
        e.left = m_layout.labelWidthMm() - 2;
    });
    const auto [picture, pictureName] =
        withElement(ElementKind::Image, [](LayoutElement& e) { e.imageFile = "gone.jpg"; });
    const auto [expression, expressionName] = withElement(
        ElementKind::Expression, [](LayoutElement& e) { e.expression = "COPY(A_DATE, 1)"; });
    const auto [unknown, unknownName] = withElement(
        ElementKind::Expression, [](LayoutElement& e) { e.expression = "NOSUCHFIELD+'x'"; });
    LabelLayout larger = m_layout;
    larger.Page.LeftMargin = -150;
    const struct
    {
        LabelLayout layout;
        std::string where;
        std::string says;
    } cases[] = {
        {outside, outsideName, "reaches beyond the label's right edge"},
        {picture, pictureName, "the picture cannot be read"},
        {expression, expressionName, "does not evaluate"},
        {unknown, unknownName, "does not evaluate"},
        {larger, "Page", "larger than its"},
    };
    LabelOutputTarget pdf;
    pdf.kind = LabelOutputTarget::Kind::PdfFile;
    pdf.path = (m_dir / "refused.pdf").string();
    NullProgress progress;
    ScriptedPrompter never;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const std::vector<LayoutFinding> findings = findLayoutProblems(c.layout, m_dir.string());
        ASSERT_EQ(findings.size(), 1u) << findingsText(findings);
        EXPECT_EQ(findings[0].where, c.where);
        EXPECT_NE(findings[0].problem.find(c.says), std::string::npos) << findings[0].problem;
        MemoryLabelSource q = queue(3);
        LabelLayout l = c.layout;
        const PrintJobResult r =
            runPrintJob(l, m_dir.string(), q, pdf, progress, {true, true, &never});
        EXPECT_TRUE(r.refused);
        EXPECT_NE(r.run.error.find(c.where + ": "), std::string::npos) << r.run.error;
        EXPECT_FALSE(fs::exists(pdf.path));
        EXPECT_EQ(q.markCalls(), 0);
    }
    EXPECT_TRUE(findLayoutProblems(m_layout, m_dir.string()).empty());
    // The outside warning keeps its own words ahead of the list.
    const std::string message = layoutCheckMessage(findLayoutProblems(outside, m_dir.string()));
    EXPECT_EQ(message.rfind("QX Police Warning: ", 0), 0u) << message;
    EXPECT_NE(message.find(outsideName + ": reaches beyond"), std::string::npos) << message;
    MemoryLabelSource q = queue(3);
    EXPECT_FALSE(
        runPrintJob(m_layout, m_dir.string(), q, pdf, progress, {false, false, nullptr}).refused);
    EXPECT_TRUE(fs::exists(pdf.path));
}

TEST_F(PdfOutput, LandscapeCardPageIsWiderThanLong)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    LabelLayout card;
    ASSERT_TRUE(openLayoutFile((m_dir / kCardLayoutName).string(), card));
    MemoryLabelSource q = queue(2);
    const std::string pdf = (m_dir / "cards.pdf").string();
    PdfSheetOutput output(card, m_dir.string(), pdf);
    NullProgress progress;
    ASSERT_FALSE(runLabels(q, card.Page, output, progress).failed);
    const PdfText text = readWithPdftotext(pdf);
    ASSERT_EQ(text.pageSizes.size(), 2u);
    EXPECT_NEAR(text.pageSizes[0].first, 140.0, 0.2);
    EXPECT_NEAR(text.pageSizes[0].second, 90.0, 0.2);
    const Word* call = findWord(text, "K102X");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->page, 2);
    EXPECT_NEAR(call->xMin, 5 + card.findDataField("HISCALL")->left, 0.5);
}

} // namespace
} // namespace qx7
