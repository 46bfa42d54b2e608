#pragma once
// Shared by the engine's tests: a scratch folder per test and the log schema the
// program uses most.

#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace qx7::dbase::test {

class ScratchDir
{
public:
    ScratchDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "t";
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        m_path = std::filesystem::temp_directory_path() /
                 ("qx7db_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() { std::filesystem::remove_all(m_path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path operator/(const std::string& file) const { return m_path / file; }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::vector<FieldDef> logFields()
{
    return {{"CALL", 'C', 16}, {"DATE", 'C', 8},  {"TIME", 'C', 4},  {"BAND", 'C', 6},
            {"MODE", 'C', 8},  {"SUBM", 'C', 12}, {"RSTS", 'C', 6},  {"RSTR", 'C', 6},
            {"QSLS", 'C', 1},  {"QSLR", 'C', 1},  {"QMGR", 'C', 16}, {"DATS", 'C', 8},
            {"DATR", 'C', 8},  {"COMM", 'C', 60}, {"FREQ", 'C', 12}, {"DXCC", 'C', 6},
            {"XBND", 'C', 2},  {"MARK", 'L', 1}};
}

inline std::vector<IndexDef> logIndexes()
{
    return {{"CALL", "CALL"}, {"DATETIME", "DATE+TIME"}};
}

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Appends one QSO; returns its record number.
inline std::uint32_t addQso(Table& t, const std::string& call, const std::string& date,
                            const std::string& time, bool mark = false)
{
    t.append();
    t.setText("CALL", call);
    t.setText("DATE", date);
    t.setText("TIME", time);
    t.setBoolean("MARK", mark);
    t.post();
    return t.recNo();
}

// The visible records' values of one field, in the current order.
inline std::vector<std::string> walk(Table& t, const std::string& field)
{
    std::vector<std::string> out;
    for (t.first(); !t.eof(); t.next()) {
        out.push_back(t.text(field));
    }
    return out;
}

// Runs a shell command; returns its standard output, or nullopt-like "\x01" on failure.
inline bool runCommand(const std::string& command, std::string& output)
{
    output.clear();
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) {
        return false;
    }
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) {
        output.append(buf, n);
    }
    return ::pclose(p) == 0;
}

} // namespace qx7::dbase::test
