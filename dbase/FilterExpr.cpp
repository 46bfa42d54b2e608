#include "dbase/FilterExpr_p.h"

#include "dbase/Codepage.h"
#include "dbase/Error.h"
#include "dbase/FieldCodec_p.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qx7::dbase::detail {

namespace {

std::string upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string_view rtrim(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view trimBoth(std::string_view s)
{
    s = rtrim(s);
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    return s;
}

} // namespace

class FilterParser
{
public:
    FilterParser(std::string_view text, const DbfHeader& h, const std::string& table,
                 FilterExpr& out)
        : m_text(text), m_header(h), m_table(table), m_out(out)
    {}

    void run()
    {
        skipSpace();
        if (m_pos == m_text.size()) {
            return; // an empty filter lets everything through
        }
        m_out.m_root = orExpr();
        skipSpace();
        if (m_pos != m_text.size()) {
            fail("unexpected text");
        }
    }

private:
    using Kind = FilterExpr::Kind;
    using Op = FilterExpr::Op;

    [[noreturn]] void fail(const std::string& what) const
    {
        throw Error(Error::Kind::Invalid, m_table, "set filter",
                    what + " at position " + std::to_string(m_pos + 1) + " of \"" +
                        std::string(m_text) + "\"");
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }

    // Accepts AND / .AND. (any case) and the like; the plain word needs a boundary after it.
    bool keyword(const char* word)
    {
        skipSpace();
        const std::size_t n = std::strlen(word);
        const std::string dotted = std::string(".") + word + ".";
        if (upper(m_text.substr(m_pos, dotted.size())) == dotted) {
            m_pos += dotted.size();
            return true;
        }
        if (upper(m_text.substr(m_pos, n)) == word &&
            (m_pos + n == m_text.size() ||
             !std::isalnum(static_cast<unsigned char>(m_text[m_pos + n])))) {
            m_pos += n;
            return true;
        }
        return false;
    }

    int add(FilterExpr::Node node)
    {
        m_out.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_out.m_nodes.size() - 1);
    }

    int orExpr()
    {
        int left = andExpr();
        while (keyword("OR")) {
            FilterExpr::Node n;
            n.kind = Kind::Or;
            n.left = left;
            n.right = andExpr();
            left = add(std::move(n));
        }
        return left;
    }

    int andExpr()
    {
        int left = unary();
        while (keyword("AND")) {
            FilterExpr::Node n;
            n.kind = Kind::And;
            n.left = left;
            n.right = unary();
            left = add(std::move(n));
        }
        return left;
    }

    int unary()
    {
        if (keyword("NOT")) {
            FilterExpr::Node n;
            n.kind = Kind::Not;
            n.left = unary();
            return add(std::move(n));
        }
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '(') {
            ++m_pos;
            const int inner = orExpr();
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ')') {
                fail("missing ')'");
            }
            ++m_pos;
            return inner;
        }
        return comparison();
    }

    std::size_t fieldName()
    {
        skipSpace();
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_')) {
            ++m_pos;
        }
        if (m_pos == start) {
            fail("a field name is expected");
        }
        const std::string name = upper(m_text.substr(start, m_pos - start));
        const auto& fields = m_header.fields;
        const auto it = std::find_if(fields.begin(), fields.end(),
                                     [&](const FieldInfo& f) { return upper(f.name) == name; });
        if (it == fields.end()) {
            m_pos = start;
            fail("no field " + name);
        }
        return static_cast<std::size_t>(it - fields.begin());
    }

    bool comparisonOp(Op& op)
    {
        skipSpace();
        static const std::pair<const char*, Op> ops[] = {
            {"<>", Op::Ne}, {"!=", Op::Ne}, {"==", Op::Eq}, {"<=", Op::Le}, {">=", Op::Ge},
            {"#", Op::Ne},  {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt}};
        for (const auto& [text, value] : ops) {
            const std::size_t n = std::strlen(text);
            if (m_text.substr(m_pos, n) == text) {
                m_pos += n;
                op = value;
                return true;
            }
        }
        return false;
    }

    std::string literal(const FieldInfo& f)
    {
        skipSpace();
        if (m_pos < m_text.size() && (m_text[m_pos] == '\'' || m_text[m_pos] == '"')) {
            const char quote = m_text[m_pos++];
            const std::size_t end = m_text.find(quote, m_pos);
            if (end == std::string_view::npos) {
                fail("unterminated string");
            }
            const std::string_view body = m_text.substr(m_pos, end - m_pos);
            m_pos = end + 1;
            return std::string(rtrim(m_header.codePage.fromUtf8(body)));
        }
        for (const char* b : {".T.", ".F."}) {
            if (upper(m_text.substr(m_pos, 3)) == b) {
                m_pos += 3;
                return f.type == 'L' ? std::string(1, b[1]) : std::string(b);
            }
        }
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_pos])) ||
                                         m_text[m_pos] == '.' || m_text[m_pos] == '-')) {
            ++m_pos;
        }
        if (start == m_pos) {
            fail("a value is expected");
        }
        return std::string(m_text.substr(start, m_pos - start));
    }

    int comparison()
    {
        FilterExpr::Node n;
        n.field = fieldName();
        const FieldInfo& f = m_header.fields[n.field];
        if (!comparisonOp(n.op)) {
            if (f.type != 'L') {
                fail("field " + f.name + " is not logical; compare it with a value");
            }
            n.kind = Kind::Logical;
            return add(std::move(n));
        }
        n.kind = Kind::Compare;
        n.literal = literal(f);
        return add(std::move(n));
    }

    std::string_view m_text;
    const DbfHeader& m_header;
    const std::string& m_table;
    FilterExpr& m_out;
    std::size_t m_pos = 0;
};

FilterExpr FilterExpr::parse(std::string_view text, const DbfHeader& header,
                             const std::string& table)
{
    FilterExpr expr;
    expr.m_header = &header;
    FilterParser(text, header, table, expr).run();
    return expr;
}

bool FilterExpr::matches(const char* record) const
{
    return m_root < 0 || eval(m_root, record);
}

bool FilterExpr::eval(int index, const char* record) const
{
    const Node& n = m_nodes[static_cast<std::size_t>(index)];
    switch (n.kind) {
    case Kind::And:
        return eval(n.left, record) && eval(n.right, record);
    case Kind::Or:
        return eval(n.left, record) || eval(n.right, record);
    case Kind::Not:
        return !eval(n.left, record);
    case Kind::Logical:
        return decodeBool(m_header->fields[n.field], record);
    case Kind::Compare:
        break;
    }
    const FieldInfo& f = m_header->fields[n.field];
    std::string_view value = rawField(f, record);
    if (f.type == 'N' || f.type == 'F') {
        value = trimBoth(value);
    } else if (f.type == 'L') {
        value = decodeBool(f, record) ? "T" : "F";
    }
    const int c = value.compare(n.literal);
    switch (n.op) {
    case Op::Eq:
        return c == 0;
    case Op::Ne:
        return c != 0;
    case Op::Lt:
        return c < 0;
    case Op::Le:
        return c <= 0;
    case Op::Gt:
        return c > 0;
    case Op::Ge:
        return c >= 0;
    }
    return false;
}

} // namespace qx7::dbase::detail
