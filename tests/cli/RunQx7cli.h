#pragma once
// Runs the built qx7cli program on a QX home and collects what it printed.

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace qx7::testing {

struct CliResult
{
    int code;
    std::string out;
};

// Runs a shell command and collects its output (stdout and stderr).
inline CliResult shell(const std::string& command)
{
    const std::string cmd = command + " 2>&1";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    while (size_t n = std::fread(buf.data(), 1, buf.size(), pipe))
        out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    return {WEXITSTATUS(status), out};
}

inline std::string qx7cliPath()
{
    return std::string(QX7_BINARY_DIR) + "/cli/qx7cli";
}

inline CliResult qx7cli(const std::filesystem::path& home, const std::string& args)
{
    return shell(qx7cliPath() + " --home '" + home.string() + "' " + args);
}

// Every record of a dBase table as python3-dbfread, an independent reader, sees it: the
// fields asked for joined by "|", one line a record. Empty with `ok` false when the
// reader is missing or fails on the file.
struct OutsideRead
{
    bool ok = false;
    bool readerMissing = false;
    std::vector<std::string> rows;
    std::string output;
};

inline OutsideRead readWithDbfread(const std::filesystem::path& table,
                                   const std::string& fieldsSpaceSeparated)
{
    OutsideRead r;
    // The system's Python carries the Debian package; a Python of its own may not.
    const std::string python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    if (shell(python + " -c 'import dbfread'").code != 0) {
        r.readerMissing = true;
        return r;
    }
    const CliResult res =
        shell("PYTHONIOENCODING=utf-8 " + python +
              " -c 'import dbfread,sys\n"
              "t=dbfread.DBF(sys.argv[1],load=False,char_decode_errors=\"replace\")\n"
              "n=0\n"
              "for rec in t:\n"
              "    n+=1\n"
              "    print(\"ROW \"+\"|\".join(str(rec[f]).strip() for f in sys.argv[2:]))\n"
              "print(\"COUNT\",n)' '" +
              table.string() + "' " + fieldsSpaceSeparated);
    r.output = res.out;
    if (res.code != 0)
        return r;
    size_t pos = 0;
    while (pos < res.out.size()) {
        const size_t end = res.out.find('\n', pos);
        const std::string line = res.out.substr(pos, end == std::string::npos ? end : end - pos);
        if (line.rfind("ROW ", 0) == 0)
            r.rows.push_back(line.substr(4));
        if (line.rfind("COUNT ", 0) == 0)
            r.ok = std::stoul(line.substr(6)) == r.rows.size();
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return r;
}

} // namespace qx7::testing
