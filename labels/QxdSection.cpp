#include "labels/QxdSection_p.h"

#include <cstdio>

namespace qx7::detail {

std::string number(double v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : "0";
}

// Values keep leading blanks, quotes and line breaks by quoting them.
std::string quoted(std::string_view s)
{
    bool needs = !s.empty() && (s.front() == ' ' || s.front() == '\t' || s.back() == ' ' ||
                                s.back() == '\t' || s.front() == '"');
    for (unsigned char c : s)
        needs = needs || c < 0x20 || c == 0x7F;
    if (!needs)
        return std::string(s);
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            out += {'\\', static_cast<char>(c)};
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string unquoted(const std::string& s)
{
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        return s;
    std::string out;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] != '\\' || i + 2 >= s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 't')
            out += '\t';
        else if (c == 'x' && i + 2 < s.size() - 1) {
            unsigned v = 0;
            std::from_chars(s.data() + i + 1, s.data() + i + 3, v, 16);
            out += static_cast<char>(v);
            i += 2;
        } else
            out += c;
    }
    return out;
}

} // namespace qx7::detail
