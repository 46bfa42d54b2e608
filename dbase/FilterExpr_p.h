#pragma once
// Record filters written as dBase expressions, the forms the program builds:
//   FIELD = 'x'   FIELD <> 'x'   MARK   NOT MARK   a AND b   a OR b   ( ... )
// Comparisons are on the table's bytes with both sides right-trimmed, so FIELD = 'x'
// holds when the stored value, trailing blanks removed, is exactly x (not dBase's
// "x is a prefix" rule, which would let 'DL1' match 'DL1ABC').

#include "dbase/DbfHeader_p.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase::detail {

class FilterExpr
{
public:
    FilterExpr() = default;
    // Throws Error::Invalid naming the problem and its position.
    static FilterExpr parse(std::string_view text, const DbfHeader& header,
                            const std::string& table);

    bool empty() const { return m_nodes.empty(); }
    bool matches(const char* record) const;

private:
    enum class Kind
    {
        And,
        Or,
        Not,
        Compare,
        Logical
    };
    enum class Op
    {
        Eq,
        Ne,
        Lt,
        Le,
        Gt,
        Ge
    };
    struct Node
    {
        Kind kind = Kind::Logical;
        Op op = Op::Eq;
        std::size_t field = 0;
        std::string literal; // table bytes, right-trimmed
        int left = -1;
        int right = -1;
    };

    bool eval(int node, const char* record) const;

    std::vector<Node> m_nodes;
    const DbfHeader* m_header = nullptr;
    int m_root = -1;

    friend class FilterParser;
};

} // namespace qx7::dbase::detail
