#pragma once
// The fixed table of log types the conversion engine knows, in its stored order: what
// each type is called, its file extension, whether it can be read and written, whether
// the output needs the user's call, and what kind of import specification it uses.

#include <optional>
#include <string_view>
#include <vector>

namespace qx7 {

enum class SpecKind
{
    None = -1, // fixed format
    Dbase = 0, // ".qxid" specification
    Text = 1   // ".qxia" specification
};

struct TQXLogDescType
{
    int code;
    std::string_view description;
    std::string_view extension;
    bool import;
    bool exportable;
    bool callNeeded;
    SpecKind specKind;
};

namespace LogType {
inline constexpr int Qx6 = 24;
inline constexpr int TextFile = 3;
inline constexpr int AsciiByDate = 19;
inline constexpr int AsciiByCall = 20;
inline constexpr int Adif = 45;
inline constexpr int Cabrillo = 27;
inline constexpr int Applet = 40;
inline constexpr int Qx7 = 42;
inline constexpr int Xml = 46;
inline constexpr int LogsearchPlain = 47;
inline constexpr int LogsearchDated = 48;
} // namespace LogType

// Every row in table order.
const std::vector<TQXLogDescType>& logTypeTable();
std::optional<TQXLogDescType> findLogType(int code);
// The types offered for reading, sorted by description.
std::vector<TQXLogDescType> inputLogTypes();
// The types offered for writing, in table order.
std::vector<TQXLogDescType> outputLogTypes();
// The type preselected in the output list.
inline constexpr int kPreselectedOutputType = LogType::Qx7;

// The specification name preset when a file of a dBase type is added; empty when the
// type keeps the last name used.
std::string_view builtInDbaseSpecName(int code);

} // namespace qx7
