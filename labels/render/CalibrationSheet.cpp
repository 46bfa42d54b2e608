#include "labels/render/CalibrationSheet.h"

#include "labels/render/PrinterSheetOutput.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace qx7 {

namespace {

// Reaches the painter of a printer output, so the test sheet goes through the same
// page set-up and spooler checks as the labels.
class TestSheetOutput : public PrinterSheetOutput
{
public:
    using PrinterSheetOutput::PrinterSheetOutput;
    void draw() { drawCalibrationSheet(m_painter, m_pixelsPerMm, m_layout); }
};

} // namespace

void drawCalibrationSheet(QPainter& painter, double pixelsPerMm, const LabelLayout& layout)
{
    // The sheet as it lies, as the labels are drawn.
    const QSizeF paper = PainterSheetOutput::pageSizeMm(layout);
    auto px = [&](double mm) { return mm * pixelsPerMm; };
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(px(0.15));
    painter.setPen(pen);
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(std::max(1, int(px(2.5))));
    painter.setFont(font);

    // Rulers from the paper's corner: 1 mm ticks, 5 mm longer, 10 mm longest and numbered.
    for (int mm = 0; mm <= int(paper.width()); ++mm) {
        const double len = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
        painter.drawLine(QPointF(px(mm), 0), QPointF(px(mm), px(len)));
        if (mm % 10 == 0 && mm > 0)
            painter.drawText(QPointF(px(mm + 0.5), px(9)), QString::number(mm));
    }
    for (int mm = 0; mm <= int(paper.height()); ++mm) {
        const double len = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
        painter.drawLine(QPointF(0, px(mm)), QPointF(px(len), px(mm)));
        if (mm % 10 == 0 && mm > 0)
            painter.drawText(QPointF(px(7), px(mm + 1)), QString::number(mm));
    }

    // The label outlines where the layout puts them.
    const TQRPage& p = layout.Page;
    for (int row = 0; row < p.Rows; ++row)
        for (int column = 0; column < p.Columns; ++column) {
            const QPointF at = PainterSheetOutput::labelOriginMm(layout, column, row);
            painter.drawRect(QRectF(px(at.x()), px(at.y()), px(p.labelWidth() / 10.0),
                                    px(p.labelHeight() / 10.0)));
        }
    painter.drawText(QPointF(px(20), px(20)),
                     QStringLiteral("QX7 printer calibration: measure where the rulers and "
                                    "outlines lie, enter the correction in mm"));
    painter.restore();
}

std::string printCalibrationSheet(const LabelLayout& layout, const std::string& printer)
{
    TestSheetOutput output(layout, std::string(), printer);
    if (!output.beginSheet(1))
        return output.errorText();
    output.draw();
    if (!output.endSheet())
        return output.errorText();
    return {};
}

} // namespace qx7
