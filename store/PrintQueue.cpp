#include "store/PrintQueue.h"

#include "store/TableHelpers.h"

#include <filesystem>

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

std::string queueOpenErrorText(const std::string& dbfPath)
{
    return "Error opening the print queue!\r\n\r\nDelete the print queue files \r\n" +
           withExtension(dbfPath, ".dbf") + " and \r\n" + withExtension(dbfPath, ".mdx") +
           "\r\nor restart your computer.";
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
    if (!fs::exists(dbf))
        return CreatePrintQueue();
    if (m_table.isOpen())
        return true;
    try {
        {
            // Labels deleted by the last run leave the file here.
            dbase::Table exclusive;
            exclusive.open(dbf, {dbase::OpenMode::Exclusive, printQueueIndexes()});
            exclusive.pack();
            exclusive.close();
        }
        m_table.open(dbf, {dbase::OpenMode::Shared, printQueueIndexes()});
        restoreViewOrder();
        LabelsInQueue = static_cast<int>(m_table.recordCount());
        return true;
    } catch (const dbase::Error&) {
        if (m_table.isOpen())
            m_table.close();
        m_prompter.ask(PromptIcon::Error, queueOpenErrorText(m_path), PromptButton::Ok);
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
