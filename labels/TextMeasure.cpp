#include "labels/TextMeasure.h"

namespace qx7 {

SizeMm EstimatedTextMeasure::measure(const FontSpec& font, std::string_view text) const
{
    const double em = font.pointSize * 25.4 / 72.0;
    size_t characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) // count UTF-8 lead bytes only
            ++characters;
    const double perChar = font.bold ? 0.6 : 0.55;
    return {static_cast<double>(characters) * perChar * em, 1.15 * em};
}

} // namespace qx7
