#include "convert/readers/WordCursor.h"

#include "convert/readers/ReaderSupport.h"
#include "core/Text.h"

namespace qx7::detail {

void WordCursor::dropSpaces()
{
    while (!m_rest.empty() && m_rest.front() == ' ')
        m_rest.remove_prefix(1);
}

void WordCursor::skipWord()
{
    const size_t space = m_rest.find(' ');
    m_rest.remove_prefix(space == std::string_view::npos ? m_rest.size() : space + 1);
}

std::string_view WordCursor::takeWord()
{
    const size_t space = m_rest.find(' ');
    const std::string_view word = m_rest.substr(0, space);
    m_rest.remove_prefix(space == std::string_view::npos ? m_rest.size() : space + 1);
    return word;
}

std::string WordCursor::takeChars(size_t count)
{
    const std::string_view taken = columns(m_rest, 1, count);
    m_rest.remove_prefix(taken.size());
    return trimmed(taken);
}

std::string_view WordCursor::takeDigits()
{
    size_t n = 0;
    while (n < m_rest.size() && m_rest[n] >= '0' && m_rest[n] <= '9')
        ++n;
    const std::string_view digits = m_rest.substr(0, n);
    m_rest.remove_prefix(n);
    return digits;
}

} // namespace qx7::detail
