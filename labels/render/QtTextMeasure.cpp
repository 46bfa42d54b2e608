#include "labels/render/QtTextMeasure.h"

#include <QFont>
#include <QFontMetricsF>

namespace qx7 {

namespace {
constexpr int kDpi = 1200;
}

QtTextMeasure::QtTextMeasure() : m_device(1, 1, QImage::Format_RGB32)
{
    m_device.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254 + 0.5));
    m_device.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254 + 0.5));
}

SizeMm QtTextMeasure::measure(const FontSpec& spec, std::string_view text) const
{
    QFont font(QString::fromStdString(spec.family));
    font.setPointSizeF(spec.pointSize > 0 ? spec.pointSize : 10.0);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    const QFontMetricsF fm(font, &m_device);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const double mmPerPixel = 25.4 / kDpi;
    return {fm.horizontalAdvance(s) * mmPerPixel, fm.height() * mmPerPixel};
}

} // namespace qx7
