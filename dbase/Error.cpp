#include "dbase/Error.h"

namespace qx7::dbase {

namespace {

std::string describe(const std::string& table, const std::string& operation,
                     const std::string& cause, const std::string& where)
{
    std::string text = table.empty() ? std::string("table") : table;
    text += ": ";
    text += operation;
    text += " failed: ";
    text += cause;
    if (!where.empty()) {
        text += " (at ";
        text += where;
        text += ")";
    }
    return text;
}

} // namespace

Error::Error(Kind kind, std::string table, std::string operation, std::string cause,
             std::string where)
    : std::runtime_error(describe(table, operation, cause, where)), m_kind(kind),
      m_table(std::move(table)), m_operation(std::move(operation)), m_cause(std::move(cause)),
      m_where(std::move(where))
{}

} // namespace qx7::dbase
