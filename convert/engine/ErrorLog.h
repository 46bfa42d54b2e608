#pragma once
// The per-run list of QSOs that failed their checks: a header naming the input log in
// which the first problem was found, then one fixed-column row per rejected QSO. It is
// saved beside the other work files under the output file's name + "_error.txt".

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

enum Problem : unsigned
{
    WrongCall = 1,
    WrongDate = 2,
    WrongTime = 4,
    UnknownBand = 8,
    UnknownMode = 16
};

struct ErrorRow
{
    long long qsoNumber = 0; // QSOs read before this one, plus 1
    std::string call;
    std::string date; // 8 characters as stored
    std::string time; // 4 characters as stored
    std::string band; // 6 characters
    std::string mode; // 12 characters
    unsigned problems = 0;
};

class ErrorLog
{
public:
    // -1 while no problem was found in this run, else the number of rows.
    long long count() const { return m_started ? static_cast<long long>(m_rows) : -1; }
    bool exists() const { return m_started; }
    const std::vector<std::string>& lines() const { return m_lines; }

    void clear();
    // The first row of a run also writes the header naming `inputFile`.
    void addRow(const std::string& inputFile, const ErrorRow& row);

    static std::string formatRow(const ErrorRow& row);
    // tmp folder + output file name with its extension replaced by "_error.txt".
    static std::string fileNameFor(const std::string& tmpFolder, const std::string& outputFile);
    // Writes the lines (CR LF) and forgets them, keeping the count; the path written, or
    // empty on failure.
    std::string save(const std::string& tmpFolder, const std::string& outputFile);

private:
    std::vector<std::string> m_lines;
    size_t m_rows = 0;
    bool m_started = false;
};

} // namespace qx7
