#pragma once
// The code page a table's text is stored in. Tables written by this program are
// Windows-1252 (language driver "DBWINUS0"); foreign tables say theirs in the language
// driver byte of the header or in a ".cpg" file beside the table, and are read in it.
// Conversions other than Windows-1252 go through the system's iconv.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qx7::dbase {

class CodePage
{
public:
    CodePage(); // Windows-1252
    // The code page iconv knows by `name` ("CP866", "WINDOWS-1251", "UTF-8"); nullopt when
    // this system cannot convert it.
    static std::optional<CodePage> named(std::string_view name);

    const std::string& name() const; // as iconv calls it; "WINDOWS-1252" for the default
    bool isWindows1252() const;

    // Bytes the code page does not define become U+FFFD.
    std::string toUtf8(std::string_view bytes) const;
    // At most `maxBytes` bytes, never cutting a character; characters the code page
    // lacks and malformed UTF-8 become '?'.
    std::string fromUtf8(std::string_view utf8,
                         std::size_t maxBytes = std::string_view::npos) const;

    struct Converter;

private:
    std::shared_ptr<const Converter> m_converter; // null for Windows-1252
};

struct LanguageDriver
{
    const char* codePage;    // iconv's name
    const char* description; // as dBase and FoxPro documents call it
};

// The language driver of a dBase or FoxPro header byte; nullptr for ids not known here.
const LanguageDriver* languageDriver(std::uint8_t ldid);

// The code page a ".cpg" file names ("1251", "ANSI 1251", "CP866", "UTF-8", "88591"),
// as iconv's name; nullopt for an empty text.
std::optional<std::string> cpgCodePageName(std::string_view text);

} // namespace qx7::dbase
