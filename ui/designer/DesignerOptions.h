#pragma once
// How the designer surface looks and how elements align: the frames over elements, the
// grids the mouse and the arrow keys move by, the unit of the status bar, the grid dots.

#include <QColor>

#include <array>
#include <cmath>
#include <utility>

namespace qx7 {

enum class DesignUnit
{
    Mm = 0,
    Inches = 1,
    Characters = 3 // a printer's character cell: a tenth of an inch wide, a sixth high
};

struct DesignerOptions
{
    bool showFrames = true;
    QColor frameColor = QColor(0, 120, 215);
    Qt::PenStyle frameLine = Qt::DashLine;
    bool snap = true; // "Automatically align elements to grid"
    // In millimetres; 0 leaves that direction free.
    double gridXMm = 1.0;
    double gridYMm = 1.0;
    double keyGridXMm = 1.0;
    double keyGridYMm = 1.0;
    DesignUnit unit = DesignUnit::Mm;
    bool showGrid = true;
};

// The frame lines offered, by the names the options dialog and qx7.ini use.
inline constexpr std::array<std::pair<const char*, Qt::PenStyle>, 3> kFrameLines = {
    {{"Solid", Qt::SolidLine}, {"Dashed", Qt::DashLine}, {"Dotted", Qt::DotLine}}};

// `mm` on a grid of `step` millimetres; a step of 0 (or less) is no grid.
inline double onGrid(double mm, double step)
{
    return step > 0 ? std::round(mm / step) * step : mm;
}

} // namespace qx7
