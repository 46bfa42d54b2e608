#pragma once
// The statistics as bars: QSOs per band, each bar split by mode, and the QSOs per mode,
// with the labels the run needs. Drawn with QPainter so that it needs no chart library
// and can be saved as a picture.

#include "store/LogScan.h"

#include <QWidget>

namespace qx7 {

class StatisticsChart : public QWidget
{
    Q_OBJECT
public:
    explicit StatisticsChart(QWidget* parent = nullptr);
    void setStatistics(const ScanStatistics& stats);
    // The chart at a fixed size, for saving.
    QImage render(const QSize& size) const;
    QSize sizeHint() const override { return {640, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void draw(QPainter& p, const QRect& area) const;
    ScanStatistics m_stats;
};

} // namespace qx7
