#pragma once
// A sorted list of texts that either ignores or keeps duplicates, the way the import
// run collects QSOs ("ImportDupes" decides). Clearing keeps the rule.

#include <string>
#include <vector>

namespace qx7 {

class SortedStringList
{
public:
    explicit SortedStringList(bool keepDuplicates = false) : m_keepDuplicates(keepDuplicates) {}

    // Inserts in order; returns false when the text was a duplicate and was ignored.
    bool add(std::string text);
    bool contains(const std::string& text) const;
    void clear() { m_items.clear(); }
    size_t size() const { return m_items.size(); }
    const std::string& operator[](size_t i) const { return m_items[i]; }
    const std::vector<std::string>& items() const { return m_items; }
    bool keepsDuplicates() const { return m_keepDuplicates; }
    void setKeepDuplicates(bool keep) { m_keepDuplicates = keep; }

private:
    std::vector<std::string> m_items;
    bool m_keepDuplicates;
};

} // namespace qx7
