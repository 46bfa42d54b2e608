#include "convert/normalize/ManagerRules.h"

#include "core/Text.h"
#include "store/CallSign.h"

#include <array>

namespace qx7 {

namespace {

// Case-sensitive, in this order: an upper-case word is only found once an earlier
// round has upper-cased the value.
constexpr std::array<std::string_view, 14> kRoutingWords = {
    "VIA:",    "VIA",  "BURO", "BUREAU",   "DIRECT", "MAIL",     "MANAGER:",
    "MANAGER", "QSL:", "QSL",  "CALLBOOK", " HC",    "HOMECALL", " CBA"};

void trimInPlace(std::string& s)
{
    size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\t' || s[end - 1] == '\r' ||
                       s[end - 1] == '\n' || s[end - 1] == '\0'))
        --end;
    size_t begin = 0;
    while (begin < end && (s[begin] == ' ' || s[begin] == '\t'))
        ++begin;
    s.resize(end);
    s.erase(0, begin);
}

} // namespace

std::optional<std::string> managerFromField(std::string_view raw)
{
    // Each word is removed once, and the value upper-cased and trimmed after each: after
    // the first round that changes nothing more unless a word was removed.
    std::string value(raw);
    bool first = true;
    for (std::string_view word : kRoutingWords) {
        const size_t pos = value.find(word);
        if (pos != std::string::npos)
            value.erase(pos, word.size());
        if (first) {
            for (char& c : value)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 32);
        }
        if (first || pos != std::string::npos)
            trimInPlace(value);
        first = false;
    }
    if (value.empty() || value == "CBA" || value == "HC")
        return std::nullopt;
    return value;
}

std::optional<std::string> managerFromViaText(std::string_view text)
{
    std::string value = trimmed(text);
    if (const size_t via = value.find("VIA "); via != std::string::npos) {
        std::string after = value.substr(via + 4);
        after = after.substr(0, after.find(' '));
        if (after == "?" || after.empty())
            return std::nullopt;
        if (after == "BURO")
            return std::string("-");
        return after;
    }
    if (!IsPlausibleCall(value))
        return std::nullopt;
    return value;
}

} // namespace qx7
