#pragma once
// The per-run list of QSOs that failed their checks: a header naming the input log in
// which the first problem was found, then one fixed-column row per rejected QSO, and one
// warning row per value an imported QSO did not keep as it came. It is saved beside the
// other work files under the output file's name + "_error.txt". A broken file can fail
// every one of millions of QSOs: only the first rows are listed, then their count.

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
    std::string note; // after the problem words: what was wrong with a value
};

class ErrorLog
{
public:
    static constexpr size_t kListedRows = 10000;

    // -1 while no QSO was rejected in this run, else the number of rejected QSOs.
    long long count() const { return m_rows > 0 ? static_cast<long long>(m_rows) : -1; }
    long long warningCount() const { return static_cast<long long>(m_warnings); }
    bool exists() const { return m_started; }
    // The head and the listed rows; the line that counts the rows left out is added
    // when the log is saved.
    const std::vector<std::string>& lines() const { return m_lines; }
    size_t unlistedRows() const { return m_unlisted; }

    void clear();
    // A rejected QSO. The first row of a run also writes the header naming `inputFile`.
    void addRow(const std::string& inputFile, const ErrorRow& row);
    // An imported QSO one of whose values changed or looks wrong; `row.note` says how.
    void addWarning(const std::string& inputFile, const ErrorRow& row);

    static std::string formatRow(const ErrorRow& row);
    // tmp folder + output file name with its extension replaced by "_error.txt".
    static std::string fileNameFor(const std::string& tmpFolder, const std::string& outputFile);
    // Writes the lines (CR LF) and forgets them, keeping the count; the path written, or
    // empty on failure.
    std::string save(const std::string& tmpFolder, const std::string& outputFile);

private:
    void list(const std::string& inputFile, const ErrorRow& row);

    std::vector<std::string> m_lines;
    size_t m_rows = 0;
    size_t m_warnings = 0;
    size_t m_listed = 0;
    size_t m_unlisted = 0;
    bool m_started = false;
};

} // namespace qx7
