#include "convert/writers/Qx7LogWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"
#include "core/BandModeTables.h"
#include "core/IniFile.h"
#include "core/Text.h"
#include "core/WritableFolder.h"
#include "dbase/Table.h"
#include "dbase/TempFiles.h"
#include "store/LogTable.h"

#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <unordered_map>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

// Column by field number; -1 for a field that a log of an older layout lacks.
std::vector<int> fieldColumns(const dbase::Table& table)
{
    std::vector<int> columns;
    for (int field = 0; field < FieldCount; ++field) {
        const auto column = table.findField(kImportFields[static_cast<size_t>(field)].key);
        columns.push_back(column ? *column : -1);
    }
    return columns;
}

// The current row (appended or being edited) takes every field of the record.
void setFields(dbase::Table& table, const std::vector<int>& columns, const RecordView& r,
               std::string& scratch)
{
    for (int field = 0; field < FieldMark; ++field) {
        const int column = columns[static_cast<size_t>(field)];
        if (column < 0)
            continue;
        const std::string_view value = exportValue(r, field, scratch);
        // An empty view may have no data pointer; the engine copies from it.
        table.setText(column, value.empty() ? "" : value);
    }
    if (columns[FieldMark] >= 0)
        table.setBoolean(columns[FieldMark], r.mark() == 'Y');
}

// Appended in bulk: one write per batch of records instead of one per record.
void appendRecords(dbase::Table& table, TQXLogSpec& output, WriteContext& context,
                   const std::vector<std::string_view>& records, const std::vector<size_t>& which)
{
    const std::vector<int> columns = fieldColumns(table);
    std::string scratch;
    table.appendMany(which.size(), [&](size_t i) {
        setFields(table, columns, RecordView(records[which[i]], context.layout()), scratch);
        context.WriteProgress(output, which[i]);
    });
}

void appendRecords(dbase::Table& table, TQXLogSpec& output, WriteContext& context)
{
    const std::vector<std::string_view> records = context.bufferRecords();
    std::vector<size_t> all(records.size());
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    appendRecords(table, output, context, records, all);
}

// Call, date, time, band and mode: what makes two QSOs the same one. A stored mode may
// be cut to its field, and the log holds band and mode as texts, the buffer as codes.
std::string qsoKey(std::string_view call, std::string_view date, std::string_view time, int band,
                   int mode)
{
    std::string key = toUpperAscii(trimmed(call));
    key += '|';
    key += date;
    key += time;
    key += '|' + std::to_string(band) + '|' + std::to_string(mode);
    return key;
}

std::string storedQsoKey(const dbase::Table& table, const std::vector<int>& columns)
{
    const auto text = [&](int field) {
        const int column = columns[static_cast<size_t>(field)];
        return column < 0 ? std::string() : table.text(column);
    };
    const std::string band = trimmed(text(FieldBand));
    int bandIndexValue = 0;
    for (int i = 1; i <= MaxBand && bandIndexValue == 0; ++i)
        if (equalsIgnoreCase(bandName(i), band))
            bandIndexValue = i;
    return qsoKey(text(FieldCall), trimmed(text(FieldDate)), trimmed(text(FieldTime)),
                  bandIndexValue, storedModeIndex(toUpperAscii(trimmed(text(FieldMode)))));
}

// Write modes 0 and 1: the QSOs of the log stay exactly as they are stored; an incoming
// QSO that the log holds already replaces it (mode 0) or is dropped (mode 1), any other
// is appended.
void mergeRecords(dbase::Table& table, TQXLogSpec& output, WriteContext& context)
{
    const std::vector<int> columns = fieldColumns(table);
    std::unordered_map<std::string, dbase::Bookmark> stored;
    for (table.first(); !table.eof(); table.next())
        stored.emplace(storedQsoKey(table, columns), table.bookmark());
    const std::vector<std::string_view> records = context.bufferRecords();
    table.suspendNotifications();
    std::string scratch;
    std::vector<size_t> added;
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordView r(records[i], context.layout());
        const auto old = stored.find(qsoKey(r.call(), r.date(), r.time(), bandIndexOfCode(r.band()),
                                            modeIndexOfCode(r.mode())));
        if (old == stored.end()) {
            added.push_back(i);
            continue;
        }
        if (output.WriteMode == 1 || !table.gotoBookmark(old->second))
            continue;
        table.edit();
        setFields(table, columns, r, scratch);
        table.post();
        context.WriteProgress(output, i);
    }
    appendRecords(table, output, context, records, added);
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

void copyLog(const LogPaths& from, const LogPaths& to)
{
    fs::copy_file(from.table, to.table, fs::copy_options::overwrite_existing);
    fs::copy_file(from.descriptor, to.descriptor, fs::copy_options::overwrite_existing);
    if (fs::exists(from.index))
        fs::copy_file(from.index, to.index, fs::copy_options::overwrite_existing);
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

namespace {

void writeNewLog(const LogPaths& temp, const std::string& folder, const std::string& tempName,
                 TQXLogSpec& output, WriteContext& context)
{
    // The descriptor first: creating a table named N.qx7 clears an N.mdx beside it.
    if (!CreateLogDescriptor(temp.table, context.dbaseLevel()))
        failWriting(context.logFolder(), "the log descriptor could not be created");
    writeLogDescriptor(temp.descriptor, {trimRight(output.CallSign), {}});
    if (!CreateLogTable(folder, tempName, context.dbaseLevel()))
        failWriting(context.logFolder(), "the log table could not be created");
    dbase::Table table;
    table.open(temp.table, {dbase::OpenMode::Exclusive, logTableIndexes()});
    table.setIndex("DATETIME");
    // Every tag before the first record: the records are then read once for all of them.
    ensureQmgrIndex(table);
    appendRecords(table, output, context);
    table.close();
}

// The log's footer lines stay; a call given for the run becomes its own call.
void updateLog(const LogPaths& target, const LogPaths& temp, TQXLogSpec& output,
               WriteContext& context)
{
    copyLog(target, temp);
    LogDescriptor descriptor = readLogDescriptor(temp.descriptor);
    if (const std::string call = trimRight(output.CallSign); !call.empty())
        descriptor.stationCall = call;
    writeLogDescriptor(temp.descriptor, descriptor);
    dbase::Table table;
    openLog(table, temp.table, 1, dbase::OpenMode::Exclusive);
    mergeRecords(table, output, context);
    ensureQmgrIndex(table);
    table.close();
}

} // namespace

bool WriteQx7Log(TQXLogSpec& output, WriteContext& context)
{
    const std::string name = logBaseName(output.FileName);
    const LogPaths target = logPaths(context.logFolder(), name);
    if (name.empty()) {
        context.reportWriteFailure("the log needs a name");
        return false;
    }
    // Written under its own name in a folder of this process, so that no listing of the
    // log folder takes the half-written log for a log.
    std::error_code ec;
    fs::create_directories(context.logFolder(), ec);
    const std::string tempFolder = dbase::tempFolderIn(context.logFolder()).string();
    const std::string tempName = name;
    const LogPaths temp = logPaths(tempFolder, tempName);
    try {
        // The name of the work copy is the longest one written.
        if (fs::path(temp.index).filename().string().size() > 255)
            throw std::runtime_error("the log name \"" + name.substr(0, 40) +
                                     "...\" is too long for a file name");
        requireNotInUse(target);
        if (output.WriteMode != 2 && fs::exists(target.table) && fs::exists(target.descriptor))
            updateLog(target, temp, output, context);
        else
            writeNewLog(temp, tempFolder, tempName, output, context);
        renameInto(temp, target);
        fs::remove_all(tempFolder, ec);
        return true;
    } catch (const dbase::Error& e) {
        removeLog(temp);
        fs::remove_all(tempFolder, ec);
        const std::string why = e.kind() == dbase::Error::Kind::InUse
                                    ? std::string()
                                    : whyLogFolderRefusesWrites(context.logFolder());
        context.reportWriteFailure(why.empty() ? e.what() : why);
        return false;
    } catch (const std::exception& e) {
        removeLog(temp);
        fs::remove_all(tempFolder, ec);
        context.reportWriteFailure(e.what());
        return false;
    }
}

} // namespace qx7
