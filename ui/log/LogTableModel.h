#pragma once
// The rows of a log grid, read from the log table's cursor in the current index order,
// range and filter. Nothing is copied up front: without a filter the rows are the index
// entries of the range, reached by their number; under a filter they are counted once
// when the view changes. data() reads the page of rows around the asked one and keeps
// a few pages.

#include "dbase/Table.h"

#include <QAbstractTableModel>

#include <array>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kQsoRowsMimeType = "application/x-qx7-qso-rows";
// A QSL manager call dragged from the manager toolbar; the only drop a log grid takes.
inline constexpr const char* kManagerMimeType = "application/x-qx7-qsl-manager";

class LogTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        CallColumn,
        DateColumn,
        TimeColumn,
        BandColumn,
        ModeColumn,
        RstsColumn,
        RstrColumn,
        QslsColumn,
        QslrColumn,
        ManagerColumn,
        DatsColumn,
        DatrColumn,
        CommentColumn,
        FreqColumn,
        SubmColumn,
        ColumnCount
    };
    static constexpr int kPageRows = 64;
    // Drags of more rows carry no QSO values (the print queue needs none).
    static constexpr size_t kMaxDraggedQsos = 1000;

    LogTableModel(dbase::Table& table, QObject* parent = nullptr);

    // After the index, range or filter changed. `filtered`: a filter is in force, so the
    // rows must be counted; without one and without a range every record is a row.
    void reload(bool filtered);
    // After values of the visible rows changed (a scan wrote QSL flags).
    void refreshValues();
    bool isCounted() const { return m_counted; }

    // The row of the table's current record (-1 when there is none); leaves it current.
    int rowOfCurrentRecord();
    // Makes the row's record the table's current record; false when there is no such row.
    bool gotoRow(int row);
    dbase::Bookmark bookmarkAt(int row);
    QString callAt(int row);

    // The column of a log field (-1 for fields the grid cannot show) and its field.
    static int columnOfField(std::string_view field);
    static const char* fieldOfColumn(int column);
    // Titles and alignments from the grid setup; an empty title keeps the shipped one.
    void setColumnLook(int column, const QString& title, Qt::Alignment titleAlign,
                       Qt::Alignment dataAlign);
    QString columnTitle(int column) const { return m_titles.at(static_cast<size_t>(column)); }
    Qt::Alignment titleAlignment(int column) const
    {
        return m_titleAlign.at(static_cast<size_t>(column));
    }
    Qt::Alignment dataAlignment(int column) const
    {
        return m_dataAlign.at(static_cast<size_t>(column));
    }

    // Display formats of dates and times.
    void setDisplayFormats(std::string dateFormat, int labelTimeFormat);
    // The log's own call; drags carry it so that a drop can tell whose QSOs arrive.
    void setOwnCall(const QString& call) { m_ownCall = call; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    struct Row
    {
        dbase::Bookmark mark;
        std::array<QString, ColumnCount> values;
        bool marked = false;
    };
    struct Page
    {
        int number = -1;
        std::vector<Row> rows;
    };

    const Row* row(int r) const;
    const Page& page(int number) const;
    // Puts the cursor on row r from the nearest known place; false when it is beyond the end.
    bool seekRow(int r) const;
    void readPage(Page& p) const;
    Row readRow() const;
    void countRows();
    void findHiddenEntries();
    // The index entry (within the range) that row r shows, deleted entries skipped.
    std::uint32_t entryOfRow(int r) const;
    void shrinkTo(int rows) const;

    dbase::Table& m_table;
    std::vector<int> m_fieldOfColumn;
    std::array<QString, ColumnCount> m_titles;
    std::array<Qt::Alignment, ColumnCount> m_titleAlign{};
    std::array<Qt::Alignment, ColumnCount> m_dataAlign{};
    int m_markField = -1;
    QString m_ownCall;
    std::string m_dateFormat = "yyyymmdd";
    int m_timeFormat = 0;
    int m_rows = 0;
    bool m_indexed = false; // rows are the index entries of the range: no walking
    bool m_counted = false; // under a filter: rows counted once, anchors kept
    // Without a filter: the index entries (within the range) of deleted records, ascending.
    // They keep their place in the index until the log is packed, but are no rows.
    std::vector<std::uint32_t> m_hidden;
    // Under a filter: a bookmark every kPageRows rows, taken while counting.
    std::vector<dbase::Bookmark> m_anchors;
    mutable std::list<Page> m_pages; // most recently used first
    mutable int m_cursorRow = -1;    // the row the cursor was left on by a page read
    mutable dbase::Bookmark m_cursorMark;
};

} // namespace qx7
