// The layout model: page arithmetic, the field naming scheme, derived line counts,
// the template, completing and aligning lines, and the layout check.

#include "core/Prompter.h"
#include "labels/FieldNames.h"
#include "labels/LayoutOperations.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

LayoutElement& addField(LabelLayout& l, const std::string& field, double left = 5, double top = 5,
                        double height = 4)
{
    LayoutElement& e = l.addElement(ElementKind::DataField);
    e.dataField = field;
    e.caption = field;
    e.left = left;
    e.top = top;
    e.height = height;
    return e;
}

std::vector<std::string> fieldsOf(const LabelLayout& l)
{
    std::vector<std::string> names;
    for (const auto& e : l.Elements)
        if (e.kind == ElementKind::DataField)
            names.push_back(e.dataField);
    std::sort(names.begin(), names.end());
    return names;
}

LabelLayout cardLayout()
{
    LabelLayout l;
    l.Page.setPaperSize(PaperSize::Custom);
    l.Page.Width = 1400;
    l.Page.Length = 900;
    l.Page.TopMargin = l.Page.BottomMargin = l.Page.LeftMargin = l.Page.RightMargin = 50;
    return l;
}

TEST(PageProperties, DefaultsAndTheStoredOrderOfTheTenLengths)
{
    TQRPage p;
    const std::array<double, 10> defaults = {100, 2970, 100, 2100, 100, 100, 0, 0, 0, 0};
    EXPECT_EQ(p.values(), defaults);
    p.setValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(p.BottomMargin, 1);
    EXPECT_EQ(p.Length, 2);
    EXPECT_EQ(p.Width, 4);
    EXPECT_EQ(p.FooterLineSpace, 10);
    EXPECT_EQ(p.QSOLines, 6);
    EXPECT_EQ(p.PageTo, 9999);
}

TEST(PageProperties, LabelSizeFollowsThePage)
{
    TQRPage p; // A4, 10 mm margins
    p.setColumns(3);
    p.setRows(8);
    p.ColumnSpace = 25;
    EXPECT_DOUBLE_EQ(p.labelWidth(), (2100 - 200 - 50) / 3.0);
    EXPECT_DOUBLE_EQ(p.labelHeight(), 2770 / 8.0);
    p.setRows(0);
    p.setRows(-2);
    EXPECT_EQ(p.Rows, 8);
    p.LeftMargin = 3000; // nonsense margins show as an empty label, not a negative one
    EXPECT_EQ(p.labelWidth(), 0.0);
}

TEST(PageProperties, StandardPaperTakesItsSizeAndTurns)
{
    TQRPage p;
    p.setPaperSize(PaperSize::Letter);
    EXPECT_DOUBLE_EQ(p.Width, 2159.0);
    EXPECT_DOUBLE_EQ(p.Length, 2794.0);
    p.setOrientation(PageOrientation::Landscape);
    EXPECT_DOUBLE_EQ(p.Width, 2794.0);
    p.setPaperSize(PaperSize::A5);
    EXPECT_DOUBLE_EQ(p.Width, 2100.0);
    EXPECT_DOUBLE_EQ(p.Length, 1480.0);
    p.Width = 1234;
    p.setPaperSize(PaperSize::Custom);
    EXPECT_DOUBLE_EQ(p.Width, 1234.0);
}

TEST(FieldScheme, NamesDecodeIntoTheDialogGroups)
{
    using G = FieldChoice::Group;
    const struct
    {
        const char* name;
        G group;
        int index; // header, item or footer
        int line;
    } cases[] = {
        {"", G::Header, 0, 1},          {"HISCALL", G::Header, 0, 1},
        {"NUMQSOS", G::Header, 3, 1},   {"C_RSTS", G::QsoLine, 5, 3},
        {"r_hrdc", G::QsoLine, 10, 18}, {"B_XTRA", G::QsoLine, 0, 2},
        {"FOOTER7", G::Footer, 7, 1},   {"FOOTERX", G::Footer, 1, 1},
        {"XYZ", G::QsoLine, 0, 1},      {"A_TIMEDATE", G::QsoLine, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FieldChoice f = decodeFieldName(c.name);
        EXPECT_EQ(f.group, c.group);
        const int index = c.group == G::Header   ? f.header
                          : c.group == G::Footer ? f.footer
                                                 : f.item;
        EXPECT_EQ(index, c.index);
        if (c.group == G::QsoLine) {
            EXPECT_EQ(f.line, c.line);
        }
    }
    FieldChoice c;
    c.group = G::QsoLine;
    c.line = 4;
    c.item = 9;
    EXPECT_EQ(fieldNameOf(c), "D_PSEQ");
    EXPECT_EQ(printQueueFieldNames().size(), 6u + 18u * 12u + 9u + 3u);
}

TEST(DerivedCounts, HighestLineAndFooterInUse)
{
    LabelLayout l;
    l.Page.setColumns(3);
    l.Page.setRows(8);
    for (const char* f : {"A_DATE", "B_DATE", "D_MODE", "FOOTER2", "HISCALL"})
        addField(l, f);
    LayoutElement& text = l.addElement(ElementKind::Text);
    text.caption = "F_DATE"; // a text that looks like a field is not one
    EXPECT_EQ(derivedCounts(l), (LayoutCounts{4, 2, 24}));
    EXPECT_EQ(derivedCounts(LabelLayout{}), (LayoutCounts{0, 0, 1}));
}

TEST(MissingFields, CompletesTheLinesOfLineA)
{
    LabelLayout l = cardLayout();
    l.Page.QSOLines = 3;
    addField(l, "A_DATE", 2, 20);
    addField(l, "A_RSTS", 40, 20);
    const MissingFieldsResult r = addMissingFields(l);
    EXPECT_EQ(r.added, 4);
    EXPECT_EQ(r.deleted, 0);
    EXPECT_EQ(r.message(), "4 field(s) added.");
    EXPECT_EQ(fieldsOf(l), (std::vector<std::string>{"A_DATE", "A_RSTS", "B_DATE", "B_RSTS",
                                                     "C_DATE", "C_RSTS"}));
    EXPECT_DOUBLE_EQ(l.findDataField("C_RSTS")->left, 40);
    EXPECT_DOUBLE_EQ(l.findDataField("C_RSTS")->top, 28); // aligned: 20 + 2 x 4
    EXPECT_FALSE(addMissingFields(l).changed());
}

TEST(MissingFields, FewerLinesDeleteTheSurplusAndReportBoth)
{
    LabelLayout l = cardLayout();
    l.Page.FooterLines = 2;
    for (int line = 1; line <= 6; ++line) {
        addField(l, qsoFieldName(line, "DATE"));
        addField(l, qsoFieldName(line, "SUBM"));
    }
    addField(l, "FOOTER1");
    l.Page.QSOLines = 4;
    ScriptedPrompter prompter;
    prompter.expect("1 field(s) added.\r\n4 field(s) deleted.", PromptButton::Ok);
    const MissingFieldsResult r = addMissingFields(l, prompter);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_EQ(r.added, 1); // FOOTER2
    EXPECT_EQ(r.deleted, 4);
    EXPECT_EQ(derivedCounts(l).qsoLines, 4);
    EXPECT_EQ(derivedCounts(l).footerLines, 2);
    EXPECT_FALSE(l.findDataField("E_DATE"));
    EXPECT_FALSE(l.findDataField("F_SUBM"));
}

TEST(MissingFields, SubmodeAndHeardCallAreNotCompleted)
{
    LabelLayout l = cardLayout();
    l.Page.QSOLines = 2;
    addField(l, "A_SUBM");
    addField(l, "A_HRDC");
    EXPECT_FALSE(addMissingFields(l).changed());
}

TEST(AdjustLines, StacksLinesUnderLineAWithTheLineSpace)
{
    for (const double spaceMm : {0.0, 1.5}) {
        SCOPED_TRACE(spaceMm);
        LabelLayout l = cardLayout();
        l.Page.QSOLineSpace = spaceMm * 10;
        LayoutElement& a = addField(l, "A_MODE", 30, 12, 4);
        a.font.bold = true;
        a.width = 17;
        addField(l, "A_DATE", 2, 11, 5); // T = 11, H = 5
        addField(l, "C_MODE", 99, 1, 1);
        addField(l, "D_DATE", 7, 70, 2);
        addField(l, "B_SUBM", 50, 50, 2); // not aligned
        const LayoutCounts counts = adjustLines(l);
        EXPECT_EQ(counts.qsoLines, 4);
        const LayoutElement* c = l.findDataField("C_MODE");
        EXPECT_DOUBLE_EQ(c->top, 11 + 2 * (5 + spaceMm));
        EXPECT_DOUBLE_EQ(c->left, 30);
        EXPECT_DOUBLE_EQ(c->width, 17);
        EXPECT_DOUBLE_EQ(c->height, 4);
        EXPECT_TRUE(c->font.bold);
        EXPECT_DOUBLE_EQ(l.findDataField("A_MODE")->top, 11);
        EXPECT_DOUBLE_EQ(l.findDataField("D_DATE")->top, 11 + 3 * (5 + spaceMm));
        EXPECT_DOUBLE_EQ(l.findDataField("B_SUBM")->top, 50);
    }
}

TEST(AdjustLines, FootersFollowFooterOne)
{
    LabelLayout l = cardLayout();
    l.Page.FooterLineSpace = 10;
    addField(l, "FOOTER1", 3, 60, 3);
    addField(l, "FOOTER3", 40, 5, 9);
    adjustLines(l);
    const LayoutElement* f3 = l.findDataField("FOOTER3");
    EXPECT_DOUBLE_EQ(f3->top, 60 + 2 * (3 + 1));
    EXPECT_DOUBLE_EQ(f3->left, 3);
    EXPECT_DOUBLE_EQ(f3->height, 3);
}

TEST(Template, BuildsTheStandardLabel)
{
    LabelLayout l = cardLayout();
    l.Page.QSOLines = 0;
    l.Page.FooterLines = 2;
    addField(l, "XYZ");
    l.Band.caption = "old";
    ASSERT_TRUE(createLayoutTemplate(l, EstimatedTextMeasure{}));
    EXPECT_EQ(l.Page.QSOLines, 6);
    EXPECT_EQ(l.Band, LabelBand{});
    EXPECT_EQ(derivedCounts(l), (LayoutCounts{6, 2, 1}));
    EXPECT_FALSE(l.findDataField("XYZ"));
    EXPECT_EQ(fieldsOf(l).size(), 2u + 6u * 5u + 2u);
    const LayoutElement* manager = l.findDataField("MANAGER");
    EXPECT_EQ(manager->font.color, Color::fromRgb(0, 0, 255));
    EXPECT_EQ(manager->alignment, TextAlignment::Right);
    const double px = 25.4 / 96; // one design pixel at 100 %
    EXPECT_NEAR(manager->left + manager->width, l.labelWidthMm() - 20 * px, 1e-9);
    const LayoutElement* a = l.findDataField("A_TIME");
    const LayoutElement* b = l.findDataField("B_TIME");
    EXPECT_NEAR(a->left, 160 * px, 1e-9);
    EXPECT_NEAR(a->top, 80 * px, 1e-9);
    EXPECT_NEAR(b->top - a->top, a->height, 1e-9);
    EXPECT_GT(l.findDataField("FOOTER1")->top, l.findDataField("F_DATE")->top);
    const LayoutElement& last = l.Elements.back();
    EXPECT_EQ(last.caption, "TNX for the QSOs");
    EXPECT_NEAR(last.top,
                l.findDataField("FOOTER2")->top + l.findDataField("FOOTER2")->height + 10 * px,
                1e-9);
    l.DataSet.clear();
    EXPECT_FALSE(createLayoutTemplate(l, EstimatedTextMeasure{}));
}

TEST(LayoutCheck, CountsElementsBeyondTheLabelAndSaysSo)
{
    LabelLayout l = cardLayout();                   // label 130 x 80 mm
    addField(l, "A_DATE", 100, 10, 4).width = 30;   // ends exactly at the edge
    addField(l, "B_DATE", 100, 10, 4).width = 30.5; // beyond by less than the margin
    addField(l, "C_DATE", 10, 77, 4);
    addField(l, "D_DATE", -1, 10, 4);
    EXPECT_EQ(countElementsOutside(l), 3);
    ScriptedPrompter warned;
    warned.expect("QX Police Warning: \r\n\r\n3 element(s) are not visible and outside of\r\n"
                  "the printable area!\r\n\r\nIncrease the label size temporarily (Ctrl-Y),\r\n"
                  "move the hidden elements into the visible\r\narea and then set the label "
                  "size back to\r\nthe original value.",
                  PromptButton::Ok);
    EXPECT_EQ(checkLayout(l, warned, false), 3);
    EXPECT_TRUE(warned.failures.empty());
    l.Elements.resize(1);
    ScriptedPrompter quiet;
    EXPECT_EQ(checkLayout(l, quiet, false), 0);
    EXPECT_TRUE(quiet.shownTexts.empty());
    ScriptedPrompter asked;
    asked.expect("Layout Analyzer: No problems found.", PromptButton::Ok);
    checkLayout(l, asked, true);
    EXPECT_TRUE(asked.allAnswered());
}

// Layouts that would print blank sheets are told apart from ones that print something,
// however little of them lies on the label.
TEST(LayoutCheck, SaysWhyALayoutWouldPrintNothing)
{
    LabelLayout good = cardLayout();                 // label 130 x 80 mm
    addField(good, "A_DATE", 125, 78, 4).width = 30; // mostly beyond the edge
    EXPECT_EQ(blankLayoutProblem(good), "");

    LabelLayout noPage = good;
    noPage.Page.Width = noPage.Page.Length = 0;
    LabelLayout wideMargins = good;
    wideMargins.Page.LeftMargin = wideMargins.Page.Width;
    LabelLayout tallMargins = good;
    tallMargins.Page.TopMargin = tallMargins.Page.BottomMargin = tallMargins.Page.Length;
    LabelLayout allOff = good;
    allOff.Elements.back().left = 131;
    addField(allOff, "B_DATE", -40, 10, 4).width = 30;
    addField(allOff, "C_DATE", 10, 80.5, 4);
    LabelLayout empty = good;
    empty.Elements.clear();
    const struct
    {
        const LabelLayout& layout;
        const char* says;
    } cases[] = {
        {noPage, "has no size (0 x 0 mm)"},
        {wideMargins, "leave no room for a label"},
        {tallMargins, "leave no room for a label"},
        {allOff, "No element of the layout lies on its 130 x 80 mm label (3 element(s)"},
        {empty, "(0 element(s) in all)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const std::string problem = blankLayoutProblem(c.layout);
        EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
        EXPECT_NE(problem.find("nothing"), std::string::npos) << problem;
    }
}

TEST(Elements, NamesTakeTheLowestFreeNumber)
{
    LabelLayout l;
    l.addElement(ElementKind::Text);
    l.addElement(ElementKind::Text);
    l.addElement(ElementKind::Shape);
    EXPECT_EQ(l.Elements[1].name, "QRLabel2");
    EXPECT_EQ(l.Elements[2].name, "QRShape1");
    l.removeElement("qrlabel1");
    EXPECT_EQ(l.addElement(ElementKind::Text).name, "QRLabel1");
    EXPECT_EQ(l.addElement(ElementKind::Expression).name, "QRExpr1");

    // Names written by hand: only the exact spelling of a number takes it, in any case.
    LabelLayout hand;
    for (const char* name : {"qrlabel1", "QRLabel03", "QRLabel2x", "QRLabel", "QRLabel0",
                             "QRLabel99999999999", "QRShape2"})
        hand.addElement(ElementKind::Text).name = name;
    EXPECT_EQ(hand.freeElementName(ElementKind::Text), "QRLabel2");
    hand.addElement(ElementKind::Text);
    EXPECT_EQ(hand.freeElementName(ElementKind::Text), "QRLabel3");
    EXPECT_EQ(hand.freeElementName(ElementKind::Shape), "QRShape1");

    // A full run of numbers continues after its end.
    LabelLayout many;
    for (int i = 0; i < 3000; ++i)
        many.addElement(ElementKind::Shape);
    EXPECT_EQ(many.Elements.back().name, "QRShape3000");
    many.removeElement("QRShape1500");
    EXPECT_EQ(many.addElement(ElementKind::Shape).name, "QRShape1500");
    EXPECT_EQ(many.addElement(ElementKind::Shape).name, "QRShape3001");
}

} // namespace
} // namespace qx7
