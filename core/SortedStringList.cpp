#include "core/SortedStringList.h"

#include <algorithm>

namespace qx7 {

bool SortedStringList::add(std::string text)
{
    const auto pos = std::upper_bound(m_items.begin(), m_items.end(), text);
    if (!m_keepDuplicates && pos != m_items.begin() && *(pos - 1) == text)
        return false;
    m_items.insert(pos, std::move(text));
    return true;
}

bool SortedStringList::contains(const std::string& text) const
{
    return std::binary_search(m_items.begin(), m_items.end(), text);
}

} // namespace qx7
