// Layout expressions: what they print for a queue record, and that no input can do
// more than fail with "Error in expression!".

#include "labels/Expression.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

LabelRecord sampleRecord()
{
    LabelRecord r;
    r.set("HISCALL", "DLØABC");
    r.set("MYCALL", "OE1XYZ");
    r.set("MANAGER", "via:  W3HNK");
    r.set("NUMQSOS", "2");
    r.set("A_DATE", "2024-03-17");
    r.set("a_band", "20m");
    return r;
}

TEST(Expressions, EvaluateAgainstARecord)
{
    const LabelRecord record = sampleRecord();
    const struct
    {
        const char* text;
        const char* result;
    } cases[] = {
        {"MYCALL+' confirms the following QSO(s):'", "OE1XYZ confirms the following QSO(s):"},
        {"COPY(A_DATE, 1, 4)", "2024"},
        {"COPY(A_DATE, 6, 100)", "03-17"},
        {"COPY(A_DATE, 0, 2)", "20"},
        {"COPY(A_DATE, 11, 2)", ""},
        {"COPY(HISCALL, 3, 1)", "Ø"},
        {"LEN(HISCALL)", "6"},
        {"lower(hiscall)", "dløabc"},
        {"UPPER('via ärger')", "VIA ÄRGER"},
        {"TRIM('  x  ') + '|'", "x|"},
        {"IF(NUMQSOS = '1', 'QSO', 'QSOs')", "QSOs"},
        {"IF(LEN(MANAGER) > 0 AND NOT (A_BAND = '40m'), 'yes', 'no')", "yes"},
        {"IF(B_DATE = '' OR 1/0 = 1, 'empty', 'x')", "empty"},
        {"1 + 2 * 3", "7"},
        {"(1 + 2) * 3 - -1", "10"},
        {"7 / 2", "3.5"},
        {"INT(7 / 2)", "3"},
        {"'No. ' + 3", "No. 3"},
        {"STR(LEN(MYCALL)) + 'x'", "6x"},
        {"\"double \"\"quoted\"\"\"", "double \"quoted\""},
        {"'it''s'", "it's"},
        {"PAGENUMBER", "4"},
        {"COLUMNNUMBER()", "2"},
        {"REPORTTITLE + '!'", "Title!"},
        {"FOOTER9", ""},
        {"'a' < 'b'", "True"},
    };
    ExpressionContext ctx;
    ctx.record = &record;
    ctx.pageNumber = 4;
    ctx.columnNumber = 2;
    ctx.reportTitle = "Title";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Expression e(c.text);
        ASSERT_TRUE(e.parsed());
        const auto v = e.evaluate(ctx);
        ASSERT_TRUE(v);
        EXPECT_EQ(v->display(), c.result);
    }
}

TEST(Expressions, FaultsAreErrorsNeverCrashes)
{
    const LabelRecord record = sampleRecord();
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    const std::string minus = std::string(5000, '-') + "1";
    const std::string nots = "NOT " + std::string(2000, 'N') + " 1";
    const char* cases[] = {
        "",
        "MYCALL +",
        "'unterminated",
        "COPY(A_DATE, 1)",
        "COPY(A_DATE, 'x', 2)",
        "COPY(1, 1, 1)",
        "UNKNOWNFIELD",
        "NOSUCH(1)",
        "1 / 0",
        "IF('x', 1, 2)",
        "IF(1 = 1, 2)",
        "NOT 'x'",
        "-'x'",
        "1 2",
        "MYCALL = 1",
        "'a' + (1 = 1)",
        "UPPER(1)",
        "LEN()",
        "1 # 2",
        "((1)",
        "1)",
        "1e308 * 1e308",
        "1..2",
    };
    ExpressionContext ctx;
    ctx.record = &record;
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Expression(text).evaluate(ctx));
        EXPECT_EQ(Expression(text).evaluateText(ctx), "");
    }
    for (const std::string& text : {deep, minus, nots})
        EXPECT_FALSE(Expression(text).evaluate(ctx)) << text.substr(0, 20);
    // The printout leaves such an expression out and says why.
    for (const std::string& text : {deep, minus, "NOT " + std::string(5000, '(') + "1"})
        EXPECT_NE(Expression(text).problem().find("nested deeper than 200 levels"),
                  std::string::npos)
            << text.substr(0, 20) << ": " << Expression(text).problem();
    EXPECT_EQ(Expression("1 2").problem(), "not a valid expression");
    EXPECT_EQ(Expression(std::string(150, '(') + "1" + std::string(150, ')')).problem(), "");
}

// Long chains of operators are flat in the text but deep as a tree; a label layout may
// join many fields, and no length may exhaust the stack.
TEST(Expressions, LongChainsOfTermsEvaluate)
{
    const LabelRecord record = sampleRecord();
    ExpressionContext ctx;
    ctx.record = &record;
    const int terms = 100000;
    std::string sum = "1", joined = "HISCALL", all = "1 = 1";
    for (int i = 1; i < terms; ++i) {
        sum += "+1";
        joined += "+HISCALL";
        all += " AND 1 = 1";
    }
    EXPECT_EQ(Expression(sum).evaluateText(ctx), std::to_string(terms));
    const std::string text = Expression(joined).evaluateText(ctx);
    EXPECT_EQ(text.size(), std::string("DLØABC").size() * terms);
    EXPECT_EQ(text.substr(0, 14), "DLØABCDLØABC");
    EXPECT_EQ(Expression(all).evaluateText(ctx), "True");
    EXPECT_FALSE(Expression(sum + "+'x'*2").evaluate(ctx));
}

TEST(Expressions, ValidateGivesTheDialogTexts)
{
    const LabelRecord record = sampleRecord();
    const struct
    {
        const char* text;
        bool ok;
        const char* message;
    } cases[] = {
        {"  COPY(A_DATE, 1, 4)  ", true, "Result:\r\n\r\n     2024\r\n\r\nNo Error in expression!"},
        {"LEN(MYCALL) * 1.5", true, "Result:\r\n\r\n     9\r\n\r\nNo Error in expression!"},
        {"1 = 1", false, "Error in expression!"}, // a truth value is not a printable result
        {"COPY(", false, "Error in expression!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ExpressionCheck check = validateExpression(c.text, record);
        EXPECT_EQ(check.ok, c.ok);
        EXPECT_EQ(check.message, c.message);
    }
}

} // namespace
} // namespace qx7
