#pragma once
// The value forms of layout files: numbers written in their shortest exact form, text
// quoted when it has edge blanks, quotes or line breaks, and typed readers that note
// the first bad value of a section.

#include "core/IniFile.h"
#include "labels/LayoutElement.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::detail {

std::string number(double v);
std::string quoted(std::string_view s);
std::string unquoted(const std::string& s);

class Writer
{
public:
    Writer(IniFile& ini, std::string section) : m_ini(ini), m_section(std::move(section)) {}
    void text(const char* key, std::string_view v) { m_ini.writeString(m_section, key, quoted(v)); }
    void num(const char* key, double v) { m_ini.writeString(m_section, key, number(v)); }
    void integer(const char* key, long long v) { m_ini.writeInteger(m_section, key, v); }
    void flag(const char* key, bool v) { m_ini.writeBool(m_section, key, v); }
    void color(const char* key, const Color& c) { m_ini.writeString(m_section, key, colorText(c)); }
    void lines(const char* key, const std::vector<std::string>& lines)
    {
        integer((std::string(key) + "Count").c_str(), static_cast<long long>(lines.size()));
        for (size_t i = 0; i < lines.size(); ++i)
            text((std::string(key) + std::to_string(i + 1)).c_str(), lines[i]);
    }

private:
    IniFile& m_ini;
    std::string m_section;
};

class Reader
{
public:
    Reader(const IniFile& ini, std::string section, std::string& error)
        : m_ini(ini), m_section(std::move(section)), m_error(error)
    {}
    bool has(const std::string& key) const { return m_ini.valueExists(m_section, key); }
    std::string raw(const std::string& key) const { return m_ini.readString(m_section, key, ""); }
    void text(const std::string& key, std::string& v) const
    {
        if (has(key))
            v = unquoted(raw(key));
    }
    template <typename T>
    void num(const std::string& key, T& v, double lo, double hi) const
    {
        if (!has(key))
            return;
        const std::string s = raw(key);
        double d = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
        if (ec != std::errc() || end != s.data() + s.size() || !(d >= lo && d <= hi))
            return fail(key);
        v = static_cast<T>(d);
    }
    void flag(const std::string& key, bool& v) const
    {
        if (!has(key))
            return;
        const std::string s = raw(key);
        if (s != "0" && s != "1")
            return fail(key);
        v = s == "1";
    }
    void color(const std::string& key, Color& v) const { named(key, v, colorFromText); }
    template <typename T, typename F>
    void named(const std::string& key, T& v, F parse) const
    {
        if (!has(key))
            return;
        if (const auto parsed = parse(raw(key)))
            v = *parsed;
        else
            fail(key);
    }
    void lines(const std::string& key, std::vector<std::string>& out) const
    {
        int count = 0;
        num(key + "Count", count, 0, 100000);
        out.assign(static_cast<size_t>(count), {});
        for (int i = 0; i < count; ++i)
            text(key + std::to_string(i + 1), out[static_cast<size_t>(i)]);
    }
    void fail(const std::string& key) const
    {
        if (m_error.empty())
            m_error = "bad value for " + m_section + "/" + key;
    }

private:
    const IniFile& m_ini;
    std::string m_section;
    std::string& m_error;
};

} // namespace qx7::detail
