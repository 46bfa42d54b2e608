#pragma once
// Everything a Table holds while open; shared by the files that implement Table.

#include "dbase/Cursor_p.h"
#include "dbase/DbfFile_p.h"
#include "dbase/IndexSet_p.h"
#include "dbase/Table.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qx7::dbase::detail {

struct TableData
{
    std::filesystem::path path;
    std::string name;
    DbfFile dbf;
    IndexSet indexes;
    Cursor cursor;
    Table::State state = Table::State::Closed;
    std::vector<char> buffer; // the record being edited or inserted
    bool anyRequired = false;
    std::vector<std::size_t> requiredFields; // the fields that need a value, in order
    std::vector<bool> required;

    std::string rangeStart;
    std::string rangeEnd;
    std::string filterText;
    Table::RecordFilter recordFilter;

    std::map<int, Table::Observer> observers;
    int nextObserverId = 1;
    int suspended = 0;
    bool pendingChange = false;
    bool pendingScroll = false;

    // Records flagged deleted, ascending; read from the file when first asked for.
    std::optional<std::vector<std::uint32_t>> deleted;

    Table* master = nullptr;
    int masterObserver = 0;
    std::size_t masterField = 0;
};

} // namespace qx7::dbase::detail
