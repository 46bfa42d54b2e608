#pragma once
// Text extents for sizing elements (autosize, template rows). The layout model has
// no fonts of its own, so it asks through this interface: the renderer answers with
// the real font metrics, and an estimate stands in where no fonts are loaded.

#include "labels/LayoutElement.h"

#include <string_view>

namespace qx7 {

struct SizeMm
{
    double width = 0;
    double height = 0;
};

class TextMeasure
{
public:
    virtual ~TextMeasure() = default;
    // The extent of one line of text in the font, in millimetres.
    virtual SizeMm measure(const FontSpec& font, std::string_view text) const = 0;
};

// Proportions of a typical sans-serif face: about half an em per character, a line
// 1.15 em high.
class EstimatedTextMeasure : public TextMeasure
{
public:
    SizeMm measure(const FontSpec& font, std::string_view text) const override;
};

} // namespace qx7
