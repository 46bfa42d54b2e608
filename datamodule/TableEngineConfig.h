#pragma once
// The table engine's configuration as the program sees it: driver parameters for new
// dBase tables (level, language driver), the default driver, the version check, and
// the language driver's description and code page. Values are reached by paths of the
// form "\FOLDER\...;ENTRY", as the engine's configuration tree names them.

#include <map>
#include <string>
#include <string_view>

namespace qx7 {

inline constexpr const char* kOldEngineWarning =
    "The BDE Version is lower than 5.0!\r\nPlease install the latest update.";
inline constexpr const char* kBadConfigPathError =
    "Invalid parameter passed tofunction.  There must be a semi-colon delimited sting passed";

struct LanguageDriverInfo
{
    std::string name;
    std::string description; // at most 32 characters
    int codePage;
};

class TableEngineConfig
{
public:
    explicit TableEngineConfig(int engineVersion);

    int version() const { return m_version; }
    // Versions are given as 500 for 5.00.
    static bool versionSufficient(int version) { return version >= 500; }

    // Applies "LEVEL=<level>" and "LANGDRIVER=<name>" to the dBase driver.
    void setDBaseDriverParams(int level, const std::string& langDriver);
    void setValue(std::string_view path, std::string value);
    // Throws std::invalid_argument(kBadConfigPathError) for a path without ";".
    std::string value(std::string_view path) const;

    static LanguageDriverInfo languageDriver(std::string_view name);

private:
    static void checkPath(std::string_view path);
    int m_version;
    std::map<std::string, std::string, std::less<>> m_values;
};

} // namespace qx7
