#include "datamodule/TableEngineConfig.h"

#include <array>
#include <stdexcept>

namespace qx7 {

namespace {

// The language drivers new tables may be created with; DBWINUS0 is the one we use.
const std::array<LanguageDriverInfo, 5> kLanguageDrivers = {{
    {"DBWINUS0", "dBASE US ANSI", 1252},
    {"DBWINWE0", "dBASE WEurope ANSI", 1252},
    {"DB437US0", "dBASE US cp437", 437},
    {"DB850US0", "dBASE US cp850", 850},
    {"DB850WE0", "dBASE WEurope cp850", 850},
}};

} // namespace

TableEngineConfig::TableEngineConfig(int engineVersion) : m_version(engineVersion)
{
    m_values["\\SYSTEM\\INIT;DEFAULT DRIVER"] = "PARADOX";
    m_values["\\DRIVERS\\DBASE\\TABLE CREATE;LEVEL"] = "4";
    m_values["\\DRIVERS\\DBASE\\INIT;LANGDRIVER"] = "DBWINUS0";
}

void TableEngineConfig::checkPath(std::string_view path)
{
    if (path.find(';') == std::string_view::npos)
        throw std::invalid_argument(kBadConfigPathError);
}

void TableEngineConfig::setDBaseDriverParams(int level, const std::string& langDriver)
{
    setValue("\\DRIVERS\\DBASE\\TABLE CREATE;LEVEL", std::to_string(level));
    setValue("\\DRIVERS\\DBASE\\INIT;LANGDRIVER", langDriver);
}

void TableEngineConfig::setValue(std::string_view path, std::string value)
{
    checkPath(path);
    m_values[std::string(path)] = std::move(value);
}

std::string TableEngineConfig::value(std::string_view path) const
{
    checkPath(path);
    const auto it = m_values.find(path);
    return it == m_values.end() ? std::string() : it->second;
}

LanguageDriverInfo TableEngineConfig::languageDriver(std::string_view name)
{
    const std::string_view key = name.substr(0, 32);
    for (const auto& ld : kLanguageDrivers)
        if (ld.name == key)
            return ld;
    return {std::string(key), "", 0};
}

} // namespace qx7
