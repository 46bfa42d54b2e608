#include "store/AdifJournal.h"

#include "core/IniFile.h"
#include "core/Text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

// Characters, not bytes: ADIF counts what the reader sees.
size_t characterCount(std::string_view utf8)
{
    size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string upper(std::string_view s)
{
    return toUpperAscii(s);
}

std::vector<std::string> recordLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (int n = 0; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (n >= 3)
            lines.push_back(line);
    }
    return lines;
}

} // namespace

std::string adifElement(std::string_view tag, std::string_view value)
{
    return "<" + std::string(tag) + ":" + std::to_string(characterCount(value)) + ">" +
           std::string(value) + " ";
}

std::string adifHeader()
{
    return std::string(kAdifExportTitle) + "\r\n\r\n<eoh>\r\n";
}

std::string journalRecord(const QsoFields& q, std::string_view rsts, std::string_view rstr,
                          std::string_view comm)
{
    std::string r = adifElement("call", q.call) + adifElement("qso_date", q.date) +
                    adifElement("time_on", q.time) + adifElement("band", upper(q.band)) +
                    adifElement("mode", upper(q.mode)) + adifElement("rst_sent", rsts) +
                    adifElement("rst_rcvd", rstr);
    if (!comm.empty())
        r += adifElement("comment", comm);
    r += q.qsls != "N" ? "<qsl_sent:1>Y " : "<qsl_sent:1>N ";
    r += q.qslr != "N" ? "<qsl_rcvd:1>Y " : "<qsl_rcvd:1>N ";
    if (const std::string mgr = labelManager(q.qmgr); !mgr.empty())
        r += adifElement("qsl_via", mgr);
    return r;
}

AdifJournal::AdifJournal(std::string tmpFolder) : m_folder(std::move(tmpFolder)) {}

AdifJournal::~AdifJournal()
{
    CloseAdifExport();
}

std::string AdifJournal::path() const
{
    return (fs::path(m_folder) / kJournalFileName).string();
}

bool AdifJournal::OpenAdifExport()
{
    if (m_file)
        return true;
    std::error_code ec;
    const bool existed = fs::exists(path(), ec);
    m_file = std::fopen(path().c_str(), "ab");
    if (!m_file) {
        noteFailure(std::strerror(errno));
        return false;
    }
    if (!existed) {
        const std::string header = adifHeader();
        if (std::fwrite(header.data(), 1, header.size(), m_file) != header.size())
            noteFailure(std::strerror(errno));
    }
    return true;
}

void AdifJournal::EndAdifRecord()
{
    if (!OpenAdifExport()) {
        ++m_dropped;
        m_record.clear();
        return;
    }
    m_record += "<eor>\r\n";
    // Flushed per record: a full disk shows at the record it hits, not at the close.
    if (std::fwrite(m_record.data(), 1, m_record.size(), m_file) != m_record.size() ||
        std::fflush(m_file) != 0) {
        ++m_dropped;
        noteFailure(std::strerror(errno));
    }
    m_record.clear();
}

bool AdifJournal::exists() const
{
    std::error_code ec;
    return fs::exists(path(), ec);
}

void AdifJournal::noteFailure(const std::string& why)
{
    if (m_failure.empty())
        m_failure = path() + ": " + why;
}

void AdifJournal::clearFailure()
{
    m_dropped = 0;
    m_failure.clear();
}

void AdifJournal::CloseAdifExport()
{
    if (m_file) {
        std::fflush(m_file);
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void AdifJournal::DiscardAdifExport()
{
    CloseAdifExport();
    m_record.clear();
    std::error_code ec;
    fs::remove(path(), ec);
}

bool AdifJournal::ExportAdifFile(const std::string& target, bool append)
{
    if (m_file)
        std::fflush(m_file);
    if (!fs::exists(path()))
        return true;
    std::vector<std::string> lines;
    std::unordered_set<std::string> seen;
    auto collect = [&](const std::string& file) {
        for (auto& line : recordLines(file))
            if (seen.insert(line).second)
                lines.push_back(std::move(line));
    };
    if (append && fs::exists(target))
        collect(target);
    collect(path());
    std::string out = adifHeader();
    for (const auto& line : lines)
        out += line + "\r\n";
    return writeFileAtomically(target, out);
}

} // namespace qx7
