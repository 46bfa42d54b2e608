#include "core/IniFile.h"

#include "core/Text.h"
#include "dbase/TempFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace qx7 {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A value with blanks at either end keeps them only inside double quotes, and one pair of
// enclosing quotes is not part of the value: so Windows reads initialisation files, and
// so a text like "via: " survives being written and read again.
std::string_view unquote(std::string_view v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return v;
}

std::string quotedIfNeeded(const std::string& v)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool blankEdge = !v.empty() && (blank(v.front()) || blank(v.back()));
    const bool lookQuoted = v.size() >= 2 && v.front() == '"' && v.back() == '"';
    return blankEdge || lookQuoted ? '"' + v + '"' : v;
}

std::string indexKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return key;
}

} // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view data)
{
    const std::string tmp = dbase::tempPathFor(path).string();
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

IniFile::IniFile(std::string path) : m_path(std::move(path))
{
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return;
    std::ostringstream text;
    text << in.rdbuf();
    m_existed = true;
    parse(text.str());
}

void IniFile::parse(std::string_view raw)
{
    m_preamble.clear();
    m_sections.clear();
    m_index.clear();
    const std::string text = toUtf8Guessing(raw);
    std::string_view rest = text;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
    Section* current = nullptr;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        std::string_view line = trim(rest.substr(0, eol));
        rest = eol == std::string_view::npos ? std::string_view{} : rest.substr(eol + 1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = trim(line.substr(1, line.size() - 2));
            current = findSection(name);
            if (!current)
                current = &addSection(name);
            continue;
        }
        if (!current) {
            m_preamble.emplace_back(line);
            continue;
        }
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || eq == std::string_view::npos || eq == 0) {
            current->entries.push_back({{}, std::string(line)});
            continue;
        }
        const std::string_view key = trim(line.substr(0, eq));
        const std::string_view value = unquote(trim(line.substr(eq + 1)));
        bool found = false;
        for (auto& e : current->entries)
            if (!e.key.empty() && equalsIgnoreCase(e.key, key)) {
                found = true; // the first occurrence wins, as Windows reads it
                break;
            }
        if (!found)
            current->entries.push_back({std::string(key), std::string(value)});
    }
    // The blank line that separates sections is ours to write; kept as an entry it would
    // come back once more with every save.
    while (!m_preamble.empty() && m_preamble.back().empty())
        m_preamble.pop_back();
    for (auto& s : m_sections)
        while (!s.entries.empty() && s.entries.back().key.empty() && s.entries.back().value.empty())
            s.entries.pop_back();
    m_modified = false;
}

std::string IniFile::toText() const
{
    std::string out;
    for (const auto& line : m_preamble)
        out += line + '\n';
    if (!m_preamble.empty())
        out += '\n';
    for (const auto& s : m_sections) {
        out += '[' + s.name + "]\n";
        for (const auto& e : s.entries)
            out += e.key.empty() ? e.value + '\n' : e.key + '=' + quotedIfNeeded(e.value) + '\n';
        out += '\n';
    }
    return out;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    const auto it = m_index.find(indexKey(name));
    return it == m_index.end() ? nullptr : &m_sections[it->second];
}

IniFile::Section& IniFile::addSection(std::string_view name)
{
    m_index.emplace(indexKey(name), m_sections.size());
    m_sections.push_back({std::string(name), {}});
    return m_sections.back();
}

void IniFile::rebuildIndex()
{
    m_index.clear();
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_index.emplace(indexKey(m_sections[i].name), i);
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Entry* IniFile::findEntry(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s || key.empty())
        return nullptr;
    for (const auto& e : s->entries)
        if (!e.key.empty() && equalsIgnoreCase(e.key, key))
            return &e;
    return nullptr;
}

bool IniFile::sectionExists(std::string_view section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const
{
    return findEntry(section, key) != nullptr;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const
{
    const Entry* e = findEntry(section, key);
    return e ? e->value : std::string(def);
}

long long IniFile::readInteger(std::string_view section, std::string_view key, long long def) const
{
    const Entry* e = findEntry(section, key);
    if (!e)
        return def;
    const std::string v(trim(e->value));
    if (v.empty())
        return def;
    const bool hex = v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(hex ? v.c_str() + 2 : v.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == v.c_str() || *end != '\0')
        return def;
    return n;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    Section* s = findSection(section);
    if (!s)
        s = &addSection(section);
    m_modified = true;
    for (auto& e : s->entries)
        if (!e.key.empty() && equalsIgnoreCase(e.key, key)) {
            e.value = std::string(value);
            return;
        }
    s->entries.push_back({std::string(key), std::string(value)});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseSection(std::string_view section)
{
    std::erase_if(m_sections, [&](const Section& s) { return equalsIgnoreCase(s.name, section); });
    rebuildIndex();
    m_modified = true;
}

void IniFile::deleteKey(std::string_view section, std::string_view key)
{
    if (Section* s = findSection(section)) {
        std::erase_if(s->entries, [&](const Entry& e) {
            return !e.key.empty() && equalsIgnoreCase(e.key, key);
        });
        m_modified = true;
    }
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> out;
    for (const auto& s : m_sections)
        out.push_back(s.name);
    return out;
}

std::vector<std::string> IniFile::sectionKeys(std::string_view section) const
{
    std::vector<std::string> out;
    for (const auto& [k, v] : sectionPairs(section))
        out.push_back(k);
    return out;
}

std::vector<std::string> IniFile::sectionValues(std::string_view section) const
{
    std::vector<std::string> out;
    for (const auto& [k, v] : sectionPairs(section))
        out.push_back(k + '=' + v);
    return out;
}

std::vector<std::pair<std::string, std::string>>
IniFile::sectionPairs(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (const Section* s = findSection(section))
        for (const auto& e : s->entries)
            if (!e.key.empty())
                out.emplace_back(e.key, e.value);
    return out;
}

bool IniFile::save() const
{
    return saveAs(m_path);
}

bool IniFile::saveAs(const std::string& path) const
{
    if (path.empty() || !writeFileAtomically(path, toText()))
        return false;
    m_modified = false;
    return true;
}

} // namespace qx7
