#include "ui/report/StatisticsChart.h"

#include "core/BandModeTables.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace qx7 {

namespace {

QColor modeColour(int i)
{
    return QColor::fromHsv((i * 67) % 360, 150, 210);
}

struct Lists
{
    std::vector<int> bands, modes;
    long highestBand = 0, highestMode = 0;
};

Lists listsOf(const ScanStatistics& s)
{
    Lists l;
    for (int b = 0; b <= MaxBand; ++b)
        if (const long n = s.BandTotals[static_cast<size_t>(b)]; n > 0)
            l.bands.push_back(b), l.highestBand = std::max(l.highestBand, n);
    for (int m = 0; m <= MaxMode; ++m)
        if (const long n = s.ModeBandCounts[static_cast<size_t>(m)].total; n > 0)
            l.modes.push_back(m), l.highestMode = std::max(l.highestMode, n);
    return l;
}

void drawAxis(QPainter& p, const QRect& plot, long highest)
{
    p.setPen(Qt::gray);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawText(QRect(plot.left() - 48, plot.top() - 8, 44, 16), Qt::AlignRight,
               QString::number(highest));
    p.drawText(QRect(plot.left() - 48, plot.bottom() - 8, 44, 16), Qt::AlignRight,
               QStringLiteral("0"));
}

} // namespace

StatisticsChart::StatisticsChart(QWidget* parent) : QWidget(parent)
{
    setObjectName("StatisticsChart");
    setMinimumSize(400, 240);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void StatisticsChart::setStatistics(const ScanStatistics& stats)
{
    m_stats = stats;
    update();
}

QImage StatisticsChart::render(const QSize& size) const
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, image.rect());
    return image;
}

void StatisticsChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, rect());
}

void StatisticsChart::draw(QPainter& p, const QRect& area) const
{
    const Lists l = listsOf(m_stats);
    p.setPen(Qt::black);
    const int line = p.fontMetrics().height();
    p.drawText(area.adjusted(8, 4, -8, 0), Qt::AlignLeft | Qt::AlignTop,
               tr("QSOs: %1   QSOs to print: %2   Labels needed: %3")
                   .arg(m_stats.LogSize)
                   .arg(m_stats.QSOsPrinted)
                   .arg(m_stats.LabelsNeeded));
    if (l.bands.empty()) {
        p.drawText(area, Qt::AlignCenter, tr("No QSO counted"));
        return;
    }
    // Left two thirds: bands, stacked by mode. Right third: modes. Legend at the bottom.
    const int legendHeight = line + 8;
    const QRect body = area.adjusted(56, line * 2 + 8, -12, -(line + 8 + legendHeight));
    const int split = body.left() + body.width() * 2 / 3;
    const QRect bandPlot(body.left(), body.top(), split - body.left() - 56, body.height());
    const QRect modePlot(split, body.top(), body.right() - split, body.height());

    p.drawText(QRect(bandPlot.left(), bandPlot.top() - line - 4, bandPlot.width(), line),
               Qt::AlignCenter, tr("QSOs by band and mode"));
    drawAxis(p, bandPlot, l.highestBand);
    const double bandSlot = static_cast<double>(bandPlot.width()) / l.bands.size();
    for (size_t i = 0; i < l.bands.size(); ++i) {
        const size_t b = static_cast<size_t>(l.bands[i]);
        const int x = bandPlot.left() + static_cast<int>(i * bandSlot + bandSlot * 0.15);
        const int w = std::max(2, static_cast<int>(bandSlot * 0.7));
        double y = bandPlot.bottom();
        for (size_t k = 0; k < l.modes.size(); ++k) {
            const long n = m_stats.ModeBandCounts[static_cast<size_t>(l.modes[k])].perBand[b];
            if (n <= 0)
                continue;
            const double h = static_cast<double>(n) * bandPlot.height() / l.highestBand;
            p.fillRect(QRectF(x, y - h, w, h), modeColour(static_cast<int>(k)));
            y -= h;
        }
        p.setPen(Qt::black);
        p.drawText(QRect(x - 10, bandPlot.bottom() + 2, w + 20, line), Qt::AlignCenter,
                   QString::fromLatin1(bandName(static_cast<int>(b)).data(),
                                       static_cast<int>(bandName(static_cast<int>(b)).size())));
    }

    p.drawText(QRect(modePlot.left(), modePlot.top() - line - 4, modePlot.width(), line),
               Qt::AlignCenter, tr("QSOs by mode"));
    drawAxis(p, modePlot, l.highestMode);
    const double modeSlot = static_cast<double>(modePlot.width()) / l.modes.size();
    for (size_t k = 0; k < l.modes.size(); ++k) {
        const long n = m_stats.ModeBandCounts[static_cast<size_t>(l.modes[k])].total;
        // Room above the highest bar for its number, below the title.
        const double h = static_cast<double>(n) * (modePlot.height() - line) / l.highestMode;
        const int x = modePlot.left() + static_cast<int>(k * modeSlot + modeSlot * 0.15);
        const int w = std::max(2, static_cast<int>(modeSlot * 0.7));
        p.fillRect(QRectF(x, modePlot.bottom() - h, w, h), modeColour(static_cast<int>(k)));
        p.setPen(Qt::black);
        p.drawText(QRect(x - 4, static_cast<int>(modePlot.bottom() - h) - line, w + 8, line),
                   Qt::AlignCenter, QString::number(n));
    }

    // Legend: one swatch per mode.
    int x = area.left() + 8;
    const int y = area.bottom() - legendHeight + 4;
    for (size_t k = 0; k < l.modes.size(); ++k) {
        const auto name = modeName(l.modes[k]);
        const QString text =
            QString::fromLatin1(name.data(), static_cast<int>(name.size())).trimmed();
        p.fillRect(QRect(x, y + 2, line - 4, line - 4), modeColour(static_cast<int>(k)));
        p.setPen(Qt::black);
        p.drawText(QPoint(x + line, y + line - 4), text);
        x += line + p.fontMetrics().horizontalAdvance(text) + 14;
    }
}

} // namespace qx7
