#include "store/BatchInput.h"

#include "dbase/BatchCopy.h"
#include "store/TableHelpers.h"

#include <filesystem>

namespace qx7 {

namespace {

// MYCALL stays empty for requests that concern every log, so it is not required.
std::vector<dbase::FieldDef> stationFields()
{
    return {{"MYCALL", 'C', 16, 0, false},
            {"HISCALL", 'C', 16, 0, true},
            {"COMMENT", 'C', 250, 0, false},
            {"STATUS", 'C', 1, 0, false}};
}

std::vector<dbase::FieldDef> qsoFields()
{
    return {{"MYCALL", 'C', 16, 0, false}, {"HISCALL", 'C', 16, 0, true},
            {"DATE", 'C', 8, 0, false},    {"TIME", 'C', 4, 0, false},
            {"BAND", 'C', 6, 0, false},    {"MODE", 'C', 8, 0, false},
            {"STATUS", 'C', 1, 0, false},  {"COMMENT", 'C', 250, 0, false}};
}

std::vector<dbase::IndexDef> batchIndexes()
{
    return {{"MYCALL", "MYCALL"}, {"HISCALL", "HISCALL"}};
}

void removeTable(const std::filesystem::path& dbf)
{
    std::error_code ec;
    std::filesystem::remove(dbf, ec);
    std::filesystem::remove(std::filesystem::path(dbf).replace_extension(".mdx"), ec);
}

// Copies every record of the table at `from` into a new table at `to` with `fields`.
void copyInto(const std::filesystem::path& from, const std::filesystem::path& to,
              const std::vector<dbase::FieldDef>& fields, const dbase::CreateOptions& options)
{
    dbase::Table::create(to, fields, options);
    dbase::Table source, target;
    source.open(from, {dbase::OpenMode::ReadOnly, batchIndexes()});
    target.open(to, {dbase::OpenMode::Shared, batchIndexes()});
    dbase::BatchCopy::run(source, target, dbase::FieldMapping::sameNames(source, target),
                          dbase::CopyMode::Append);
}

// Tables written before requests for every log were possible insist on an own call.
// They are rebuilt with the current fields; a copy beside them holds the records until
// the rebuild is complete.
void dropOwnCallRequirement(const std::filesystem::path& dbf,
                            const std::vector<dbase::FieldDef>& fields, int level)
{
    dbase::CreateOptions options;
    options.level = tableLevel(level);
    options.indexes = batchIndexes();
    options.overwrite = true;
    std::filesystem::path copy = dbf;
    copy.replace_filename(dbf.stem().string() + "_copy.dbf");
    copyInto(dbf, copy, fields, options);
    copyInto(copy, dbf, fields, options);
    removeTable(copy);
}

} // namespace

BatchInput::BatchInput(std::string programFolder, int tableLevel, Prompter& prompter)
    : m_folder(std::move(programFolder)), m_level(tableLevel), m_prompter(prompter)
{}

bool BatchInput::openOne(dbase::Table& t, const std::string& file, bool qsoTable)
{
    const std::string path = (std::filesystem::path(m_folder) / file).string();
    try {
        if (!dbase::Table::exists(path)) {
            dbase::CreateOptions options;
            options.level = tableLevel(m_level);
            options.indexes = batchIndexes();
            dbase::Table::create(path, qsoTable ? qsoFields() : stationFields(), options);
        }
        try {
            t.open(path, {dbase::OpenMode::Shared, batchIndexes()});
        } catch (const dbase::Error& e) {
            if (e.kind() != dbase::Error::Kind::Io)
                throw;
            // On a disk that refuses writes the lists can still be read.
            t.open(path, {dbase::OpenMode::ReadOnly, batchIndexes()});
        }
        if (!t.isReadOnly() && t.field(t.fieldIndex("MYCALL")).required) {
            t.close();
            dropOwnCallRequirement(path, qsoTable ? qsoFields() : stationFields(), m_level);
            t.open(path, {dbase::OpenMode::Shared, batchIndexes()});
        }
        t.setIndex("HISCALL");
        return true;
    } catch (const dbase::Error&) {
        if (t.isOpen())
            t.close();
        m_prompter.ask(PromptIcon::Error, qsoTable ? kBatchTable2Error : kBatchTable1Error,
                       PromptButton::Ok);
        return false;
    }
}

bool BatchInput::OpenBatchTables()
{
    if (!openOne(m_stations, "QXBatchInput1.dbf", false))
        return false;
    if (!openOne(m_qsos, "QXBatchInput2.dbf", true))
        return false;
    m_qsos.setMasterLink(m_stations, "HISCALL");
    return true;
}

void BatchInput::CloseBatchTables()
{
    if (m_qsos.isOpen())
        m_qsos.close();
    if (m_stations.isOpen())
        m_stations.close();
}

void BatchInput::FilterBatchTables(const std::string& call)
{
    const std::string expr = call.empty() ? "" : "MYCALL = '" + call + "' ";
    for (dbase::Table* t : {&m_stations, &m_qsos})
        if (t->isOpen()) {
            t->setRecordFilter({});
            t->setFilter(expr);
        }
}

void BatchInput::FilterBatchTablesForLog(const std::string& call)
{
    for (dbase::Table* t : {&m_stations, &m_qsos})
        if (t->isOpen()) {
            t->setFilter("");
            if (call.empty())
                t->setRecordFilter({});
            else
                t->setRecordFilter([call](const dbase::Table& r) {
                    const std::string mine = r.text("MYCALL");
                    return mine.empty() || mine == call;
                });
        }
}

void BatchInput::AddBatchStation(const std::string& myCall, const std::string& station,
                                 const std::string& status, const std::string& comment)
{
    if (m_stations.findKey(station)) {
        if (m_stations.text("STATUS") == "2")
            return; // already answered: the operator's decision stands
        m_stations.edit();
    } else {
        m_stations.append();
        m_stations.setText("MYCALL", myCall);
        m_stations.setText("HISCALL", station);
    }
    m_stations.setText("COMMENT", comment);
    m_stations.setText("STATUS", status);
    m_stations.post();
}

void BatchInput::AddBatchQSO(const std::string& myCall, const std::string& station,
                             const std::string& status, const std::string& comment,
                             const std::string& mode, const std::string& band,
                             const std::string& time, const std::string& date)
{
    if (!m_stations.findKey(station))
        return; // the master link now shows this station's QSOs in table 2
    for (m_qsos.first(); !m_qsos.isEmpty() && !m_qsos.eof(); m_qsos.next())
        if (m_qsos.text("DATE") == date && m_qsos.text("TIME") == time &&
            m_qsos.text("BAND") == band && m_qsos.text("MODE") == mode)
            return;
    m_qsos.append();
    const std::pair<const char*, const std::string*> values[] = {
        {"MYCALL", &myCall}, {"HISCALL", &station}, {"DATE", &date},     {"TIME", &time},
        {"BAND", &band},     {"MODE", &mode},       {"STATUS", &status}, {"COMMENT", &comment}};
    for (const auto& [field, value] : values)
        m_qsos.setText(field, *value);
    m_qsos.post();
}

bool BatchInput::deleteCurrentStation()
{
    if (m_stations.isEmpty())
        return false;
    // The master link restricts table 2 to this station: delete what it shows.
    for (m_qsos.first(); !m_qsos.isEmpty() && !m_qsos.eof();)
        m_qsos.deleteRecord();
    m_stations.deleteRecord();
    return hasStations();
}

bool BatchInput::hasStations()
{
    return m_stations.isOpen() && !m_stations.isEmpty();
}

} // namespace qx7
