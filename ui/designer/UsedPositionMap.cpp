#include "ui/designer/UsedPositionMap.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace qx7 {

UsedPositionMap::UsedPositionMap(int columns, int rows, QWidget* parent)
    : QWidget(parent), m_columns(std::max(columns, 1)), m_rows(std::max(rows, 1)),
      m_used(size_t(m_columns * m_rows) + 1, false)
{
    setObjectName(QStringLiteral("usedPositions"));
    setToolTip(tr("Click the labels already used on the sheet"));
    setCursor(Qt::PointingHandCursor);
}

std::vector<int> UsedPositionMap::usedPositions() const
{
    std::vector<int> out;
    for (size_t p = 1; p < m_used.size(); ++p)
        if (m_used[p])
            out.push_back(int(p));
    return out;
}

void UsedPositionMap::setUsedPositions(const std::vector<int>& positions)
{
    std::fill(m_used.begin(), m_used.end(), false);
    for (int p : positions)
        if (p >= 1 && p < int(m_used.size()))
            m_used[size_t(p)] = true;
    update();
    emit changed();
}

void UsedPositionMap::toggle(int position)
{
    if (position < 1 || position >= int(m_used.size()))
        return;
    m_used[size_t(position)] = !m_used[size_t(position)];
    update();
    emit changed();
}

QSize UsedPositionMap::sizeHint() const
{
    // Cells of a usual label's shape, a sheet about the height of a few form rows.
    const int cellH = std::clamp(160 / m_rows, 8, 24);
    const int cellW = std::clamp(cellH * 2, 14, 48);
    return {m_columns * cellW + 1, m_rows * cellH + 1};
}

QRect UsedPositionMap::cellRect(int position) const
{
    const int column = (position - 1) / m_rows, row = (position - 1) % m_rows;
    const double w = double(width() - 1) / m_columns, h = double(height() - 1) / m_rows;
    return QRect(int(column * w), int(row * h), int(w), int(h));
}

QPoint UsedPositionMap::cellCentre(int position) const
{
    return cellRect(position).center();
}

void UsedPositionMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    for (int p = 1; p < int(m_used.size()); ++p) {
        const QRect cell = cellRect(p);
        painter.fillRect(cell.adjusted(1, 1, 0, 0),
                         m_used[size_t(p)] ? QColor(128, 128, 128) : QColor(255, 255, 255));
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(cell);
        if (m_used[size_t(p)]) {
            // Crossed out, as one marks a used label on paper.
            painter.setPen(QPen(Qt::white, 1));
            painter.drawLine(cell.topLeft() + QPoint(3, 3), cell.bottomRight() - QPoint(3, 3));
            painter.drawLine(cell.topRight() + QPoint(-3, 3), cell.bottomLeft() + QPoint(3, -3));
        }
    }
}

void UsedPositionMap::mousePressEvent(QMouseEvent* event)
{
    for (int p = 1; p < int(m_used.size()); ++p)
        if (cellRect(p).contains(event->position().toPoint())) {
            toggle(p);
            return;
        }
}

} // namespace qx7
