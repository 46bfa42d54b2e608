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

} // namespace

std::optional<std::string> managerFromField(std::string_view raw)
{
    std::string value(raw);
    for (std::string_view word : kRoutingWords) {
        if (const size_t pos = value.find(word); pos != std::string::npos)
            value.erase(pos, word.size());
        value = trimmed(toUpperAscii(value));
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
