#include "convert/writers/Qx7LogWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"
#include "core/Text.h"
#include "core/WritableFolder.h"
#include "dbase/Table.h"
#include "store/LogTable.h"

#include <filesystem>
#include <stdexcept>
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

std::string whyLogFolderRefusesWrites(const std::string& folder)
{
    const std::string why = whyFolderRefusesWrites(folder);
    return why.empty() ? why : "the log folder: " + why;
}

[[noreturn]] void failWriting(const std::string& folder, const std::string& what)
{
    const std::string why = whyLogFolderRefusesWrites(folder);
    throw std::runtime_error(why.empty() ? what : why);
}

} // namespace

bool WriteQx7Log(TQXLogSpec& output, WriteContext& context)
{
    const std::string name = logBaseName(output.FileName);
    const std::string tempName = name + "_new" + std::to_string(::getpid());
    const LogPaths target = logPaths(context.logFolder(), name);
    const LogPaths temp = logPaths(context.logFolder(), tempName);
    try {
        if (name.empty()) {
            context.reportWriteFailure("the log needs a name");
            return false;
        }
        // The name of the work copy is the longest one written.
        if (fs::path(temp.index).filename().string().size() > 255)
            throw std::runtime_error("the log name \"" + name.substr(0, 40) +
                                     "...\" is too long for a file name");
        requireNotInUse(target);
        std::error_code ec;
        fs::create_directories(context.logFolder(), ec);
        // The descriptor first: creating a table named N.qx7 clears an N.mdx beside it.
        if (!CreateLogDescriptor(temp.table, context.dbaseLevel()))
            failWriting(context.logFolder(), "the log descriptor could not be created");
        writeLogDescriptor(temp.descriptor, {trimRight(output.CallSign), {}});
        if (!CreateLogTable(context.logFolder(), tempName, context.dbaseLevel()))
            failWriting(context.logFolder(), "the log table could not be created");
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
        return true;
    } catch (const dbase::Error& e) {
        removeLog(temp);
        const std::string why = e.kind() == dbase::Error::Kind::InUse
                                    ? std::string()
                                    : whyLogFolderRefusesWrites(context.logFolder());
        context.reportWriteFailure(why.empty() ? e.what() : why);
        return false;
    } catch (const std::exception& e) {
        removeLog(temp);
        context.reportWriteFailure(e.what());
        return false;
    }
}

} // namespace qx7
