#include "store/SearchKeys.h"

namespace qx7 {

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool contains(std::string_view s, char c)
{
    return s.find(c) != std::string_view::npos;
}

} // namespace

std::optional<char> acceptCallFromKey(std::string_view text, char key)
{
    const char c = upper(key);
    const bool allowed = c == kBackspace || c == ' ' || c == '*' || c == '/' || c == '?' ||
                         (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
    if (!allowed)
        return std::nullopt;
    if (c == '?' && contains(text, '*'))
        return std::nullopt;
    if (c == '*' && (contains(text, '?') || contains(text, '*')))
        return std::nullopt;
    if (c == ' ' && (text.empty() || contains(text, ' ')))
        return std::nullopt;
    return c;
}

std::optional<char> acceptCallToKey(char key)
{
    const char c = upper(key);
    if (c == kBackspace || (c >= '/' && c <= '9') || (c >= 'A' && c <= 'Z'))
        return c;
    return std::nullopt;
}

} // namespace qx7
