#include "store/SwlReports.h"

#include "store/PrintQueue.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace qx7 {

namespace {

std::vector<dbase::FieldDef> swlFields()
{
    return {{"HRDC", 'C', 16, 0, false},   {"DATE", 'C', 8, 0, false}, {"TIME", 'C', 4, 0, false},
            {"BAND", 'C', 6, 0, false},    {"MODE", 'C', 8, 0, false}, {"SUBM", 'C', 20, 0, false},
            {"MYCALL", 'C', 16, 0, false}, {"COMM", 'C', 60, 0, false}};
}

std::string labelDate(const std::string& date, const LabelFormat& format)
{
    try {
        return FormatLabelValue(date, DateValue, format);
    } catch (const ConversionError&) {
        return date; // not a calendar date: shown as stored
    }
}

} // namespace

std::string SwlReports::path() const
{
    return (std::filesystem::path(m_folder) / "qx7swl.dbf").string();
}

bool SwlReports::OpenSWLTable()
{
    try {
        if (m_table.isOpen())
            return true;
        if (dbase::Table::exists(path())) {
            m_table.open(path(), {dbase::OpenMode::Exclusive, {}});
            m_table.pack();
        } else {
            dbase::Table::create(path(), swlFields());
            m_table.open(path(), {dbase::OpenMode::Exclusive, {}});
        }
        return true;
    } catch (const dbase::Error&) {
        if (m_table.isOpen())
            m_table.close();
        return false;
    }
}

void SwlReports::CloseSWLTable()
{
    if (m_table.isOpen())
        m_table.close();
}

void SwlReports::ClearSWLTable()
{
    if (!m_table.isOpen())
        return;
    for (m_table.first(); !m_table.isEmpty() && !m_table.eof();)
        m_table.deleteRecord();
    if (m_table.isExclusive())
        m_table.pack();
}

void SwlReports::addReport(const std::string& heard, const std::string& date,
                           const std::string& time, const std::string& band,
                           const std::string& mode, const std::string& subMode,
                           const std::string& myCall, const std::string& comment)
{
    m_table.append();
    const std::pair<const char*, const std::string*> values[] = {
        {"HRDC", &heard}, {"DATE", &date},    {"TIME", &time},     {"BAND", &band},
        {"MODE", &mode},  {"SUBM", &subMode}, {"MYCALL", &myCall}, {"COMM", &comment}};
    for (const auto& [field, value] : values)
        m_table.setText(field, *value);
    m_table.post();
}

void SwlReports::QueueSWLReports(const std::string& listener, PrintQueue& queue, int priRows,
                                 int slashedZero, const LabelFormat& format)
{
    if (!m_table.isOpen())
        return;
    const int perLabel = std::clamp(priRows, 1, kQueueSlots);
    dbase::Table& q = queue.QXPQTable();
    // The reports on the label being filled; they leave the table only once the label
    // is posted, so a label that cannot be written loses none of them.
    std::vector<dbase::Bookmark> onLabel;
    auto postLabel = [&] {
        q.post();
        ++queue.LabelsInQueue;
        for (const auto& report : onLabel)
            if (m_table.gotoBookmark(report))
                m_table.deleteRecord();
        onLabel.clear();
    };
    std::vector<dbase::Bookmark> reports;
    for (m_table.first(); !m_table.isEmpty() && !m_table.eof(); m_table.next())
        reports.push_back(m_table.bookmark());
    try {
        for (const auto& report : reports) {
            if (!m_table.gotoBookmark(report))
                continue;
            if (onLabel.empty()) {
                q.append();
                q.setText("INDEXB", listener);
                q.setText("MYCALL", m_table.text("MYCALL"));
                q.setText("HISCALL", SlashZeros(listener, slashedZero));
            }
            onLabel.push_back(report);
            const int slot = static_cast<int>(onLabel.size());
            q.setText(slotField(slot, "HRDC"), m_table.text("HRDC"));
            q.setText(slotField(slot, "DATE"), labelDate(m_table.text("DATE"), format));
            q.setText(slotField(slot, "TIME"),
                      FormatLabelValue(m_table.text("TIME"), TimeValue, format));
            q.setText(slotField(slot, "BAND"),
                      FormatLabelValue(m_table.text("BAND"), BandValue, format));
            q.setText(slotField(slot, "MODE"), m_table.text("MODE"));
            q.setText(slotField(slot, "SUBM"), m_table.text("SUBM"));
            q.setText("NUMQSOS", std::to_string(slot));
            if (slot == perLabel)
                postLabel();
        }
        if (!onLabel.empty())
            postLabel();
    } catch (...) {
        if (q.state() != dbase::Table::State::Browse)
            q.cancel();
        throw;
    }
    if (m_table.isExclusive())
        m_table.pack();
}

} // namespace qx7
