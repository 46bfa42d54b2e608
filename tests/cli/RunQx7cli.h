#pragma once
// Runs the built qx7cli program on a QX home and collects what it printed.

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>

namespace qx7::testing {

struct CliResult
{
    int code;
    std::string out;
};

inline CliResult qx7cli(const std::filesystem::path& home, const std::string& args)
{
    const std::string cmd = std::string(QX7_BINARY_DIR) + "/cli/qx7cli --home '" + home.string() +
                            "' " + args + " 2>&1";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    while (size_t n = std::fread(buf.data(), 1, buf.size(), pipe))
        out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    return {WEXITSTATUS(status), out};
}

} // namespace qx7::testing
