#pragma once
// The printers the program offers: the system's printers plus "PDF file", which is
// always there so that labels can be printed on any machine. Setting the environment
// variable QX7_NO_PDF_PRINTER to a non-empty value leaves it out (to test a machine
// without printers).

#include <string>
#include <vector>

namespace qx7 {

inline constexpr const char* kPdfPrinterName = "PDF file";

std::vector<std::string> offeredPrinters(const std::vector<std::string>& systemPrinters);

} // namespace qx7
