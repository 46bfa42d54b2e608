#pragma once
// Copying records between tables with a field mapping, the way batch tables, imports
// and the manager database are filled: append everything, or append what is new and
// update what the target already has (matched on the target's current index).

#include "dbase/Table.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx7::dbase {

struct FieldMapping
{
    // (target field, source field) pairs.
    std::vector<std::pair<std::string, std::string>> pairs;

    // Lines "TARGET=SOURCE" (e.g. "CALL=CALL", "DATEFROM=ACTIVE"), separated by new
    // lines or ';'. Blanks around names are ignored. Throws Error::Invalid for a line
    // without '='.
    static FieldMapping parse(std::string_view text);
    // Every target field that has a source field of the same name.
    static FieldMapping sameNames(const Table& source, const Table& target);
};

enum class CopyMode
{
    Append,
    AppendUpdate
};

struct CopyResult
{
    std::size_t appended = 0;
    std::size_t updated = 0;
    bool stopped = false; // progress asked to stop
};

class BatchCopy
{
public:
    // Copies the source's visible records in its current order. In AppendUpdate mode the
    // target needs a current index: a source record whose mapped values give a key that
    // a live target record has updates that record (the first such, in record order);
    // any other is appended. Mapped fields only are written. Notifications of both
    // tables are suspended meanwhile; the source's position is restored. `progress` gets
    // the number of records done so far and returns false to stop. Throws NotFound for
    // unknown fields, and whatever reading or writing throws (records posted so far stay).
    static CopyResult run(Table& source, Table& target, const FieldMapping& mapping, CopyMode mode,
                          const std::function<bool(std::size_t)>& progress = {});
};

} // namespace qx7::dbase
