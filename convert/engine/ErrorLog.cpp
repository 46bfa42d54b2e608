#include "convert/engine/ErrorLog.h"

#include "convert/normalize/FieldNormalizer.h"
#include "core/IniFile.h"

#include <filesystem>

namespace qx7 {

namespace {

constexpr std::string_view kProblemWords[] = {"wrong call", "wrong date", "wrong time",
                                              "unknown band", "unknown mode"};

std::string rightAligned(long long number, size_t width)
{
    std::string text = std::to_string(number);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

void ErrorLog::clear()
{
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_rows = 0;
    m_warnings = 0;
    m_listed = 0;
    m_unlisted = 0;
    m_started = false;
}

void ErrorLog::addRow(const std::string& inputFile, const ErrorRow& row)
{
    ++m_rows;
    list(inputFile, row);
}

void ErrorLog::addWarning(const std::string& inputFile, const ErrorRow& row)
{
    ++m_warnings;
    list(inputFile, row);
}

void ErrorLog::list(const std::string& inputFile, const ErrorRow& row)
{
    if (m_listed >= kListedRows) {
        ++m_unlisted;
        return;
    }
    if (!m_started) {
        m_started = true;
        m_lines.push_back("QX7 Error log for file: " + inputFile);
        m_lines.emplace_back();
        m_lines.emplace_back("QSO # |Call            |Date    |Time|Band  |Mode        |Problem");
        m_lines.emplace_back("------+----------------+--------+----+------+------------+"
                             "--------------------------");
    }
    m_lines.push_back(formatRow(row));
    ++m_listed;
}

std::string ErrorLog::formatRow(const ErrorRow& row)
{
    std::string line = rightAligned(row.qsoNumber, 6);
    line += '|' + padRight(row.call, 16);
    line += '|' + row.date;
    line += '|' + row.time;
    line += '|' + row.band;
    line += '|' + row.mode;
    line += '|';
    for (size_t i = 0; i < std::size(kProblemWords); ++i)
        if (row.problems & (1u << i))
            line.append(kProblemWords[i]).append(" ");
    line += row.note;
    return line;
}

std::string ErrorLog::fileNameFor(const std::string& tmpFolder, const std::string& outputFile)
{
    const std::filesystem::path out(outputFile);
    return (std::filesystem::path(tmpFolder) / (out.stem().string() + "_error.txt")).string();
}

std::string ErrorLog::save(const std::string& tmpFolder, const std::string& outputFile)
{
    std::string text;
    for (const std::string& line : m_lines)
        text.append(line).append("\r\n");
    if (m_unlisted > 0)
        text.append("... and ")
            .append(std::to_string(m_unlisted))
            .append(" more rows not listed (")
            .append(std::to_string(m_rows))
            .append(" QSOs rejected, ")
            .append(std::to_string(m_warnings))
            .append(" warnings in all)\r\n");
    const std::string path = fileNameFor(tmpFolder, outputFile);
    std::error_code ec;
    std::filesystem::create_directories(tmpFolder, ec);
    const bool ok = writeFileAtomically(path, text);
    m_lines.clear(); // the count stays readable until the next run
    return ok ? path : std::string();
}

} // namespace qx7
