#pragma once

#include <string>
#include <vector>

namespace qx7 {

// The printers CUPS (or the platform) offers.
std::vector<std::string> systemPrinterNames();

} // namespace qx7
