#pragma once
// The QSL manager database "qxmgr.dbf" in the manager folder: which station routes the
// cards of a DX call from which date on. Log windows look managers up, edits teach it,
// and manager lists are imported into it and exported from it. Everything here is
// inactive while manager look-up is switched off.

#include "core/Progress.h"
#include "core/Prompter.h"
#include "dbase/Table.h"
#include "store/ManagerFormats.h"

#include <memory>
#include <string>
#include <vector>

namespace qx7 {

inline constexpr const char* kManagerDbError = "Error: Manager database could not be created!";

class ManagerDatabase
{
public:
    // `useManagerDB` is the setting of the same name; a database that cannot be opened
    // switches it off until the program ends.
    ManagerDatabase(std::string managerFolder, int tableLevel, Prompter& prompter,
                    bool& useManagerDB);
    ~ManagerDatabase();

    std::string tablePath() const;
    std::string workTablePath() const;

    bool OpenManagerDB();
    void CloseManagerDB();
    bool isOpen() const { return m_table.isOpen(); }
    long ManagerCount() const;
    void ResetManagerView();
    dbase::Table& MgrTable() { return m_table; }

    // The manager of a QSO; fills ManagerCandidates.
    ManagerLookUp LookUpManager(std::string_view call, std::string_view qsoMgr,
                                std::string_view qsoDate);
    std::vector<std::string> ManagerCandidates;

    // The user changed the manager shown for a QSO of `call` from `oldMgr` to `newMgr`.
    void LearnManager(std::string_view call, std::string_view newMgr, std::string_view oldMgr);

    bool EmptyManagerDB();
    bool PackManagerDB();

    // The work table "tmpmgr.dbf" collects a text import before it is merged.
    bool OpenWorkTable();
    void AddWorkRecord(std::string_view call, std::string_view mgr, std::string_view dateFrom,
                       std::string_view address);
    long WorkRecordCount(); // closes the work table
    bool MergeWorkTable(Progress& progress);
    // Never throws: a clean-up that fails must not hide the failure that called it.
    void DropWorkTable();
    // Why the last import failed, naming the file or disk; empty when it did not.
    const std::string& failure() const { return m_failure; }

    enum class ImportResult
    {
        Ok,
        Unsupported,
        Damaged,
        Failed
    };
    // A ";"-separated, DX4WIN or QW6QW list, told apart by its first line. Shows
    // "Unsupported file format!" for anything else. `linesRead` counts every line. A
    // damaged line stops the import before anything is merged: the database stays as it
    // was, the message names the line and `linesRead` is that line's number.
    ImportResult importTextFile(const std::string& path, Progress& progress,
                                long* linesRead = nullptr);
    // A manager table with the fields CALL, MGR, ACTIVE and ADDRESS ("qmgr.dbf").
    bool importManagerTable(const std::string& path, Progress& progress);
    // Every record in CALL order, one line each; written whole or not at all.
    bool exportTextFile(const std::string& path, bool dx4win, Progress& progress);

private:
    void createIfMissing();
    void openTable();
    void reopenAfter(const std::function<void()>& rebuild);
    // Copies the source's current record into the database: replaces the record with the
    // same call, date and manager, else appends.
    void appendOrUpdate(const ManagerEntry& e);
    void noteFailure(const dbase::Error& e);

    std::string m_folder;
    int m_level;
    Prompter& m_prompter;
    bool& m_use;
    dbase::Table m_table;
    std::unique_ptr<dbase::Table> m_work;
    std::string m_failure;
};

} // namespace qx7
