#pragma once
// The print queue "qx7pq.dbf": one record per label waiting to be printed, with one
// station, one route (manager or none), one own call, up to 18 QSO slots "A" to "R" and
// the footer lines of the log. Scans fill it, label printing reads it and marks what it
// printed, and printed labels leave it.

#include "core/Prompter.h"
#include "dbase/Table.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr int kQueueSlots = 18;
inline constexpr int kQueueFooters = 9;
inline constexpr const char* kPrintedMark = "printed";
inline constexpr const char* kDashedBand = "--------";
inline constexpr const char* kQueueCreateError = "Error: Print Queue could not be created!";

// The per-slot fields, in their order within a slot ("A_DATE", "A_TIME", ...).
inline constexpr const char* kSlotFields[] = {"DATE", "TIME", "BAND", "MODE", "SUBM", "RSTS",
                                              "RSTR", "COMM", "FREQ", "PSEQ", "HRDC", "XTRA"};
// Slot 1 is "A", slot 18 is "R".
char slotLetter(int slot);
std::string slotField(int slot, std::string_view field);

std::vector<dbase::FieldDef> printQueueFields();
std::vector<dbase::IndexDef> printQueueIndexes();

// What a label shows for its stored MANAGER: "ManagerText", a blank and the manager's
// call; empty without a manager. Queues written by earlier versions hold the whole
// text already (a call has no blanks); it is shown as stored.
std::string managerLabelText(std::string_view stored, std::string_view managerText);

// "Error opening the print queue!" and what went wrong with `dbfPath`. It never advises
// deleting the queue: its labels may hold QSOs that the logs already show as sent.
std::string queueOpenErrorText(const std::string& dbfPath, const dbase::Error& error);
// "The print queue ... cannot be written" (and why) for a run that would add or remove
// labels.
std::string queueReadOnlyText(const std::string& dbfPath, const std::string& cause);

class PrintQueue
{
public:
    PrintQueue(std::string path, int tableLevel, Prompter& prompter);

    const std::string& path() const { return m_path; }
    dbase::Table& QXPQTable() { return m_table; }
    int LabelsInQueue = 0;

    bool OpenPrintQueue();
    bool CreatePrintQueue();
    void ClosePrintQueue();
    bool isOpen() const { return m_table.isOpen(); }
    // Open for reading only: the file or its disk refuses writes. Listing and counting
    // work; filling and printing must not start.
    bool isReadOnly() const { return m_table.isOpen() && m_table.isReadOnly(); }
    // Why it was opened read-only.
    const std::string& readOnlyCause() const { return m_readOnlyCause; }
    // Counts the labels (deleted ones excluded); 0 when the table cannot be read.
    int RecountLabels();
    // 0 INDEXD (first in, first out), 1 INDEXB (bureau order), 2 INDEXA (scan order);
    // other values are kept and leave the index as it is.
    void setIndexOnQXPQ(int value);
    int indexOnQXPQ() const { return m_indexOnQXPQ; }
    void restoreViewOrder(); // INDEXB or INDEXD as chosen, no range
    void DeletePrintedLabels();
    // Deletes every label. The caller discards the print-run journal.
    void EmptyPrintQueue();

    // Slots in use among slots 1..`priRows` of the current record.
    int slotsInUse(int priRows) const;
    // The hint of the queue grid for the current record.
    std::string QXPQDataSourceDataChange(int priRows, std::string_view managerText) const;

private:
    void packIfRoom(const std::string& dbf);

    std::string m_path;
    int m_level;
    Prompter& m_prompter;
    dbase::Table m_table;
    int m_indexOnQXPQ = 0;
    std::string m_readOnlyCause;
};

} // namespace qx7
