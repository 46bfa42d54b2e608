#pragma once
// The one exception the table engine throws. It names the table, the operation that
// failed and why; damaged files get their own kind and say where the damage is, so
// callers can tell "your file is broken" from "you asked for something impossible".

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qx7::dbase {

class Error : public std::runtime_error
{
public:
    enum class Kind
    {
        Io,         // the operating system refused a read, write, open or lock
        Damaged,    // a file's contents contradict its own structure; where() says where
        InUse,      // another open (this or another process) holds a conflicting lock
        NotFound,   // the table, field or index tag does not exist
        Invalid,    // the caller asked for something the table cannot do
        ReadOnly,   // a write on a table opened read-only
        Unsupported // a format feature this engine does not handle
    };

    Error(Kind kind, std::string table, std::string operation, std::string cause,
          std::string where = {});

    Kind kind() const noexcept { return m_kind; }
    const std::string& table() const noexcept { return m_table; }
    const std::string& operation() const noexcept { return m_operation; }
    const std::string& cause() const noexcept { return m_cause; }
    // For Damaged: the file and offset or block where the contradiction was found.
    const std::string& where() const noexcept { return m_where; }
    bool isDamaged() const noexcept { return m_kind == Kind::Damaged; }

private:
    Kind m_kind;
    std::string m_table;
    std::string m_operation;
    std::string m_cause;
    std::string m_where;
};

} // namespace qx7::dbase
