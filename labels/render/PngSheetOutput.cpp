#include "labels/render/PngSheetOutput.h"

#include <QPen>

#include <cmath>
#include <cstdio>

namespace qx7 {

PngSheetOutput::PngSheetOutput(const LabelLayout& layout, std::string imageFolder,
                               std::string folder, int dotsPerInch, bool outlineLabels)
    : PainterSheetOutput(layout, std::move(imageFolder)), m_folder(std::move(folder)),
      m_dpi(dotsPerInch), m_outline(outlineLabels)
{
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
}

bool PngSheetOutput::beginSheet(int)
{
    m_pixelsPerMm = m_dpi / 25.4;
    const QSizeF mm = pageSizeMm(m_layout);
    m_image =
        QImage(static_cast<int>(std::lround(mm.width() * m_pixelsPerMm)),
               static_cast<int>(std::lround(mm.height() * m_pixelsPerMm)), QImage::Format_RGB32);
    if (m_image.isNull()) {
        m_error = "the page is too large for a picture";
        return false;
    }
    // Fonts take their size from the picture's resolution.
    const int dotsPerMetre = static_cast<int>(std::lround(m_dpi / 0.0254));
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_image.fill(Qt::white);
    if (!m_painter.begin(&m_image)) {
        m_error = "cannot draw the preview";
        return false;
    }
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    if (m_outline)
        outlineLabels();
    return true;
}

void PngSheetOutput::outlineLabels()
{
    const TQRPage& p = m_layout.Page;
    m_painter.save();
    m_painter.setPen(QPen(QColor(192, 192, 192), 1));
    for (int c = 0; c < std::max(p.Columns, 1); ++c)
        for (int r = 0; r < std::max(p.Rows, 1); ++r) {
            const QPointF o = labelOriginMm(m_layout, c, r) * m_pixelsPerMm;
            m_painter.drawRect(QRectF(o, QSizeF(m_layout.labelWidthMm() * m_pixelsPerMm,
                                                m_layout.labelHeightMm() * m_pixelsPerMm)));
        }
    m_painter.restore();
}

void PngSheetOutput::labelCut(const LabelPlacement& placement)
{
    if (!m_outline)
        return;
    const QPointF origin = labelOriginMm(m_layout, placement.column, placement.row);
    const QRectF cell(origin * m_pixelsPerMm, QSizeF(m_layout.labelWidthMm() * m_pixelsPerMm,
                                                     m_layout.labelHeightMm() * m_pixelsPerMm));
    m_painter.save();
    m_painter.setPen(QPen(QColor(220, 0, 0), std::max(2.0, m_pixelsPerMm * 0.6)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(cell.adjusted(1, 1, -1, -1));
    m_painter.restore();
}

bool PngSheetOutput::endSheet()
{
    m_painter.end();
    if (m_folder.empty())
        return true;
    char name[32];
    std::snprintf(name, sizeof name, "page-%03d.png", static_cast<int>(m_files.size()) + 1);
    const std::string path = m_folder + name;
    if (!m_image.save(QString::fromStdString(path), "PNG")) {
        if (m_error.empty())
            m_error = "cannot write " + path;
        return false;
    }
    m_files.push_back(path);
    return true;
}

} // namespace qx7
