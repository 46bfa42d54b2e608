#include "store/ManagerDatabase.h"

#include "core/IniFile.h"
#include "core/Text.h"
#include "dbase/BatchCopy.h"
#include "store/TableHelpers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

constexpr int kCallWidth = 16;
constexpr int kDateWidth = 8;

std::vector<dbase::FieldDef> managerFields()
{
    return {{"CALL", 'C', kCallWidth, 0, true},
            {"MGR", 'C', 16, 0, true},
            {"DATEFROM", 'C', kDateWidth, 0, false},
            {"DATETO", 'C', 8, 0, false},
            {"MODE", 'C', 8, 0, false},
            {"BAND", 'C', 6, 0, false},
            {"STATUS", 'C', 1, 0, false},
            {"ADDRESS", 'C', 1, 0, false}};
}

// The key of a record under the database's CALL tag.
std::string callDateMgrKey(const ManagerEntry& e)
{
    return padToWidth(e.call, kCallWidth) + padToWidth(e.dateFrom, kDateWidth) + e.mgr;
}

ManagerEntry entryAt(const dbase::Table& t)
{
    return {t.text("CALL"), t.text("MGR"), t.text("DATEFROM"), t.text("ADDRESS")};
}

// Chunks of one hundredth of the work, at least one record.
long chunkSize(long total)
{
    return std::max(1L, total / 100);
}

} // namespace

ManagerDatabase::ManagerDatabase(std::string managerFolder, int tableLevel, Prompter& prompter,
                                 bool& useManagerDB)
    : m_folder(std::move(managerFolder)), m_level(tableLevel), m_prompter(prompter),
      m_use(useManagerDB)
{}

ManagerDatabase::~ManagerDatabase()
{
    try {
        DropWorkTable();
        CloseManagerDB();
    } catch (...) { // never throw from a destructor; close() reported nothing to fix here
    }
}

std::string ManagerDatabase::tablePath() const
{
    return (fs::path(m_folder) / "qxmgr.dbf").string();
}

std::string ManagerDatabase::workTablePath() const
{
    return (fs::path(m_folder) / "tmpmgr.dbf").string();
}

void ManagerDatabase::createIfMissing()
{
    if (dbase::Table::exists(tablePath()))
        return;
    dbase::CreateOptions options;
    options.level = tableLevel(m_level);
    options.indexes = {{"CALL", "CALL+DATEFROM+MGR"}, {"MGR", "MGR"}};
    dbase::Table::create(tablePath(), managerFields(), options);
}

void ManagerDatabase::openTable()
{
    dbase::OpenOptions options;
    options.indexes = {{"CALL", "CALL+DATEFROM+MGR"}, {"MGR", "MGR"}};
    m_table.open(tablePath(), options);
    m_table.setIndex("CALL");
}

bool ManagerDatabase::OpenManagerDB()
{
    if (!m_use)
        return false;
    try {
        createIfMissing();
        openTable();
        return true;
    } catch (const dbase::Error&) {
        m_prompter.ask(PromptIcon::Error, kManagerDbError, PromptButton::Ok);
        m_use = false;
        return false;
    }
}

void ManagerDatabase::CloseManagerDB()
{
    if (m_table.isOpen())
        m_table.close();
}

long ManagerDatabase::ManagerCount() const
{
    // Entries deleted one by one stay in the file until the next pack.
    return m_table.isOpen() ? static_cast<long>(m_table.liveRecordCount()) : 0;
}

void ManagerDatabase::ResetManagerView()
{
    if (!m_table.isOpen())
        return;
    m_table.cancelRange();
    m_table.setIndex("CALL");
    m_table.first();
}

ManagerLookUp ManagerDatabase::LookUpManager(std::string_view call, std::string_view qsoMgr,
                                             std::string_view qsoDate)
{
    ManagerCandidates.clear();
    if (!m_use)
        return {};
    if (call.empty() || qsoDate.empty() || !m_table.isOpen())
        return {std::string(qsoMgr), 0, {}};
    std::vector<ManagerEntry> entries;
    try {
        if (m_table.currentIndex() != "CALL")
            m_table.setIndex("CALL");
        m_table.setRange(call, call);
        for (; !m_table.eof(); m_table.next())
            entries.push_back(entryAt(m_table));
    } catch (const dbase::Error&) {
        entries.clear();
    }
    ManagerLookUp r = lookUpManagerIn(entries, qsoMgr, qsoDate);
    ManagerCandidates = r.candidates;
    return r;
}

void ManagerDatabase::LearnManager(std::string_view call, std::string_view newMgr,
                                   std::string_view oldMgr)
{
    if (!m_use || newMgr == oldMgr || !m_table.isOpen())
        return;
    m_table.setIndex("CALL");
    m_table.setRange(call, call);
    for (; !m_table.eof(); m_table.next()) {
        if (m_table.text("MGR") != oldMgr)
            continue;
        if (newMgr.empty()) {
            m_table.deleteRecord();
        } else {
            m_table.edit();
            m_table.setText("MGR", newMgr);
            m_table.post();
        }
        m_table.cancelRange();
        return;
    }
    m_table.cancelRange();
    if (newMgr.empty())
        return;
    m_table.append();
    m_table.setText("CALL", call);
    m_table.setText("MGR", newMgr);
    m_table.post();
}

void ManagerDatabase::reopenAfter(const std::function<void()>& rebuild)
{
    CloseManagerDB();
    try {
        rebuild();
    } catch (const dbase::Error&) {
        OpenManagerDB();
        throw;
    }
    OpenManagerDB();
}

bool ManagerDatabase::EmptyManagerDB()
{
    try {
        reopenAfter([this] {
            // An empty table written anew is what deleting every record and packing gives.
            dbase::CreateOptions options;
            options.level = tableLevel(m_level);
            options.indexes = {{"CALL", "CALL+DATEFROM+MGR"}, {"MGR", "MGR"}};
            options.overwrite = true;
            dbase::Table::create(tablePath(), managerFields(), options);
        });
        return true;
    } catch (const dbase::Error&) {
        return false;
    }
}

bool ManagerDatabase::PackManagerDB()
{
    try {
        reopenAfter([this] {
            dbase::Table t;
            t.open(tablePath(), {dbase::OpenMode::Exclusive, {}});
            t.pack();
            t.close();
        });
        return true;
    } catch (const dbase::Error&) {
        return false;
    }
}

bool ManagerDatabase::OpenWorkTable()
{
    if (!m_use)
        return false;
    try {
        if (!dbase::Table::exists(workTablePath())) {
            dbase::CreateOptions options;
            options.level = tableLevel(m_level);
            options.indexes = {{"CALL", "CALL+MGR+DATEFROM"}, {"MGR", "MGR"}};
            dbase::Table::create(workTablePath(), managerFields(), options);
        }
        m_work = std::make_unique<dbase::Table>();
        m_work->open(workTablePath());
        m_work->setIndex("CALL");
        return true;
    } catch (const dbase::Error& e) {
        noteFailure(e);
        m_work.reset();
        return false;
    }
}

void ManagerDatabase::AddWorkRecord(std::string_view call, std::string_view mgr,
                                    std::string_view dateFrom, std::string_view address)
{
    if ((!m_work || !m_work->isOpen()) && !OpenWorkTable())
        return;
    m_work->append();
    m_work->setText("CALL", call);
    m_work->setText("MGR", mgr);
    m_work->setText("DATEFROM", dateFrom);
    m_work->setText("ADDRESS", address);
    m_work->post();
}

long ManagerDatabase::WorkRecordCount()
{
    if (!m_work || !m_work->isOpen())
        return 0;
    const long n = static_cast<long>(m_work->recordCount());
    m_work->close();
    return n;
}

void ManagerDatabase::appendOrUpdate(const ManagerEntry& e)
{
    if (m_table.findKey(callDateMgrKey(e)))
        m_table.edit();
    else
        m_table.append();
    m_table.setText("CALL", e.call);
    m_table.setText("MGR", e.mgr);
    m_table.setText("DATEFROM", e.dateFrom);
    m_table.setText("ADDRESS", e.address);
    m_table.post();
}

bool ManagerDatabase::MergeWorkTable(Progress& progress)
{
    if (!m_table.isOpen())
        return false;
    try {
        if (!m_work)
            m_work = std::make_unique<dbase::Table>();
        if (!m_work->isOpen())
            m_work->open(workTablePath(), {dbase::OpenMode::ReadOnly, {}});
        const long total = static_cast<long>(m_work->recordCount());
        const long chunk = chunkSize(total);
        m_table.cancelRange();
        m_table.setIndex("CALL");
        m_work->setIndex("CALL"); // merged in call order: the target index grows in order
        const auto result = dbase::BatchCopy::run(
            *m_work, m_table, dbase::FieldMapping::sameNames(*m_work, m_table),
            dbase::CopyMode::AppendUpdate, [&](std::size_t done) {
                // The import that calls this counts in percent.
                return done % static_cast<std::size_t>(chunk) != 0 ||
                       progress.step(static_cast<long long>(done) * 100 / std::max(1L, total));
            });
        m_table.flush();
        m_work->close();
        return !result.stopped;
    } catch (const dbase::Error& e) {
        noteFailure(e);
        try {
            if (m_table.isOpen() && m_table.state() != dbase::Table::State::Browse)
                m_table.cancel();
        } catch (const dbase::Error&) {
        }
        return false;
    }
}

void ManagerDatabase::DropWorkTable()
{
    try {
        if (m_work && m_work->isOpen())
            m_work->close(); // on a full disk its index cannot be written back: no matter
    } catch (const dbase::Error&) {
    }
    m_work.reset();
    // Deleting needs no room on the disk; the plain removal covers a table whose header
    // the engine refuses.
    try {
        if (dbase::Table::exists(workTablePath()))
            dbase::Table::remove(workTablePath());
    } catch (const dbase::Error&) {
    }
    std::error_code ec;
    for (const char* ext : {".dbf", ".mdx"})
        fs::remove(fs::path(workTablePath()).replace_extension(ext), ec);
}

void ManagerDatabase::noteFailure(const dbase::Error& e)
{
    if (e.cause() == std::strerror(ENOSPC))
        m_failure =
            "the disk holding the manager folder " + m_folder + " is full (" + e.what() + ")";
    else
        m_failure = e.what();
}

ManagerDatabase::ImportResult ManagerDatabase::importTextFile(const std::string& path,
                                                              Progress& progress, long* linesRead)
{
    m_failure.clear();
    std::ifstream in(path, std::ios::binary);
    if (!m_use)
        return ImportResult::Failed;
    if (!in) {
        m_failure = path + " cannot be read: " + std::strerror(errno);
        return ImportResult::Failed;
    }
    std::ostringstream raw;
    raw << in.rdbuf();
    const std::string text = toUtf8Guessing(raw.str());
    const size_t firstEnd = text.find('\n');
    const ManagerTextFormat format = detectManagerFormat(text.substr(0, firstEnd));
    if (format == ManagerTextFormat::Unsupported) {
        m_prompter.ask(PromptIcon::Error, kUnsupportedManagerFile, PromptButton::Ok);
        return ImportResult::Unsupported;
    }
    DropWorkTable();
    if (!OpenWorkTable()) {
        if (m_failure.empty())
            m_failure = "the work table " + workTablePath() + " cannot be created";
        return ImportResult::Failed;
    }
    progress.start("Import", 100);
    ImportResult result = ImportResult::Ok;
    long damagedLine = 0;
    try {
        m_work->suspendNotifications();
        long lines = 0;
        int percent = 0;
        for (size_t pos = 0; pos < text.size();) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view line(text.data() + pos, end - pos);
            if (isDamagedManagerLine(line)) {
                result = ImportResult::Damaged;
                damagedLine = lines + 1;
                if (linesRead)
                    *linesRead = damagedLine;
                break;
            }
            if (auto e = parseManagerLine(line, format))
                AddWorkRecord(e->call, e->mgr, e->dateFrom, e->address);
            ++lines;
            pos = end + 1;
            const int now = static_cast<int>(std::min<size_t>(pos, text.size()) * 100 /
                                             std::max<size_t>(1, text.size()));
            if (now > percent) {
                percent = now;
                progress.step(percent);
            }
        }
        if (result == ImportResult::Ok) {
            if (linesRead)
                *linesRead = lines;
            progress.message("updating...");
            if (WorkRecordCount() > 0 && !MergeWorkTable(progress))
                result = ImportResult::Failed;
        }
    } catch (const dbase::Error& e) {
        noteFailure(e);
        result = ImportResult::Failed;
    }
    DropWorkTable();
    progress.finish();
    if (result == ImportResult::Damaged)
        m_prompter.ask(PromptIcon::Error, damagedManagerListMessage(damagedLine), PromptButton::Ok);
    return result;
}

bool ManagerDatabase::importManagerTable(const std::string& path, Progress& progress)
{
    m_failure.clear();
    if (!m_use || !m_table.isOpen())
        return false;
    try {
        dbase::Table source;
        source.open(path, {dbase::OpenMode::ReadOnly, {}});
        const auto call = source.findField("CALL");
        const auto mgr = source.findField("MGR");
        const auto active = source.findField("ACTIVE");
        const auto address = source.findField("ADDRESS");
        const long total = static_cast<long>(source.recordCount());
        const long chunk = total < 100 ? std::max(1L, total) : total / 100;
        progress.start("Import", total);
        m_table.cancelRange();
        m_table.setIndex("CALL");
        m_table.suspendNotifications();
        long done = 0;
        bool go = true;
        for (source.first(); go && !source.eof(); source.next()) {
            ManagerEntry e;
            e.call = call ? toUpperAscii(source.text(*call)) : "";
            e.mgr = mgr ? toUpperAscii(source.text(*mgr)) : "";
            e.dateFrom = active ? source.text(*active) : "";
            e.address = address ? source.text(*address) : "";
            try {
                if (!e.call.empty() && !e.mgr.empty())
                    appendOrUpdate(e);
            } catch (const dbase::Error&) {
                // A bad key or value in a foreign table does not stop the copy.
                if (m_table.state() != dbase::Table::State::Browse)
                    m_table.cancel();
            }
            if (++done % chunk == 0)
                go = progress.step(done);
        }
        m_table.resumeNotifications();
        m_table.flush();
        progress.finish();
        return go;
    } catch (const dbase::Error& e) {
        noteFailure(e);
        try {
            if (m_table.state() != dbase::Table::State::Browse)
                m_table.cancel();
        } catch (const dbase::Error&) {
        }
        m_table.resumeNotifications();
        progress.finish();
        return false;
    }
}

bool ManagerDatabase::exportTextFile(const std::string& path, bool dx4win, Progress& progress)
{
    if (!m_table.isOpen())
        return false;
    std::string out;
    try {
        m_table.cancelRange();
        m_table.setIndex("CALL");
        const long total = static_cast<long>(m_table.recordCount());
        progress.start("Export", total);
        long done = 0;
        int percent = 0;
        for (m_table.first(); !m_table.eof(); m_table.next()) {
            out += utf8ToCp1252(managerExportLine(entryAt(m_table), dx4win));
            out += "\r\n";
            ++done;
            const int now = static_cast<int>(done * 100 / std::max(1L, total));
            if (now > percent && !progress.step(done))
                break;
            percent = std::max(percent, now);
        }
    } catch (const dbase::Error&) {
        progress.finish();
        return false;
    }
    progress.finish();
    return writeFileAtomically(path, out);
}

} // namespace qx7
