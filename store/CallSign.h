#pragma once
// Call-sign analysis for labels: the bureau sort key that puts calls of one QSL bureau
// together, the zero substitution printed on labels, the formatting of QSO dates, times
// and bands on labels, and the plausibility test used when a QSL-via text may name a
// manager.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// A date text on its way to a label was not a calendar date.
class ConversionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The settings label values are formatted with.
struct LabelFormat
{
    std::string dateFormat = "yyyy-mm-dd";       // "LabelDateFormat"
    int timeFormat = 0;                          // "LabelTimeFormat"
    int bandFormat = 0;                          // "LabelBandFormat"
    std::vector<std::string> bandFrequencyTexts; // "name=value", entry n for band n
};

enum LabelValueKind
{
    CallKey = 0,
    DateValue = 2,
    TimeValue = 3,
    BandValue = 4
};

// The call is taken as stored: upper case, no blanks, never empty.
std::string CallSortKey(std::string_view call);

// Kind 0 is CallSortKey, 2 a "yyyymmdd" date (throws ConversionError when it is not a
// calendar date), 3 an "hhmm" time, 4 a band name; any other kind gives "".
std::string FormatLabelValue(std::string_view text, int kind, const LabelFormat& format);

// Every "0" becomes the character with the Windows-1252 code `slashedZero` (216 is Ø);
// the result is UTF-8.
std::string SlashZeros(std::string_view text, int slashedZero);

// Whether a text looks like a call sign; on success the text becomes its cleaned form,
// otherwise it is cut at its first blank.
bool IsPlausibleCall(std::string& text);

} // namespace qx7
