#include "convert/writers/Qx7LogWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"
#include "core/Text.h"
#include "dbase/Table.h"
#include "dbase/TempFiles.h"
#include "store/LogTable.h"

#include <filesystem>
#include <unistd.h>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

void appendRecords(dbase::Table& table, TQXLogSpec& output, WriteContext& context)
{
    std::vector<int> columns;
    for (int field = 0; field < FieldCount; ++field)
        columns.push_back(table.fieldIndex(kImportFields[static_cast<size_t>(field)].key));
    const std::vector<std::string_view> records = context.bufferRecords();
    table.suspendNotifications();
    std::string scratch;
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordView r(records[i], context.layout());
        table.append();
        for (int field = 0; field < FieldMark; ++field) {
            const std::string_view value = exportValue(r, field, scratch);
            // An empty view may have no data pointer; the engine copies from it.
            table.setText(columns[static_cast<size_t>(field)], value.empty() ? "" : value);
        }
        table.setBoolean(columns[FieldMark], r.mark() == 'Y');
        table.post();
        context.WriteProgress(output, i);
    }
    table.resumeNotifications();
}

// A log that is open elsewhere must not be replaced under its reader's feet.
void requireNotInUse(const LogPaths& target)
{
    if (!fs::exists(target.table))
        return;
    dbase::Table probe;
    probe.open(target.table, {dbase::OpenMode::Exclusive, {}});
    probe.close();
}

void renameInto(const LogPaths& from, const LogPaths& to)
{
    fs::rename(from.index, to.index);
    fs::rename(from.table, to.table);
    fs::rename(from.descriptor, to.descriptor);
}

void removeLog(const LogPaths& paths)
{
    std::error_code ec;
    fs::remove(paths.table, ec);
    fs::remove(paths.index, ec);
    fs::remove(paths.descriptor, ec);
}

} // namespace

bool WriteQx7Log(TQXLogSpec& output, WriteContext& context)
{
    const std::string name = logBaseName(output.FileName);
    const LogPaths target = logPaths(context.logFolder(), name);
    if (name.empty())
        return false;
    // Written under its own name in a folder of this process, so that no listing of the
    // log folder takes the half-written log for a log.
    std::error_code ec;
    fs::create_directories(context.logFolder(), ec);
    const std::string tempFolder = dbase::tempFolderIn(context.logFolder()).string();
    const std::string tempName = name;
    const LogPaths temp = logPaths(tempFolder, tempName);
    try {
        requireNotInUse(target);
        // The descriptor first: creating a table named N.qx7 clears an N.mdx beside it.
        if (!CreateLogDescriptor(temp.table, context.dbaseLevel()))
            return false;
        writeLogDescriptor(temp.descriptor, {trimRight(output.CallSign), {}});
        if (!CreateLogTable(tempFolder, tempName, context.dbaseLevel()))
            throw std::runtime_error("log table");
        {
            dbase::Table table;
            dbase::OpenOptions options{dbase::OpenMode::Exclusive, logTableIndexes()};
            table.open(temp.table, options);
            table.setIndex("DATETIME");
            appendRecords(table, output, context);
            ensureQmgrIndex(table);
            table.close();
        }
        renameInto(temp, target);
        fs::remove_all(tempFolder, ec);
        return true;
    } catch (...) {
        removeLog(temp);
        fs::remove_all(tempFolder, ec);
        return false;
    }
}

} // namespace qx7
