#pragma once
// A log grid's look, taken from and given to a QTableView over a LogTableModel: the
// column layout of the grid setup (which fields, order, titles, widths, alignments) and
// the grid options kept in "qx7.ini" section "LogGridOptions".

#include "store/LogGridSetup.h"

#include <QColor>

#include <string>

class QTableView;

namespace qx7 {

class IniFile;
class LogTableModel;

struct GridOptions
{
    QColor color;
    std::string dateFormat = "yyyymmdd";
    bool titles = true;
    bool indicator = false;
    bool colLines = true;
    bool rowLines = true;
    bool operator==(const GridOptions&) const = default;
};

// The layout the view shows now, in the order the user sees the columns.
GridLayout gridLayoutOf(const QTableView& view, const LogTableModel& model);
// Shows the layout's columns in its order; columns it does not name are hidden.
void applyGridLayout(QTableView& view, LogTableModel& model, const GridLayout& layout);

GridOptions gridOptionsOf(const QTableView& view, const std::string& dateFormat);
void applyGridOptions(QTableView& view, const GridOptions& options);
// Each value missing from the file keeps the one in `current`.
GridOptions readGridOptions(const IniFile& ini, const GridOptions& current);
void writeGridOptions(IniFile& ini, const GridOptions& options);

// The grid background the shipped layouts use: the tooltip colour, as the log grids
// always had, and black for "QZ3QZ's favorite".
QColor defaultGridColor();

} // namespace qx7
