#pragma once
// qx7cli's entry point, callable in-process by tests: global options, then one command.

#include <iosfwd>
#include <string>
#include <vector>

namespace qx7::cli {

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& executableFolder);

} // namespace qx7::cli
