#pragma once
// Reports of a short-wave listener: the stations he heard, collected in "qx7swl.dbf" in
// the program folder and answered with labels of their own in the print queue.

#include "dbase/Table.h"
#include "store/CallSign.h"

#include <string>

namespace qx7 {

class PrintQueue;

class SwlReports
{
public:
    explicit SwlReports(std::string programFolder) : m_folder(std::move(programFolder)) {}

    std::string path() const;
    dbase::Table& SWLTable() { return m_table; }

    // Opens (and packs) the table, creating it when missing. False on any error.
    bool OpenSWLTable();
    void CloseSWLTable();
    void ClearSWLTable();
    // Adds one report.
    void addReport(const std::string& heard, const std::string& date, const std::string& time,
                   const std::string& band, const std::string& mode, const std::string& subMode,
                   const std::string& myCall, const std::string& comment);

    // Turns every report into a label slot for `listener`, `priRows` reports a label;
    // the table is empty afterwards.
    void QueueSWLReports(const std::string& listener, PrintQueue& queue, int priRows,
                         int slashedZero, const LabelFormat& format);

private:
    std::string m_folder;
    dbase::Table m_table;
};

} // namespace qx7
