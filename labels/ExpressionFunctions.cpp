#include "labels/ExpressionFunctions_p.h"

#include "core/Text.h"

#include <cmath>

namespace qx7::detail {

namespace {

using Value = std::optional<ExpressionValue>;
using T = ExpressionValue::Type;

// Byte offsets of the characters of a UTF-8 text, plus its end.
std::vector<size_t> characterStarts(std::string_view s)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

// Latin letters with accents (U+00C0..U+00FE) change case by 0x20 like ASCII does.
std::string changeCase(std::string_view s, bool upper)
{
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (upper && c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 32);
        else if (!upper && c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c + 32);
        else if (c == 0xC3 && i + 1 < out.size()) {
            auto d = static_cast<unsigned char>(out[i + 1]);
            if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7)
                out[i + 1] = static_cast<char>(d - 0x20);
            else if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

bool integral(const ExpressionValue& v)
{
    return v.type == T::Number && v.number == std::trunc(v.number) && std::abs(v.number) < 1e9;
}

// COPY(text, start, count): characters from 1-based `start`; past the end gives "",
// a start below 1 counts from the first character.
Value copy(const std::vector<ExpressionValue>& a)
{
    if (a.size() != 3 || a[0].type != T::Text || !integral(a[1]) || !integral(a[2]))
        return std::nullopt;
    const std::vector<size_t> starts = characterStarts(a[0].text);
    const long long length = static_cast<long long>(starts.size()) - 1;
    long long from = static_cast<long long>(a[1].number);
    long long count = static_cast<long long>(a[2].number);
    if (from < 1)
        from = 1;
    if (count <= 0 || from > length)
        return ExpressionValue::ofText({});
    const long long to = std::min(length, from - 1 + count);
    const size_t b = starts[static_cast<size_t>(from - 1)], e = starts[static_cast<size_t>(to)];
    return ExpressionValue::ofText(a[0].text.substr(b, e - b));
}

Value oneText(const std::vector<ExpressionValue>& a)
{
    if (a.size() != 1 || a[0].type != T::Text)
        return std::nullopt;
    return a[0];
}

} // namespace

std::optional<ExpressionValue> callFunction(std::string_view name,
                                            const std::vector<ExpressionValue>& args)
{
    if (name == "COPY")
        return copy(args);
    if (name == "UPPER" || name == "LOWER" || name == "TRIM" || name == "LEN") {
        const Value s = oneText(args);
        if (!s)
            return std::nullopt;
        if (name == "TRIM")
            return ExpressionValue::ofText(trimmed(s->text));
        if (name == "LEN")
            return ExpressionValue::ofNumber(
                static_cast<double>(characterStarts(s->text).size() - 1));
        return ExpressionValue::ofText(changeCase(s->text, name == "UPPER"));
    }
    if (name == "STR" && args.size() == 1 && args[0].type == T::Number)
        return ExpressionValue::ofText(args[0].display());
    if (name == "INT" && args.size() == 1 && args[0].type == T::Number)
        return ExpressionValue::ofNumber(std::trunc(args[0].number));
    return std::nullopt;
}

} // namespace qx7::detail
