#include "core/Printers.h"

#include <cstdlib>

namespace qx7 {

std::vector<std::string> offeredPrinters(const std::vector<std::string>& systemPrinters)
{
    std::vector<std::string> list = systemPrinters;
    const char* off = std::getenv("QX7_NO_PDF_PRINTER");
    if (!off || !*off)
        list.emplace_back(kPdfPrinterName);
    return list;
}

} // namespace qx7
