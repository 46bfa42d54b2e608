#pragma once
// Layout expressions over a print-queue record, e.g.
//   MYCALL+' confirms the following QSO(s):'      COPY(A_DATE, 1, 4)
//   IF(NUMQSOS > '1', 'QSOs', 'QSO')              UPPER(TRIM(MANAGER))
// Field names, quoted text ('...' or "..."), numbers, + - * /, comparisons
// (= <> < > <= >=), AND, OR, NOT, parentheses and the functions COPY, UPPER, LOWER,
// TRIM, LEN, IF, STR, INT, plus PAGENUMBER, COLUMNNUMBER and REPORTTITLE. "+" joins
// texts (a number joined to a text is written out). Any fault gives an error, never a
// crash: malformed text, unknown names, wrong argument types, division by zero.

#include "labels/LabelRecord.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kExpressionError = "Error in expression!";

struct ExpressionValue
{
    enum class Type
    {
        Text,
        Number,
        Boolean
    };
    Type type = Type::Text;
    std::string text;
    double number = 0;
    bool boolean = false;

    static ExpressionValue ofText(std::string s) { return {Type::Text, std::move(s), 0, false}; }
    static ExpressionValue ofNumber(double n) { return {Type::Number, {}, n, false}; }
    static ExpressionValue ofBool(bool b) { return {Type::Boolean, {}, 0, b}; }
    // How the value prints on a label: numbers without needless decimals, booleans
    // as "True"/"False".
    std::string display() const;
};

struct ExpressionContext
{
    const LabelRecord* record = nullptr;
    int pageNumber = 1;
    int columnNumber = 1;
    std::string reportTitle;
};

class Expression
{
public:
    explicit Expression(std::string_view text); // parses once
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    bool parsed() const { return m_root >= 0; }
    // Why the text could not be read; empty when it was.
    const std::string& problem() const { return m_problem; }
    // The value, or none on any error.
    std::optional<ExpressionValue> evaluate(const ExpressionContext& ctx) const;
    // The printed text; empty when the expression fails.
    std::string evaluateText(const ExpressionContext& ctx) const;

    struct Node;

private:
    std::vector<Node> m_nodes;
    int m_root = -1;
    std::string m_problem;
};

// The "&Validate" check: the trimmed expression against a record. An integer, real or
// text result gives the "Result:" text, anything else "Error in expression!".
struct ExpressionCheck
{
    bool ok = false;
    std::string message;
};
ExpressionCheck validateExpression(std::string_view text, const LabelRecord& record);

} // namespace qx7
