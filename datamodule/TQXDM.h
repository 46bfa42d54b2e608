#pragma once
// The data module: owns every setting, table and the shared run state for the whole
// process. The desktop program and qx7cli both create exactly one and reach everything
// through it; windows hold no logic of their own.

#include "convert/engine/ConversionEngine.h"
#include "core/DateFormat.h"
#include "core/IniFile.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"
#include "datamodule/TableEngineConfig.h"
#include "labels/LabelLayout.h"
#include "labels/LayoutOperations.h"
#include "store/AdifJournal.h"
#include "store/BatchInput.h"
#include "store/CallSign.h"
#include "store/LogScan.h"
#include "store/ManagerDatabase.h"
#include "store/PrintQueue.h"
#include "store/SwlReports.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx7 {

inline constexpr const char* kNoPrinterWarning =
    "No printer installed!\r\nLabel Designer and printing will be disabled.";

// What the data module needs from the process that creates it.
struct DataModuleEnvironment
{
    std::string programFolder; // with a trailing "/"
    Prompter* prompter = nullptr;
    // The system's printers; "PDF file" is added to them (see core/Printers.h).
    std::function<std::vector<std::string>()> systemPrinters;
    // The table engine's version (500 = 5.00); a test may pretend an old engine.
    int engineVersion = dbase::engineVersion();
    // False pretends the table engine cannot start (for tests).
    bool engineStarts = true;
    // Today, for the QSL dates (tests fix it).
    std::optional<Date> today;
};

class TQXDM : public Settings, public QueueRunState, public ScanStatistics
{
public:
    explicit TQXDM(DataModuleEnvironment env); // runs QXDMCreate
    ~TQXDM();                                  // runs QXDMDestroy
    TQXDM(const TQXDM&) = delete;
    TQXDM& operator=(const TQXDM&) = delete;

    const std::string& programFolder() const { return m_env.programFolder; }
    std::string iniPath() const { return m_env.programFolder + "qx7.ini"; }
    Prompter& prompter() { return *m_env.prompter; }

    // Band and mode tables and the entries offered in selection lists.
    std::vector<std::string> VisibleBands;
    std::vector<std::string> VisibleModes;
    std::vector<std::string> BandFrequencyTexts; // "name=value", entry n for band n

    std::optional<Date> QSLSentDate;
    std::optional<Date> QSLRcvdDate;

    // Pending folder values set by the configuration dialog; written at exit.
    std::string QXLogPathNew, QXLayoutPathNew, QXManagerPathNew, QXTmpPathNew, QXUserPathNew;

    int LogCount = 0;
    bool PrinterAvailable = false;
    std::vector<std::string> Printers;
    bool ShutDown = false;
    bool UseBatchInput = false;
    int FormActivated = 0;
    std::string LogToOpen;
    std::vector<std::string> LogFieldNames;
    std::vector<std::string> LogFieldTitles;

    // Table engine facts read back after configuration.
    int BDEVersion = 0;
    std::string BDEDefaultDriver;
    std::string BDELangDriverDesc;
    int BDECodePage = 0;

    // Run state of printing (the scan's own is in QueueRunState).
    bool LabelDesignLoaded = false;
    bool LabelDesignChanged = false;
    SearchState Search;
    int ConfigTabSheet = 1;
    bool SWLMode = false;

    // The logs the main window opens.
    void clearPendingLogs() { m_pendingLogs.clear(); }
    void addPendingLog(std::string file) { m_pendingLogs.push_back(std::move(file)); }
    const std::vector<std::string>& PendingLogs() const { return m_pendingLogs; }

    const TableEngineConfig& engineConfig() const { return *m_engine; }

    // Call-sign key and label values with the label settings of this run.
    std::string CallSortKey(std::string_view call) const { return qx7::CallSortKey(call); }
    std::string FormatLabelValue(std::string_view text, int kind) const;
    std::string SlashZeros(std::string_view text) const
    {
        return qx7::SlashZeros(text, SlashedZero);
    }
    LabelFormat labelFormat() const;

    // Logs in the log folder.
    bool CreateLogTable(std::string_view name) const;
    bool CreateLogDescriptor(const std::string& tablePath) const;
    std::string logTablePath(std::string_view name) const;

    // The manager database (opened by the main window, or by a command that needs it).
    ManagerDatabase& managers() { return *m_managers; }

    // The print queue (opened by the main window, or by a command that needs it).
    PrintQueue& printQueue() { return *m_queue; }
    bool OpenPrintQueue() { return m_queue->OpenPrintQueue(); }
    int LabelsInQueue() const { return m_queue->LabelsInQueue; }
    void setIndexOnQXPQ(int value);
    void DeletePrintedLabels() { m_queue->DeletePrintedLabels(); }
    // Empties the queue and drops the journal of the print runs that filled it.
    void EmptyPrintQueue();
    AdifJournal& journal() { return *m_journal; }
    bool ExportAdifFile(const std::string& target, bool append);

    // Why a print run over `log` cannot start: the queue, the log or a folder they are
    // written to (log, queue, tmp for the journal) refuses writes. Empty when it can.
    std::string printRunBlocker(const dbase::Table& log);
    // Scans a log (see store/LogScan.h); PrintRun and ScanSelection are set by the caller.
    // A print run that cannot write everything it touches does not start: the error is
    // shown and the result is -1. Journal lines that could not be written are reported.
    int ScanLog(dbase::Table& log, const std::string& ownCall,
                const std::vector<std::string>& footerLines, Progress& progress,
                const std::vector<dbase::Bookmark>& selectedRows = {},
                std::function<void()> printNow = {});

    // A label layout was loaded, saved or changed: its QSO lines, footer lines and labels
    // per sheet become "PriRows", "PriBoLN" and LabelsPerPage, within the queue's bounds.
    void publishLayoutCounts(const LayoutCounts& counts);
    // Loads a layout file (a bare name is taken from the layout folder) and publishes its
    // counts; nothing when it cannot be read.
    std::optional<LayoutCounts> loadLayout(const std::string& file, LabelLayout& layout,
                                           std::string* error = nullptr);
    std::string layoutPath(const std::string& file) const;

    // The conversion engine of the Tools Wizard, macros, the new-log dialog and qx7cli.
    ConversionEngine& conversion() { return *m_conversion; }

    SwlReports& swl() { return *m_swl; }
    void QueueSWLReports(const std::string& listener);
    BatchInput& batchInput() { return *m_batch; }
    // Deletes the current station of batch table 1 with its QSOs.
    void deleteBatchStation();

    // The folder and log specification last used per import format.
    void SaveImportPath(int format, const std::string& folder, const std::string& spec);
    void SaveImportSpec(int format, const std::string& spec);
    std::pair<std::string, std::string> LoadImportPath(int format, std::string spec = {}) const;

    // What the main window writes back when the program closes.
    bool writeSettingsAtExit();

private:
    void QXDMCreate();
    void QXDMDestroy();
    void writeFirstStartValues(IniFile& ini);
    void readDateFormats(const IniFile& ini);
    void convertLegacyBandSection(IniFile& ini);
    void readVisibility(const IniFile& ini);
    void readFrequencyTexts(IniFile& ini);
    void fillEditToolbarSection(IniFile& ini);
    void fillDefaultFolders(IniFile& ini);
    void countLogs();
    void removeStaleTempFiles() const;
    void findPrinters();
    void initRunState();
    void configureEngine();

    DataModuleEnvironment m_env;
    std::unique_ptr<TableEngineConfig> m_engine;
    std::vector<std::string> m_pendingLogs;
    std::unique_ptr<ManagerDatabase> m_managers;
    std::unique_ptr<PrintQueue> m_queue;
    std::unique_ptr<AdifJournal> m_journal;
    std::unique_ptr<SwlReports> m_swl;
    std::unique_ptr<BatchInput> m_batch;
    NullProgress m_quietProgress;
    std::unique_ptr<ConversionEngine> m_conversion;
    bool m_created = false;
};

} // namespace qx7
