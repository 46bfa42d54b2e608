#pragma once
// Consumes a line of a word-oriented log from the left, as the CT and NA readers do:
// drop spaces, skip a word, take a number of characters or the next word.

#include <string>
#include <string_view>

namespace qx7::detail {

class WordCursor
{
public:
    explicit WordCursor(std::string_view text) : m_rest(text) {}

    std::string_view rest() const { return m_rest; }
    void dropSpaces();
    // Up to and including the next space (all of the rest when there is none).
    void skipWord();
    // The text up to the next space; the rest begins after that space.
    std::string_view takeWord();
    // The next `count` characters (UTF-8 aware), trimmed.
    std::string takeChars(size_t count);
    // The leading digits.
    std::string_view takeDigits();

private:
    std::string_view m_rest;
};

} // namespace qx7::detail
