#include "store/PrintQueue.h"

#include "store/TableHelpers.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

constexpr int kSlotWidths[] = {18, 5, 8, 8, 12, 6, 6, 60, 12, 6, 16, 20};
constexpr int kKeyWidth = 20;
constexpr int kFooterWidth = 64;

std::string withExtension(const std::string& path, const char* ext)
{
    return fs::path(path).replace_extension(ext).string();
}

} // namespace

char slotLetter(int slot)
{
    return static_cast<char>(64 + slot);
}

std::string slotField(int slot, std::string_view field)
{
    return std::string(1, slotLetter(slot)) + "_" + std::string(field);
}

std::vector<dbase::FieldDef> printQueueFields()
{
    std::vector<dbase::FieldDef> f = {
        {"INDEXB", 'C', kKeyWidth, 0, true},   {"INDEXD", 'C', kKeyWidth, 0, false},
        {"HISCALL", 'C', kKeyWidth, 0, false}, {"MANAGER", 'C', kKeyWidth, 0, false},
        {"MYCALL", 'C', kKeyWidth, 0, false},  {"NUMQSOS", 'C', 2, 0, false}};
    for (int slot = 1; slot <= kQueueSlots; ++slot)
        for (size_t i = 0; i < std::size(kSlotFields); ++i)
            f.push_back({slotField(slot, kSlotFields[i]), 'C', kSlotWidths[i], 0, false});
    for (int n = 1; n <= kQueueFooters; ++n)
        f.push_back({"FOOTER" + std::to_string(n), 'C', kFooterWidth, 0, false});
    for (int n = 1; n <= 3; ++n)
        f.push_back({"XTRA" + std::to_string(n), 'C', kKeyWidth, 0, false});
    return f;
}

std::vector<dbase::IndexDef> printQueueIndexes()
{
    return {{"INDEXB", "INDEXB"}, {"INDEXD", "INDEXD"}, {"INDEXA", "HISCALL+MANAGER+MYCALL"}};
}

std::string managerLabelText(std::string_view stored, std::string_view managerText)
{
    if (stored.empty() || stored.find(' ') != std::string_view::npos)
        return std::string(stored);
    return std::string(managerText) + " " + std::string(stored);
}

std::string queueOpenErrorText(const std::string& dbfPath, const dbase::Error& error)
{
    const std::string dbf = withExtension(dbfPath, ".dbf");
    std::string text = "Error opening the print queue!\r\n\r\n";
    switch (error.kind()) {
    case dbase::Error::Kind::InUse:
        return text + "The print queue " + dbf +
               " is in use by another program.\r\nClose that program and try again.";
    case dbase::Error::Kind::Damaged:
        return text + "The print queue " + dbf + " is damaged: " + error.cause() +
               (error.where().empty() ? "" : " (at " + error.where() + ")") +
               ".\r\nIts labels are still in the file: keep a copy of it before repairing it "
               "with a dBase tool.";
    default:
        break;
    }
    if (error.cause() == std::strerror(ENOSPC))
        return text + "The disk holding " + dbf + " is full.\r\nMake room on it and try again.";
    if (error.cause() == std::strerror(EROFS) || error.cause() == std::strerror(EACCES) ||
        error.kind() == dbase::Error::Kind::ReadOnly)
        return text + "The print queue " + dbf + " cannot be written: " + error.cause() + '.';
    return text + "The print queue " + dbf + " cannot be opened: " + error.cause() + '.';
}

std::string queueReadOnlyText(const std::string& dbfPath, const std::string& cause)
{
    return "The print queue " + withExtension(dbfPath, ".dbf") + " cannot be written (" + cause +
           ").\r\nNo labels can be added to it or removed from it until it can be written.";
}

void PrintQueue::packIfRoom(const std::string& dbf)
{
    // Packing writes a copy of the table beside it; without room for it (or on a disk
    // that refuses writes) the deleted labels simply stay until a later start.
    // The copy and a new index, with some slack.
    std::error_code ec, noIndex;
    const auto needed =
        2 * (fs::file_size(dbf, ec) + fs::file_size(withExtension(dbf, ".mdx"), noIndex)) +
        (64u << 10);
    const auto space = fs::space(fs::path(dbf).parent_path(), ec);
    if (ec || space.available < needed || ::access(dbf.c_str(), W_OK) != 0)
        return;
    try {
        dbase::Table exclusive;
        exclusive.open(dbf, {dbase::OpenMode::Exclusive, printQueueIndexes()});
        exclusive.pack();
        exclusive.close();
    } catch (const dbase::Error& e) {
        if (e.kind() != dbase::Error::Kind::Io)
            throw; // in use or damaged: the open below would fail the same way
    }
}

PrintQueue::PrintQueue(std::string path, int tableLevel, Prompter& prompter)
    : m_path(std::move(path)), m_level(tableLevel), m_prompter(prompter)
{}

void PrintQueue::restoreViewOrder()
{
    if (!m_table.isOpen())
        return;
    m_table.cancelRange();
    m_table.setIndex(m_indexOnQXPQ != 0 ? "INDEXB" : "INDEXD");
}

bool PrintQueue::OpenPrintQueue()
{
    const std::string dbf = withExtension(m_path, ".dbf");
    std::error_code ec;
    if (!fs::exists(dbf, ec) && !ec)
        return CreatePrintQueue();
    if (m_table.isOpen())
        return true;
    try {
        packIfRoom(dbf);
        try {
            m_table.open(dbf, {dbase::OpenMode::Shared, printQueueIndexes()});
        } catch (const dbase::Error& e) {
            if (e.kind() != dbase::Error::Kind::Io || ::access(dbf.c_str(), R_OK) != 0)
                throw;
            // A queue that cannot be written can still be listed and counted.
            m_table.open(dbf, {dbase::OpenMode::ReadOnly, printQueueIndexes()});
            m_readOnlyCause = e.cause();
        }
        restoreViewOrder();
        // Without room for a pack the deleted labels are still in the file.
        LabelsInQueue = static_cast<int>(m_table.liveRecordCount());
        return true;
    } catch (const dbase::Error& e) {
        if (m_table.isOpen())
            m_table.close();
        m_prompter.ask(PromptIcon::Error, queueOpenErrorText(m_path, e), PromptButton::Ok);
        return false;
    }
}

bool PrintQueue::CreatePrintQueue()
{
    try {
        ClosePrintQueue();
        const std::string dbf = withExtension(m_path, ".dbf");
        std::error_code ec;
        fs::remove(withExtension(m_path, ".mdx"), ec);
        dbase::CreateOptions options;
        options.level = tableLevel(m_level);
        options.indexes = printQueueIndexes();
        options.overwrite = true;
        dbase::Table::create(dbf, printQueueFields(), options);
        m_table.open(dbf, {dbase::OpenMode::Shared, printQueueIndexes()});
        restoreViewOrder();
        LabelsInQueue = 0;
        return true;
    } catch (const dbase::Error&) {
        m_prompter.ask(PromptIcon::Error, kQueueCreateError, PromptButton::Ok);
        return false;
    }
}

void PrintQueue::ClosePrintQueue()
{
    if (m_table.isOpen())
        m_table.close();
}

int PrintQueue::RecountLabels()
{
    LabelsInQueue = 0;
    if (!m_table.isOpen())
        return 0;
    try {
        // Deleted labels stay in the file until the next open packs it: count the live ones.
        LabelsInQueue = static_cast<int>(m_table.liveRecordCount());
    } catch (const dbase::Error&) {
        LabelsInQueue = 0;
    }
    return LabelsInQueue;
}

void PrintQueue::setIndexOnQXPQ(int value)
{
    m_indexOnQXPQ = value;
    if (!m_table.isOpen() || value < 0 || value > 2)
        return;
    static const char* const tags[] = {"INDEXD", "INDEXB", "INDEXA"};
    m_table.setIndex(tags[value]);
}

void PrintQueue::DeletePrintedLabels()
{
    if (!m_table.isOpen())
        return;
    try {
        m_table.cancelRange();
        m_table.suspendNotifications();
        for (m_table.first(); !m_table.eof();) {
            if (m_table.text("XTRA3") == kPrintedMark)
                m_table.deleteRecord();
            else
                m_table.next();
        }
        m_table.resumeNotifications();
    } catch (const dbase::Error&) {
        m_table.resumeNotifications();
    }
    restoreViewOrder();
    RecountLabels();
}

void PrintQueue::EmptyPrintQueue()
{
    if (m_table.isOpen()) {
        try {
            m_table.cancelRange();
            m_table.suspendNotifications();
            for (m_table.first(); !m_table.isEmpty() && !m_table.eof();)
                m_table.deleteRecord();
        } catch (const dbase::Error&) { // what was deleted stays deleted
        }
        m_table.resumeNotifications();
    }
    LabelsInQueue = 0;
}

int PrintQueue::slotsInUse(int priRows) const
{
    int used = 0;
    for (int slot = 1; slot <= std::min(priRows, kQueueSlots); ++slot) {
        const std::string band = m_table.text(slotField(slot, "BAND"));
        if (!band.empty() && band != kDashedBand)
            ++used;
    }
    return used;
}

std::string PrintQueue::QXPQDataSourceDataChange(int priRows, std::string_view managerText) const
{
    if (!m_table.isOpen() || m_table.isEmpty())
        return {};
    std::string hint = m_table.text("HISCALL") + " " +
                       managerLabelText(m_table.text("MANAGER"), managerText) +
                       " [my call: " + m_table.text("MYCALL") + "]";
    for (int slot = 1; slot <= std::min(priRows, kQueueSlots); ++slot) {
        const std::string band = m_table.text(slotField(slot, "BAND"));
        if (!band.empty() && band != kDashedBand)
            hint += "\r- " + band + " " + m_table.text(slotField(slot, "MODE"));
    }
    return hint;
}

} // namespace qx7
