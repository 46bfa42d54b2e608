#pragma once
// The settings-file semantics the program relies on ("qx7.ini", "BatchInput.ini"):
// sections and keys found without regard to case, their order kept as written,
// typed reads that fall back to a default, and a save that never leaves half a file.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx7 {

class IniFile
{
public:
    IniFile() = default;
    // Loads `path` when it exists; a missing or unreadable file gives an empty ini.
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }
    bool existedOnLoad() const { return m_existed; }

    // Replaces the content with the text of an ini file (UTF-8, or Windows-1252 when
    // the text is not valid UTF-8).
    void parse(std::string_view text);
    std::string toText() const;

    bool sectionExists(std::string_view section) const;
    bool valueExists(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Decimal integers (leading blanks and a sign allowed; "0x" hex accepted as Windows
    // does); anything else yields the default.
    long long readInteger(std::string_view section, std::string_view key, long long def) const;
    // "1"/"0" as written by us; any integer other than 0 counts as true, text yields def.
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, long long value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    void eraseSection(std::string_view section);
    void deleteKey(std::string_view section, std::string_view key);
    std::vector<std::string> sections() const;
    std::vector<std::string> sectionKeys(std::string_view section) const;
    // "key=value" lines in file order.
    std::vector<std::string> sectionValues(std::string_view section) const;
    std::vector<std::pair<std::string, std::string>> sectionPairs(std::string_view section) const;

    // Writes to a temporary file beside the target, flushes it and renames it over the
    // target. Returns false (and leaves the old file intact) when that fails.
    bool save() const;
    bool saveAs(const std::string& path) const;
    bool modified() const { return m_modified; }

private:
    struct Entry
    {
        std::string key; // empty for a comment or blank line kept as written
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    Section& addSection(std::string_view name);
    void rebuildIndex();
    const Entry* findEntry(std::string_view section, std::string_view key) const;

    std::string m_path;
    // Lines before the first section (a comment another program or the user put on top):
    // not reachable through the API, written back as they were.
    std::vector<std::string> m_preamble;
    std::vector<Section> m_sections;
    // Upper-cased section name -> position in m_sections: a file of thousands of
    // sections (a large label layout) is read and written in linear time.
    std::unordered_map<std::string, size_t> m_index;
    bool m_existed = false;
    mutable bool m_modified = false;
};

// ASCII case-insensitive equality, as ini look-ups use.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Writes `data` to `path` through a temporary file and a rename; true on success.
bool writeFileAtomically(const std::string& path, std::string_view data);

} // namespace qx7
