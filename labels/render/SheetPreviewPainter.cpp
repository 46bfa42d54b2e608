#include "labels/render/SheetPreviewPainter.h"

#include <QPainter>

namespace qx7 {

namespace {

QColor rgbColor(std::uint32_t rgb)
{
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

} // namespace

void paintSheetPreview(QPainter& painter, const std::vector<PreviewStep>& steps)
{
    painter.save();
    for (const PreviewStep& s : steps) {
        switch (s.kind) {
        case PreviewStep::Kind::Fill:
            painter.fillRect(QRect(QPoint(s.x1, s.y1), QPoint(s.x2 - 1, s.y2 - 1)),
                             rgbColor(s.rgb));
            break;
        case PreviewStep::Kind::Rectangle:
            painter.setPen(rgbColor(s.rgb));
            painter.setBrush(s.filledWhite ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
            painter.drawRect(QRect(QPoint(s.x1, s.y1), QPoint(s.x2, s.y2)));
            break;
        case PreviewStep::Kind::Polyline: {
            painter.setPen(rgbColor(s.rgb));
            const QPoint points[3] = {{s.x1, s.y1}, {s.x2, s.y2}, {s.x3, s.y3}};
            painter.drawPolyline(points, 3);
            break;
        }
        }
    }
    painter.restore();
}

QImage sheetPreviewImage(const SheetGeometry& sheet, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSheetPreview(painter, sheetPreview(sheet, width, height));
    return image;
}

} // namespace qx7
