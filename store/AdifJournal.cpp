#include "store/AdifJournal.h"

#include "core/BandModeTables.h"
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

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

size_t findIgnoringCase(std::string_view text, std::string_view upperWord, size_t from)
{
    for (size_t i = from; i + upperWord.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < upperWord.size() && upperAscii(text[i + k]) == upperWord[k])
            ++k;
        if (k == upperWord.size())
            return i;
    }
    return std::string_view::npos;
}

std::string_view trimBreaks(std::string_view s)
{
    while (!s.empty() && (s.front() == '\r' || s.front() == '\n' || s.front() == ' '))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' '))
        s.remove_suffix(1);
    return s;
}

// The records of an ADIF file, each up to and including its "<eor>", in file order.
// The header ends at "<eoh>" however many lines it has (a file without one has none);
// records keep the line breaks they were written with, and text after the last
// "<eor>" is kept as one more record rather than lost.
std::vector<std::string> adifRecords(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    size_t pos = 0;
    if (const size_t eoh = findIgnoringCase(text, "<EOH>", 0); eoh != std::string::npos)
        pos = eoh + 5;
    std::vector<std::string> records;
    while (pos < text.size()) {
        const size_t eor = findIgnoringCase(text, "<EOR>", pos);
        const size_t end = eor == std::string::npos ? text.size() : eor + 5;
        const std::string_view record = trimBreaks(std::string_view(text).substr(pos, end - pos));
        if (!record.empty())
            records.emplace_back(record);
        pos = end;
    }
    return records;
}

// What the log table holds may be cut to its field; ADIF needs the whole mode name.
std::string adifMode(std::string_view stored)
{
    const std::string mode = upper(trimmed(stored));
    const int index = storedModeIndex(mode);
    return index != 0 ? std::string(modeName(index)) : mode;
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
                    adifElement("mode", adifMode(q.mode)) + adifElement("rst_sent", rsts) +
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
        for (auto& record : adifRecords(file))
            if (seen.insert(record).second)
                lines.push_back(std::move(record));
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
