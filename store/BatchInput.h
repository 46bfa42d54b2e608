#pragma once
// The batch-input tables in the program folder: QSL requests imported for processing in
// one go. Table 1 holds one record per requesting station, table 2 one per requested
// QSO and shows only the QSOs of table 1's current station.

#include "core/Prompter.h"
#include "dbase/Table.h"

#include <string>

namespace qx7 {

inline constexpr const char* kBatchTable1Error = "Error: Batch Input table 1 could not be created!";
inline constexpr const char* kBatchTable2Error = "Error: Batch Input table 2 could not be created!";

class BatchInput
{
public:
    BatchInput(std::string programFolder, int tableLevel, Prompter& prompter);

    dbase::Table& BatchInputTable1() { return m_stations; }
    dbase::Table& BatchInputTable2() { return m_qsos; }

    bool OpenBatchTables();
    void CloseBatchTables();
    // Only the requests for own call `call` are visible; "" shows all.
    void FilterBatchTables(const std::string& call);
    // The requests a log with own call `call` answers: those for that call and those
    // imported for every log (empty MYCALL).
    void FilterBatchTablesForLog(const std::string& call);
    void AddBatchStation(const std::string& myCall, const std::string& station,
                         const std::string& status, const std::string& comment);
    void AddBatchQSO(const std::string& myCall, const std::string& station,
                     const std::string& status, const std::string& comment, const std::string& mode,
                     const std::string& band, const std::string& time, const std::string& date);
    // Deletes table 1's current station with its QSOs. Returns false when no station
    // is left (batch input then ends).
    bool deleteCurrentStation();
    bool hasStations();

private:
    bool openOne(dbase::Table& t, const std::string& file, bool qsoTable);

    std::string m_folder;
    int m_level;
    Prompter& m_prompter;
    dbase::Table m_stations;
    dbase::Table m_qsos;
};

} // namespace qx7
