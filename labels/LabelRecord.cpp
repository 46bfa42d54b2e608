#include "labels/LabelRecord.h"

#include "core/Text.h"

namespace qx7 {

namespace {

bool isUpper(std::string_view s)
{
    for (char c : s)
        if (c >= 'a' && c <= 'z')
            return false;
    return true;
}

} // namespace

void LabelRecord::set(std::string_view field, std::string value)
{
    m_fields[toUpperAscii(field)] = std::move(value);
}

const std::string* LabelRecord::find(std::string_view field) const
{
    const auto it = isUpper(field) ? m_fields.find(field) : m_fields.find(toUpperAscii(field));
    return it == m_fields.end() ? nullptr : &it->second;
}

std::string LabelRecord::value(std::string_view field) const
{
    const std::string* v = find(field);
    return v ? *v : std::string();
}

} // namespace qx7
