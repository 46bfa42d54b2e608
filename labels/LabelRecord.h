#pragma once
// One print-queue record as the label side sees it: field name to text (UTF-8, right
// blanks removed). Field names are found regardless of case.

#include <map>
#include <string>
#include <string_view>

namespace qx7 {

class LabelRecord
{
public:
    void set(std::string_view field, std::string value);
    // The field's text, or null when the record has no such field.
    const std::string* find(std::string_view field) const;
    // The field's text, empty when absent.
    std::string value(std::string_view field) const;
    const std::map<std::string, std::string, std::less<>>& fields() const { return m_fields; }
    bool operator==(const LabelRecord&) const = default;

private:
    std::map<std::string, std::string, std::less<>> m_fields; // upper-case names
};

} // namespace qx7
