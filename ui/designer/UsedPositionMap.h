#pragma once
// A picture of the label sheet on which the labels already used are clicked: a sheet
// fed again with labels missing here and there is filled exactly where it has labels.
// Positions are counted down each column, from 1.

#include <QWidget>

#include <vector>

namespace qx7 {

class UsedPositionMap : public QWidget
{
    Q_OBJECT
public:
    UsedPositionMap(int columns, int rows, QWidget* parent = nullptr);

    std::vector<int> usedPositions() const;
    void setUsedPositions(const std::vector<int>& positions);
    void toggle(int position);
    // The centre of a position's cell, for the mouse.
    QPoint cellCentre(int position) const;
    QSize sizeHint() const override;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect cellRect(int position) const;

    int m_columns;
    int m_rows;
    std::vector<bool> m_used; // index = position
};

} // namespace qx7
