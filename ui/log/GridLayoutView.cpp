#include "ui/log/GridLayoutView.h"

#include "core/IniFile.h"
#include "ui/log/LogTableModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QTableView>

#include <vector>

namespace qx7 {

namespace {

constexpr const char* kSection = "LogGridOptions";

Qt::Alignment toQt(GridAlign a)
{
    switch (a) {
    case GridAlign::Right:
        return Qt::AlignRight;
    case GridAlign::Center:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

GridAlign fromQt(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return GridAlign::Right;
    if (a & Qt::AlignHCenter)
        return GridAlign::Center;
    return GridAlign::Left;
}

int zeroWidth(const QTableView& view)
{
    return view.fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

// Colours are kept as Windows writes them, 0x00BBGGRR, so that files of older versions
// still read; a negative value names a system colour and leaves the default.
QColor colorFromIni(long long value, const QColor& fallback)
{
    if (value < 0 || value > 0xFFFFFF)
        return fallback;
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

long long colorToIni(const QColor& c)
{
    return static_cast<long long>(c.red()) | (static_cast<long long>(c.green()) << 8) |
           (static_cast<long long>(c.blue()) << 16);
}

} // namespace

QColor defaultGridColor()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}

GridLayout gridLayoutOf(const QTableView& view, const LogTableModel& model)
{
    const QHeaderView* h = view.horizontalHeader();
    GridLayout layout;
    for (int visual = 0; visual < h->count(); ++visual) {
        const int col = h->logicalIndex(visual);
        if (col < 0 || h->isSectionHidden(col))
            continue;
        GridColumn c;
        c.field = LogTableModel::fieldOfColumn(col);
        c.title = model.columnTitle(col).toStdString();
        c.titleAlign = fromQt(model.titleAlignment(col));
        c.dataAlign = fromQt(model.dataAlignment(col));
        c.width = gridWidthToCharacters(h->sectionSize(col), zeroWidth(view));
        layout.columns.push_back(std::move(c));
    }
    return layout;
}

void applyGridLayout(QTableView& view, LogTableModel& model, const GridLayout& layout)
{
    QHeaderView* h = view.horizontalHeader();
    std::vector<bool> shown(LogTableModel::ColumnCount, false);
    int visual = 0;
    for (const GridColumn& c : layout.columns) {
        const int col = LogTableModel::columnOfField(c.field);
        if (col < 0 || shown[static_cast<size_t>(col)])
            continue;
        shown[static_cast<size_t>(col)] = true;
        h->moveSection(h->visualIndex(col), visual++);
        h->setSectionHidden(col, false);
        h->resizeSection(col, gridWidthToPixels(c.width, zeroWidth(view)));
        model.setColumnLook(col, QString::fromStdString(c.title), toQt(c.titleAlign),
                            toQt(c.dataAlign));
    }
    for (int col = 0; col < LogTableModel::ColumnCount; ++col)
        if (!shown[static_cast<size_t>(col)])
            h->setSectionHidden(col, true);
}

GridOptions gridOptionsOf(const QTableView& view, const std::string& dateFormat)
{
    GridOptions o;
    o.color = view.palette().color(QPalette::Base);
    o.dateFormat = dateFormat;
    o.titles = !view.horizontalHeader()->isHidden();
    o.indicator = !view.verticalHeader()->isHidden();
    o.colLines = view.showGrid();
    o.rowLines = view.showGrid();
    return o;
}

void applyGridOptions(QTableView& view, const GridOptions& options)
{
    QPalette pal = view.palette();
    pal.setColor(QPalette::Base, options.color);
    // Text stays readable on a dark background such as the favorite's black.
    pal.setColor(QPalette::Text,
                 options.color.lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black));
    view.setPalette(pal);
    view.horizontalHeader()->setVisible(options.titles);
    view.verticalHeader()->setVisible(options.indicator);
    // A table view draws its lines as one grid: either kind of line switches it on.
    view.setShowGrid(options.colLines || options.rowLines);
}

GridOptions readGridOptions(const IniFile& ini, const GridOptions& current)
{
    GridOptions o = current;
    o.color = colorFromIni(ini.readInteger(kSection, "Color", -1), defaultGridColor());
    o.dateFormat = ini.readString(kSection, "DateDisplayFormat", current.dateFormat);
    if (o.dateFormat.empty())
        o.dateFormat = current.dateFormat;
    o.titles = ini.readBool(kSection, "dgTitles", current.titles);
    o.indicator = ini.readBool(kSection, "dgIndicator", current.indicator);
    o.colLines = ini.readBool(kSection, "dgColLines", current.colLines);
    o.rowLines = ini.readBool(kSection, "dgRowLines", current.rowLines);
    return o;
}

void writeGridOptions(IniFile& ini, const GridOptions& o)
{
    ini.writeString(kSection, "DateDisplayFormat", o.dateFormat);
    ini.writeBool(kSection, "dgTitles", o.titles);
    ini.writeBool(kSection, "dgIndicator", o.indicator);
    ini.writeBool(kSection, "dgColLines", o.colLines);
    ini.writeBool(kSection, "dgRowLines", o.rowLines);
    ini.writeInteger(kSection, "Color", colorToIni(o.color));
}

} // namespace qx7
