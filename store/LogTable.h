#pragma once
// A log on disk: the QSO table N.dbf with its production index N.mdx, and the log
// descriptor N.qx7 (own call and footer lines), all in the log folder. A "*.qx7" file
// is what makes a log known to the program.

#include "dbase/Table.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// Index tags of a QSO table, chosen by number in the log window: 0, 1, 2.
inline constexpr const char* kLogIndexNames[] = {"CALL", "DATETIME", "QMGR"};
const char* logIndexName(int indexNumber); // out-of-range numbers give "CALL"

// The log name N for a name that may carry a folder and extensions: the file name,
// cut at its first ".", in lower case ("C:\x\My.Log.ADI" → "my").
std::string logBaseName(std::string_view name);

struct LogPaths
{
    std::string table;      // folder/N.dbf
    std::string index;      // folder/N.mdx
    std::string descriptor; // folder/N.qx7
};
LogPaths logPaths(const std::string& logFolder, std::string_view name);

// The QSO table's fields and its two tags CALL and DATETIME.
std::vector<dbase::FieldDef> logTableFields();
std::vector<dbase::IndexDef> logTableIndexes();
dbase::IndexDef qmgrIndex();

// Replaces any log of that name with an empty table. False on any engine error.
bool CreateLogTable(const std::string& logFolder, std::string_view name, int level = 4);
// An empty descriptor beside the given table path (its extension becomes ".qx7").
bool CreateLogDescriptor(const std::string& tablePath, int level = 4);

// A label has room for this many footer lines of its log.
inline constexpr size_t kMaxFooterLines = 9;

struct LogDescriptor
{
    std::string stationCall;
    std::vector<std::string> footerLines;
};
// The first record is the station call, every later one a footer line; the keys are
// not checked. A descriptor without records gives an empty call and no lines.
// Throws dbase::Error when the file cannot be read.
LogDescriptor readLogDescriptor(const std::string& descriptorPath);
// Replaces the whole content: "000" with the call, then "001", "002"... for the lines.
void writeLogDescriptor(const std::string& descriptorPath, const LogDescriptor& descriptor);

// Opens N.dbf with its index, current tag chosen by number. Throws dbase::Error.
void openLog(dbase::Table& table, const std::string& tablePath, int indexNumber,
             dbase::OpenMode mode = dbase::OpenMode::Shared);
// Adds the QMGR tag when the log lacks it (after an import has filled the log).
void ensureQmgrIndex(dbase::Table& table);

// The names of the logs in a folder ("*.qx7"), sorted.
std::vector<std::string> listLogs(const std::string& logFolder);

} // namespace qx7
