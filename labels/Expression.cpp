#include "labels/Expression.h"

#include "core/Text.h"
#include "labels/ExpressionFunctions_p.h"
#include "labels/FieldNames.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qx7 {

enum class NodeKind
{
    Literal,
    Field,
    Call,
    Binary,
    Not,
    Negate
};

struct Expression::Node
{
    NodeKind kind = NodeKind::Literal;
    ExpressionValue literal;
    std::string name; // field or function, upper case; operator for Binary
    std::vector<int> args;
};

namespace {

// Nesting deeper than this is refused, so that no input can exhaust the stack.
constexpr int kMaxDepth = 200;

struct Token
{
    enum class Type
    {
        End,
        Number,
        Text,
        Name,
        Op,
        Bad
    };
    Type type = Type::End;
    std::string text;
    double number = 0;
};

class Lexer
{
public:
    explicit Lexer(std::string_view s) : m_s(s) {}

    Token next()
    {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\r' || m_s[m_i] == '\n'))
            ++m_i;
        if (m_i >= m_s.size())
            return {};
        const char c = m_s[m_i];
        if (c == '\'' || c == '"')
            return quoted(c);
        if ((c >= '0' && c <= '9') || c == '.')
            return numberToken();
        if (isNameStart(c))
            return name();
        for (const char* op : {"<>", "<=", ">="})
            if (m_s.substr(m_i, 2) == op) {
                m_i += 2;
                return {Token::Type::Op, op, 0};
            }
        ++m_i;
        if (std::string_view("+-*/=<>(),").find(c) != std::string_view::npos)
            return {Token::Type::Op, std::string(1, c), 0};
        return {Token::Type::Bad, std::string(1, c), 0};
    }

private:
    static bool isNameStart(char c)
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }

    // A doubled quote inside quoted text stands for the quote itself.
    Token quoted(char quote)
    {
        std::string text;
        for (++m_i; m_i < m_s.size(); ++m_i) {
            if (m_s[m_i] != quote) {
                text += m_s[m_i];
            } else if (m_i + 1 < m_s.size() && m_s[m_i + 1] == quote) {
                text += quote;
                ++m_i;
            } else {
                ++m_i;
                return {Token::Type::Text, text, 0};
            }
        }
        return {Token::Type::Bad, text, 0}; // unterminated
    }

    Token numberToken()
    {
        const size_t start = m_i;
        while (m_i < m_s.size() && ((m_s[m_i] >= '0' && m_s[m_i] <= '9') || m_s[m_i] == '.'))
            ++m_i;
        double v = 0;
        const auto [end, ec] = std::from_chars(m_s.data() + start, m_s.data() + m_i, v);
        if (ec != std::errc() || end != m_s.data() + m_i)
            return {Token::Type::Bad, std::string(m_s.substr(start, m_i - start)), 0};
        return {Token::Type::Number, {}, v};
    }

    Token name()
    {
        const size_t start = m_i;
        while (m_i < m_s.size() && (isNameStart(m_s[m_i]) || (m_s[m_i] >= '0' && m_s[m_i] <= '9')))
            ++m_i;
        return {Token::Type::Name, toUpperAscii(m_s.substr(start, m_i - start)), 0};
    }

    std::string_view m_s;
    size_t m_i = 0;
};

} // namespace

namespace detail {

// Recursive descent, lowest precedence first: OR, AND, NOT, comparison, + -, * /,
// unary minus, primary. Every rule returns a node index or -1 on error.
class Parser
{
public:
    Parser(std::string_view text, std::vector<Expression::Node>& nodes)
        : m_lexer(text), m_nodes(nodes)
    {
        advance();
    }

    bool tooDeep = false; // the text nests deeper than kMaxDepth

    int parseAll()
    {
        const int root = orExpr(0);
        return root >= 0 && m_tok.type == Token::Type::End ? root : -1;
    }

private:
    void advance() { m_tok = m_lexer.next(); }
    bool isOp(const char* op) const { return m_tok.type == Token::Type::Op && m_tok.text == op; }
    bool isWord(const char* w) const { return m_tok.type == Token::Type::Name && m_tok.text == w; }

    int add(Expression::Node n)
    {
        m_nodes.push_back(std::move(n));
        return static_cast<int>(m_nodes.size()) - 1;
    }
    int binary(std::string op, int l, int r)
    {
        if (l < 0 || r < 0)
            return -1;
        return add({NodeKind::Binary, {}, std::move(op), {l, r}});
    }

    int orExpr(int depth)
    {
        int left = andExpr(depth);
        while (left >= 0 && isWord("OR")) {
            advance();
            left = binary("OR", left, andExpr(depth));
        }
        return left;
    }
    int andExpr(int depth)
    {
        int left = notExpr(depth);
        while (left >= 0 && isWord("AND")) {
            advance();
            left = binary("AND", left, notExpr(depth));
        }
        return left;
    }
    int notExpr(int depth)
    {
        if (!isWord("NOT"))
            return comparison(depth);
        if (depth > kMaxDepth) {
            tooDeep = true;
            return -1;
        }
        advance();
        const int operand = notExpr(depth + 1);
        return operand < 0 ? -1 : add({NodeKind::Not, {}, {}, {operand}});
    }
    int comparison(int depth)
    {
        const int left = additive(depth);
        for (const char* op : {"=", "<>", "<=", ">=", "<", ">"})
            if (left >= 0 && isOp(op)) {
                advance();
                return binary(op, left, additive(depth));
            }
        return left;
    }
    int additive(int depth)
    {
        int left = term(depth);
        while (left >= 0 && (isOp("+") || isOp("-"))) {
            const std::string op = m_tok.text;
            advance();
            left = binary(op, left, term(depth));
        }
        return left;
    }
    int term(int depth)
    {
        int left = unary(depth);
        while (left >= 0 && (isOp("*") || isOp("/"))) {
            const std::string op = m_tok.text;
            advance();
            left = binary(op, left, unary(depth));
        }
        return left;
    }
    int unary(int depth)
    {
        if (depth > kMaxDepth) {
            tooDeep = true;
            return -1;
        }
        if (isOp("-")) {
            advance();
            const int operand = unary(depth + 1);
            return operand < 0 ? -1 : add({NodeKind::Negate, {}, {}, {operand}});
        }
        return primary(depth);
    }
    int primary(int depth)
    {
        const Token t = m_tok;
        if (t.type == Token::Type::Number) {
            advance();
            return add({NodeKind::Literal, ExpressionValue::ofNumber(t.number), {}, {}});
        }
        if (t.type == Token::Type::Text) {
            advance();
            return add({NodeKind::Literal, ExpressionValue::ofText(t.text), {}, {}});
        }
        if (isOp("(")) {
            advance();
            const int inner = orExpr(depth + 1);
            if (inner < 0 || !isOp(")"))
                return -1;
            advance();
            return inner;
        }
        if (t.type != Token::Type::Name)
            return -1;
        advance();
        if (!isOp("("))
            return add({NodeKind::Field, {}, t.text, {}});
        return call(t.text, depth);
    }
    int call(const std::string& name, int depth)
    {
        advance(); // "("
        Expression::Node n{NodeKind::Call, {}, name, {}};
        if (isOp(")")) {
            advance();
            return add(std::move(n));
        }
        while (true) {
            const int arg = orExpr(depth + 1);
            if (arg < 0)
                return -1;
            n.args.push_back(arg);
            if (isOp(")")) {
                advance();
                return add(std::move(n));
            }
            if (!isOp(","))
                return -1;
            advance();
        }
    }

    Lexer m_lexer;
    Token m_tok;
    std::vector<Expression::Node>& m_nodes;
};

} // namespace detail

namespace {

using Value = std::optional<ExpressionValue>;
using Nodes = std::vector<Expression::Node>;

Value compare(const std::string& op, const ExpressionValue& a, const ExpressionValue& b)
{
    if (a.type != b.type || a.type == ExpressionValue::Type::Boolean) {
        if (a.type == b.type && (op == "=" || op == "<>"))
            return ExpressionValue::ofBool((a.boolean == b.boolean) == (op == "="));
        return std::nullopt;
    }
    const int c = a.type == ExpressionValue::Type::Text
                      ? a.text.compare(b.text)
                      : (a.number < b.number ? -1 : (a.number > b.number ? 1 : 0));
    const bool r = op == "="    ? c == 0
                   : op == "<>" ? c != 0
                   : op == "<"  ? c < 0
                   : op == ">"  ? c > 0
                   : op == "<=" ? c <= 0
                                : c >= 0;
    return ExpressionValue::ofBool(r);
}

// `a` is taken over: a long chain of "+" then grows one text instead of copying it
// at every step.
Value arithmetic(const std::string& op, ExpressionValue a, const ExpressionValue& b)
{
    using T = ExpressionValue::Type;
    if (op == "+" && (a.type == T::Text || b.type == T::Text)) {
        if (a.type == T::Boolean || b.type == T::Boolean)
            return std::nullopt;
        if (a.type != T::Text)
            a = ExpressionValue::ofText(a.display());
        a.text += b.display();
        return a;
    }
    if (a.type != T::Number || b.type != T::Number)
        return std::nullopt;
    if (op == "/" && b.number == 0)
        return std::nullopt;
    const double r = op == "+"   ? a.number + b.number
                     : op == "-" ? a.number - b.number
                     : op == "*" ? a.number * b.number
                                 : a.number / b.number;
    if (!std::isfinite(r))
        return std::nullopt;
    return ExpressionValue::ofNumber(r);
}

// The values of both sides are known; AND and OR ignore a right side they do not need,
// so an error there does not count.
Value evalBinary(const std::string& op, Value a, Value b)
{
    if (!a)
        return std::nullopt;
    if (op == "AND" || op == "OR") {
        if (a->type != ExpressionValue::Type::Boolean)
            return std::nullopt;
        if (a->boolean == (op == "OR"))
            return a;
        if (!b || b->type != ExpressionValue::Type::Boolean)
            return std::nullopt;
        return b;
    }
    if (!b)
        return std::nullopt;
    if (op == "+" || op == "-" || op == "*" || op == "/")
        return arithmetic(op, std::move(*a), *b);
    return compare(op, *a, *b);
}

Value evalField(const std::string& name, const ExpressionContext& ctx)
{
    if (name == "PAGENUMBER")
        return ExpressionValue::ofNumber(ctx.pageNumber);
    if (name == "COLUMNNUMBER")
        return ExpressionValue::ofNumber(ctx.columnNumber);
    if (name == "REPORTTITLE")
        return ExpressionValue::ofText(ctx.reportTitle);
    if (name == "TRUE" || name == "FALSE")
        return ExpressionValue::ofBool(name == "TRUE");
    if (ctx.record)
        if (const std::string* v = ctx.record->find(name))
            return ExpressionValue::ofText(*v);
    const auto& known = printQueueFieldNames();
    if (std::find(known.begin(), known.end(), name) != known.end())
        return ExpressionValue::ofText({}); // a queue field this record leaves empty
    return std::nullopt;
}

Value evalCall(const Expression::Node& n, std::vector<Value>& values, const ExpressionContext& ctx)
{
    auto arg = [&](size_t k) -> Value& { return values[static_cast<size_t>(n.args[k])]; };
    if (n.name == "IF") {
        if (n.args.size() != 3)
            return std::nullopt;
        const Value& cond = arg(0);
        if (!cond || cond->type != ExpressionValue::Type::Boolean)
            return std::nullopt;
        return std::move(arg(cond->boolean ? 1 : 2));
    }
    if (n.args.empty())
        return evalField(n.name, ctx); // PAGENUMBER() and friends
    std::vector<ExpressionValue> args;
    for (size_t k = 0; k < n.args.size(); ++k) {
        if (!arg(k))
            return std::nullopt;
        args.push_back(std::move(*arg(k)));
    }
    return detail::callFunction(n.name, args);
}

// The parser stores every node after its operands, so one pass in storage order sees
// each operand's value before it is needed. No recursion: an expression of any length
// evaluates within a fixed stack. Every node has one parent, so a value is moved on.
Value evalTree(const Nodes& nodes, int root, const ExpressionContext& ctx)
{
    std::vector<Value> values(static_cast<size_t>(root) + 1);
    for (size_t i = 0; i <= static_cast<size_t>(root); ++i) {
        const Expression::Node& n = nodes[i];
        auto operand = [&](size_t k) -> Value& { return values[static_cast<size_t>(n.args[k])]; };
        Value& v = values[i];
        switch (n.kind) {
        case NodeKind::Literal:
            v = n.literal;
            break;
        case NodeKind::Field:
            v = evalField(n.name, ctx);
            break;
        case NodeKind::Binary:
            v = evalBinary(n.name, std::move(operand(0)), std::move(operand(1)));
            break;
        case NodeKind::Not:
            if (operand(0) && operand(0)->type == ExpressionValue::Type::Boolean)
                v = ExpressionValue::ofBool(!operand(0)->boolean);
            break;
        case NodeKind::Negate:
            if (operand(0) && operand(0)->type == ExpressionValue::Type::Number)
                v = ExpressionValue::ofNumber(-operand(0)->number);
            break;
        case NodeKind::Call:
            v = evalCall(n, values, ctx);
            break;
        }
    }
    return std::move(values[static_cast<size_t>(root)]);
}

} // namespace

std::string ExpressionValue::display() const
{
    switch (type) {
    case Type::Text:
        return text;
    case Type::Boolean:
        return boolean ? "True" : "False";
    case Type::Number:
        break;
    }
    if (std::abs(number) < 1e15 && number == std::trunc(number))
        return std::to_string(static_cast<long long>(number));
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

Expression::Expression(std::string_view text)
{
    detail::Parser parser(text, m_nodes);
    m_root = parser.parseAll();
    if (m_root < 0)
        m_problem = parser.tooDeep ? "nested deeper than " + std::to_string(kMaxDepth) +
                                         " levels of brackets, NOT or minus signs"
                                   : "not a valid expression";
}

Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

std::optional<ExpressionValue> Expression::evaluate(const ExpressionContext& ctx) const
{
    if (m_root < 0)
        return std::nullopt;
    return evalTree(m_nodes, m_root, ctx);
}

std::string Expression::evaluateText(const ExpressionContext& ctx) const
{
    const auto v = evaluate(ctx);
    return v ? v->display() : std::string();
}

ExpressionCheck validateExpression(std::string_view text, const LabelRecord& record)
{
    const Expression e(trimmed(text));
    ExpressionContext ctx;
    ctx.record = &record;
    const auto v = e.evaluate(ctx);
    if (!v || v->type == ExpressionValue::Type::Boolean)
        return {false, kExpressionError};
    return {true, "Result:\r\n\r\n     " + v->display() + "\r\n\r\nNo Error in expression!"};
}

} // namespace qx7
