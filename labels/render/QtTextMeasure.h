#pragma once
// Text extents from the real fonts, at a printer's resolution so that small sizes are
// measured as finely as they print.

#include "labels/TextMeasure.h"

#include <QImage>

namespace qx7 {

class QtTextMeasure : public TextMeasure
{
public:
    QtTextMeasure();
    SizeMm measure(const FontSpec& font, std::string_view text) const override;

private:
    QImage m_device; // one pixel at 1200 dpi: only its resolution matters
};

} // namespace qx7
