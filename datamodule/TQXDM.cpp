#include "datamodule/TQXDM.h"

#include "core/BandModeTables.h"
#include "core/Printers.h"
#include "core/QxHome.h"
#include "core/WritableFolder.h"
#include "dbase/TempFiles.h"
#include "labels/QxdFile.h"
#include "labels/Resources.h"
#include "labels/ShippedLayouts.h"
#include "store/LogSchema.h"
#include "store/LogTable.h"

#include <algorithm>
#include <filesystem>

namespace qx7 {

namespace {

const char* const kFolderKeys[] = {"QXLogPath", "QXLayoutPath", "QXManagerPath", "QXTmpPath",
                                   "QXUserPath"};
const char* const kFolderNames[] = {"logs", "layouts", "manager", "tmp", "user"};

} // namespace

TQXDM::TQXDM(DataModuleEnvironment env) : m_env(std::move(env))
{
    if (!m_env.prompter) {
        static SilentPrompter silent;
        m_env.prompter = &silent;
    }
    QXDMCreate();
}

TQXDM::~TQXDM()
{
    QXDMDestroy();
}

void TQXDM::QXDMCreate()
{
    // 1. The table engine.
    ShutDown = false;
    if (!m_env.engineStarts) {
        ShutDown = true;
        return;
    }
    m_engine = std::make_unique<TableEngineConfig>(m_env.engineVersion);

    // 2. Defaults; both QSL dates are today.
    static_cast<Settings&>(*this) = Settings{};
    setProgramFolderDefaults(m_env.programFolder);
    const Date today = m_env.today.value_or(Date::today());
    QSLSentDate = today;
    QSLRcvdDate = today;
    VisibleBands = {""};
    VisibleModes = {""};

    // 3. The settings file; a first start writes its fixed values.
    IniFile ini(iniPath());
    if (!ini.existedOnLoad())
        writeFirstStartValues(ini);

    // 4. [System], [Print], [Sort].
    readMainSections(ini);
    if (!ini.readBool("System", "QSLsDate", true))
        QSLSentDate.reset();
    if (!ini.readBool("System", "QSLrDate", true))
        QSLRcvdDate.reset();

    // 5.–8.
    readDateFormats(ini);
    convertLegacyBandSection(ini);
    readVisibility(ini);
    readFrequencyTexts(ini);
    readConvertSection(ini);
    fillEditToolbarSection(ini);

    // 9. Folders, then the keys every start rewrites. The value of "UseManagerDB" read
    // above holds for this run; the file says 1 again for the next one.
    fillDefaultFolders(ini);
    if (!ini.existedOnLoad()) {
        // So that a first start can import a log and print at once.
        installShippedLayouts(QXLayoutPath);
        writeFileAtomically(withSeparator(QXTmpPath) + "sample.adi", resources::sampleAdif);
    }
    m_batch = std::make_unique<BatchInput>(m_env.programFolder, BDEDBaseLevel, *m_env.prompter);
    UseBatchInput = m_batch->OpenBatchTables() && m_batch->hasStations();
    ini.writeBool("System", "UseManagerDB", true);
    ini.writeString("System", "LastQXD", LastQXD);
    ini.save();

    removeStaleTempFiles();

    // 10.–16.
    countLogs();
    m_pendingLogs.clear();
    LogFieldNames = logFieldNames();
    LogFieldTitles = logFieldTitles();
    findPrinters();
    initRunState();
    m_managers = std::make_unique<ManagerDatabase>(withSeparator(QXManagerPath), BDEDBaseLevel,
                                                   *m_env.prompter, UseManagerDB);
    m_queue = std::make_unique<PrintQueue>(LastPQ, BDEDBaseLevel, *m_env.prompter);
    m_queue->setIndexOnQXPQ(IndexOnQXPQ);
    m_journal = std::make_unique<AdifJournal>(QXTmpPath);
    m_swl = std::make_unique<SwlReports>(m_env.programFolder);
    configureEngine();
    m_conversion = std::make_unique<ConversionEngine>(*this, m_quietProgress, *m_env.prompter);
    m_created = true;
}

void TQXDM::QXDMDestroy()
{
    if (!m_created)
        return;
    m_pendingLogs.clear();
    m_conversion.reset();
    if (m_batch)
        m_batch->CloseBatchTables();
    m_swl.reset();
    m_journal.reset();
    m_queue.reset();
    m_managers.reset();
    m_batch.reset();
    m_engine.reset();
    m_created = false;
}

void TQXDM::writeFirstStartValues(IniFile& ini)
{
    ini.writeString("QXForm", "WindowSize", "0 1 -1 -1 -1 -1 40 40 800 600");
    ini.writeString("QXDesigner", "WindowSize", "0 1 -1 -1 -1 -1 0 0 760 560");
    const FormatSettings defaults;
    for (int m = 1; m <= 12; ++m)
        ini.writeString("DateFormats", "Short" + std::to_string(m),
                        defaults.shortMonthNames[static_cast<size_t>(m - 1)]);
    for (int m = 1; m <= 12; ++m)
        ini.writeString("DateFormats", "Long" + std::to_string(m),
                        defaults.longMonthNames[static_cast<size_t>(m - 1)]);
    ini.writeString("DateFormats", "DateSeparator", "-");
    ini.writeString("DateFormats", "TimeSeparator", ":");
    for (int b = 1; b <= MaxBand; ++b)
        ini.writeBool("BandComboBox2", std::to_string(b), defaultBandVisible(b));
    for (int m = 1; m <= MaxMode; ++m)
        ini.writeBool("ModeComboBox", std::to_string(m), defaultModeVisible(m));
}

void TQXDM::readDateFormats(const IniFile& ini)
{
    FormatSettings& fs = formatSettings();
    const FormatSettings defaults;
    for (size_t m = 0; m < 12; ++m) {
        fs.shortMonthNames[m] = ini.readString("DateFormats", "Short" + std::to_string(m + 1),
                                               defaults.shortMonthNames[m]);
        fs.longMonthNames[m] = ini.readString("DateFormats", "Long" + std::to_string(m + 1),
                                              defaults.longMonthNames[m]);
    }
    fs.dateSeparator = ini.readString("DateFormats", "DateSeparator", "-");
    fs.timeSeparator = ini.readString("DateFormats", "TimeSeparator", ":");
}

void TQXDM::convertLegacyBandSection(IniFile& ini)
{
    // The old table had no 2190m and no 60m band: old 1 is 160m, old 2 is 80m, and
    // everything from old 3 (40m) on moves up by two.
    if (!ini.sectionExists("BandComboBox"))
        return;
    for (int old = 1; old <= 27; ++old) {
        const bool visible = ini.readBool("BandComboBox", std::to_string(old), false);
        if (old == 1) {
            ini.writeBool("BandComboBox2", "2", visible);
            ini.writeBool("BandComboBox2", "1", false);
        } else if (old == 2) {
            ini.writeBool("BandComboBox2", "3", visible);
            ini.writeBool("BandComboBox2", "4", false);
        } else {
            ini.writeBool("BandComboBox2", std::to_string(old + 2), visible);
        }
    }
    ini.eraseSection("BandComboBox");
}

void TQXDM::readVisibility(const IniFile& ini)
{
    for (int b = 1; b <= MaxBand; ++b)
        if (ini.readBool("BandComboBox2", std::to_string(b), defaultBandVisible(b)))
            VisibleBands.emplace_back(bandName(b));
    for (int m = 1; m <= MaxMode; ++m)
        if (ini.readBool("ModeComboBox", std::to_string(m), defaultModeVisible(m)))
            VisibleModes.emplace_back(modeName(m));
}

void TQXDM::readFrequencyTexts(IniFile& ini)
{
    if (!ini.sectionExists("FreqFormats"))
        for (int b = 1; b <= MaxBand; ++b)
            ini.writeString("FreqFormats", bandName(b), defaultFrequencyText(b));
    BandFrequencyTexts = ini.sectionValues("FreqFormats");
}

void TQXDM::fillEditToolbarSection(IniFile& ini)
{
    if (!ini.sectionKeys("QSOEditToolbar").empty())
        return;
    const std::pair<const char*, const char*> values[] = {
        {"Rev", "3"},         {"Visible", "0"}, {"DockedTo", "+"},    {"LastDock", "SearchDock1"},
        {"DockRow", "1"},     {"DockPos", "0"}, {"FloatLeft", "400"}, {"FloatTop", "200"},
        {"FloatRightX", "99"}};
    for (const auto& [key, value] : values)
        ini.writeString("QSOEditToolbar", key, value);
}

void TQXDM::fillDefaultFolders(IniFile& ini)
{
    std::string* members[] = {&QXLogPath, &QXLayoutPath, &QXManagerPath, &QXTmpPath, &QXUserPath};
    for (size_t i = 0; i < 5; ++i) {
        if (!members[i]->empty())
            continue;
        *members[i] = m_env.programFolder + kFolderNames[i];
        makeFolders(*members[i]); // a folder that cannot be made is still written
        ini.writeString("System", kFolderKeys[i], *members[i]);
    }
}

void TQXDM::removeStaleTempFiles() const
{
    // What a killed run left in the folders this program writes to.
    const std::string queueFolder = std::filesystem::path(LastPQ).parent_path().string();
    for (const std::string& folder : {m_env.programFolder, QXLogPath, QXManagerPath, QXTmpPath,
                                      QXUserPath, QXLayoutPath, queueFolder}) {
        if (!folder.empty())
            dbase::removeStaleTempFiles(folder);
    }
}

void TQXDM::countLogs()
{
    LogCount = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(QXLogPath, ec)) {
        if (entry.path().extension() == ".qx7") {
            LogCount = 1;
            return;
        }
    }
}

void TQXDM::findPrinters()
{
    Printers =
        offeredPrinters(m_env.systemPrinters ? m_env.systemPrinters() : std::vector<std::string>{});
    PrinterAvailable = !Printers.empty();
    if (!PrinterAvailable)
        m_env.prompter->ask(PromptIcon::Warning, kNoPrinterWarning, PromptButton::Ok);
}

void TQXDM::initRunState()
{
    static_cast<QueueRunState&>(*this) = QueueRunState{};
    static_cast<ScanStatistics&>(*this) = ScanStatistics{};
    LabelDesignLoaded = LabelDesignChanged = false;
    Search = SearchState{};
    ConfigTabSheet = 1;
    SWLMode = false;
    FormActivated = -1;
    LogToOpen.clear();
}

void TQXDM::configureEngine()
{
    m_engine->setDBaseDriverParams(BDEDBaseLevel, "DBWINUS0");
    m_engine->setValue("\\SYSTEM\\INIT;DEFAULT DRIVER", "DBASE");
    BDEVersion = m_engine->version();
    if (!TableEngineConfig::versionSufficient(BDEVersion)) {
        m_env.prompter->ask(PromptIcon::Warning, kOldEngineWarning, PromptButton::Ok);
        ShutDown = true;
    }
    BDEDefaultDriver = m_engine->value("\\SYSTEM\\INIT;DEFAULT DRIVER");
    BDEDBaseLevel = std::stoi(m_engine->value("\\DRIVERS\\DBASE\\TABLE CREATE;LEVEL"));
    BDELangDriver = m_engine->value("\\DRIVERS\\DBASE\\INIT;LANGDRIVER");
    const LanguageDriverInfo ld = TableEngineConfig::languageDriver(BDELangDriver);
    BDELangDriverDesc = ld.description.substr(0, 32);
    BDECodePage = ld.codePage;
}

bool TQXDM::writeSettingsAtExit()
{
    IniFile ini(iniPath());
    ini.writeString("System", "LastQXD", LastQXD);
    ini.writeString("System", "LastPQ", LastPQ);
    ini.writeInteger("System", "LogGridSetup", LogGridSetup);
    ini.writeInteger("System", "MDIDock", MDIDock);
    ini.writeBool("System", "Maximize", Maximize);
    ini.writeBool("System", "QSLsDate", QSLSentDate.has_value());
    ini.writeBool("System", "QSLrDate", QSLRcvdDate.has_value());
    const std::pair<const char*, const std::string*> pending[] = {
        {"QXLogPath", &QXLogPathNew},
        {"QXLayoutPath", &QXLayoutPathNew},
        {"QXManagerPath", &QXManagerPathNew},
        {"QXTmpPath", &QXTmpPathNew},
        {"QXUserPath", &QXUserPathNew}};
    for (const auto& [key, value] : pending)
        if (!value->empty())
            ini.writeString("System", key, *value);
    if (!QXADIFExportPath.empty())
        ini.writeString("System", "QXADIFExportPath", QXADIFExportPath);
    ini.writeString("Print", "QSLsFlag", QSLsFlag);
    ini.writeString("Print", "QSLrFlag", QSLrFlag);
    ini.writeInteger("Sort", "IndexOnQXPQ", IndexOnQXPQ);
    return ini.save();
}

} // namespace qx7

namespace qx7 {

LabelFormat TQXDM::labelFormat() const
{
    return {LabelDateFormat, LabelTimeFormat, LabelBandFormat, BandFrequencyTexts};
}

std::string TQXDM::FormatLabelValue(std::string_view text, int kind) const
{
    return qx7::FormatLabelValue(text, kind, labelFormat());
}

bool TQXDM::CreateLogTable(std::string_view name) const
{
    return qx7::CreateLogTable(QXLogPath, name, BDEDBaseLevel);
}

bool TQXDM::CreateLogDescriptor(const std::string& tablePath) const
{
    return qx7::CreateLogDescriptor(tablePath, BDEDBaseLevel);
}

std::string TQXDM::logTablePath(std::string_view name) const
{
    return logPaths(QXLogPath, name).table;
}

} // namespace qx7

namespace qx7 {

void TQXDM::setIndexOnQXPQ(int value)
{
    IndexOnQXPQ = value;
    m_queue->setIndexOnQXPQ(value);
}

void TQXDM::EmptyPrintQueue()
{
    m_queue->EmptyPrintQueue();
    m_journal->DiscardAdifExport();
}

bool TQXDM::ExportAdifFile(const std::string& target, bool append)
{
    return m_journal->ExportAdifFile(target, append);
}

std::string TQXDM::printRunBlocker(const dbase::Table& log)
{
    if (!m_queue->isOpen())
        return "The print queue " + m_queue->path() + " is not open.";
    const std::pair<const char*, std::string> folders[] = {
        {"the log", log.path().parent_path().string()},
        {"the print queue", std::filesystem::path(m_queue->path()).parent_path().string()},
        {"the print run journal", QXTmpPath}};
    for (const auto& [what, folder] : folders)
        if (const std::string why = whyFolderRefusesWrites(folder.empty() ? "." : folder);
            !why.empty())
            return std::string("A print run cannot start: ") + what + " cannot be written (" + why +
                   ").";
    if (m_queue->isReadOnly())
        return queueReadOnlyText(m_queue->path(), m_queue->readOnlyCause());
    if (log.isOpen() && log.isReadOnly())
        return "The log " + log.path().string() +
               " is open read-only: the QSOs placed in the print queue could not be marked sent.";
    return {};
}

int TQXDM::ScanLog(dbase::Table& log, const std::string& ownCall,
                   const std::vector<std::string>& footerLines, Progress& progress,
                   const std::vector<dbase::Bookmark>& selectedRows, std::function<void()> printNow)
{
    if (PrintRun) {
        if (const std::string why = printRunBlocker(log); !why.empty()) {
            prompter().error(why);
            return -1;
        }
    }
    m_journal->clearFailure();
    ScanContext ctx{*this,      QSLSentDate, QSLRcvdDate,        labelFormat(), Search,
                    *this,      *this,       *m_queue,           *m_journal,    m_managers.get(),
                    prompter(), progress,    std::move(printNow)};
    const int result = qx7::ScanLog(ctx, log, ownCall, footerLines, selectedRows);
    if (m_journal->droppedRecords() > 0)
        prompter().warn("The print run journal could not be written (" + m_journal->failure() +
                        "):\r\n" + std::to_string(m_journal->droppedRecords()) +
                        " QSO(s) placed in the print queue are missing from it. The print "
                        "queue and the log are complete.");
    return result;
}

void TQXDM::QueueSWLReports(const std::string& listener)
{
    m_swl->QueueSWLReports(listener, *m_queue, PriRows, SlashedZero, labelFormat());
}

void TQXDM::deleteBatchStation()
{
    if (!m_batch->deleteCurrentStation())
        UseBatchInput = false;
}

void TQXDM::SaveImportPath(int format, const std::string& folder, const std::string& spec)
{
    IniFile ini(iniPath());
    ini.writeString("ImportPath", std::to_string(format), folder);
    if (!spec.empty())
        ini.writeString("ImportSpec", std::to_string(format), spec);
    ini.save();
}

void TQXDM::SaveImportSpec(int format, const std::string& spec)
{
    if (spec.empty())
        return;
    IniFile ini(iniPath());
    ini.writeString("ImportSpec", std::to_string(format), spec);
    ini.save();
}

std::pair<std::string, std::string> TQXDM::LoadImportPath(int format, std::string spec) const
{
    // The program's own logs are always taken from the log folder.
    if (format == 42)
        return {QXLogPath, std::move(spec)};
    const IniFile ini(iniPath());
    return {ini.readString("ImportPath", std::to_string(format), withSeparator(QXTmpPath)),
            ini.readString("ImportSpec", std::to_string(format), "")};
}

} // namespace qx7

namespace qx7 {

void TQXDM::publishLayoutCounts(const LayoutCounts& counts)
{
    PriRows = std::clamp(counts.qsoLines, 1, kQueueSlots);
    PriBoLN = std::clamp(counts.footerLines, 0, kQueueFooters);
    LabelsPerPage = std::max(1, counts.labelsPerSheet);
}

std::string TQXDM::layoutPath(const std::string& file) const
{
    if (file.find('/') != std::string::npos || std::filesystem::exists(file))
        return file;
    return withSeparator(QXLayoutPath) + file;
}

std::optional<LayoutCounts> TQXDM::loadLayout(const std::string& file, LabelLayout& layout,
                                              std::string* error)
{
    const auto counts = openLayoutFile(layoutPath(file), layout, error);
    if (counts) {
        publishLayoutCounts(*counts);
        LabelDesignLoaded = true;
    }
    return counts;
}

} // namespace qx7
