#include "labels/render/SystemPrinters.h"

#include <QPrinterInfo>

namespace qx7 {

std::vector<std::string> systemPrinterNames()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

} // namespace qx7
