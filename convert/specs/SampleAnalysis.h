#pragma once
// Guesses about a text or CSV log made from its first lines, for the specification
// editor's "Analyze file" and for qx7cli: the delimiter, the text qualifier, whether the
// first line names the columns, where the columns of a fixed-width file break, and which
// QX field each column most likely holds.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// What "Analyze file" decides. A qualifier of nothing leaves the user's choice as it is.
struct TextGuess
{
    std::optional<char> delimiter; // nothing: no tab, semicolon, comma or space at all
    std::optional<char> qualifier; // '\0' for none, '"' or '\''
    bool headerRow = false;
    // No tab, semicolon or comma but columns of blanks through every line: fixed width.
    bool fixedWidth = false;
};

// The counting rules: tabs, semicolons, commas and spaces over all sample lines (each
// replacing the choice only with a strictly greater count, in that order), quotes for the
// qualifier (more than 20 of one kind and more than of the other), and a header row when
// the first line holds fewer than 8 digits.
TextGuess analyzeSample(const std::vector<std::string>& lines);

// Field breaks of a fixed-width file: at every delimiter of the first line and at its
// end; without a delimiter, where a column of blanks through every line ends.
std::vector<int> guessBreaks(const std::vector<std::string>& lines, char delimiter);

// The stored widths of breaks kept sorted: distances between consecutive breaks, the
// first from position 0, every width after the first one less when a delimiter is set.
std::vector<int> widthsFromBreaks(const std::vector<int>& breaks, char delimiter);

// The field key ("CALL" ... "MARK") a column most likely holds, judged by its header text
// first and then by its values; empty when nothing fits. `taken` keys are not proposed.
std::string guessFieldKey(std::string_view header, const std::vector<std::string>& values,
                          const std::vector<std::string>& taken);

// A date format under which every non-empty value is a date; empty when none fits.
std::string guessDateFormat(const std::vector<std::string>& values);

// Whether the keys cover what a QSO needs: call, date, time, band or frequency, mode.
bool mappingIsComplete(const std::vector<std::string>& keys);

} // namespace qx7
