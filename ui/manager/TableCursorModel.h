#pragma once
// A grid model over an open dBase table: rows come from the table's cursor in its current
// index order, range and filter, a page at a time, never as a copy of the table. The
// table's current record is left where it was after every read.

#include "dbase/Table.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace qx7 {

class TableCursorModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString field;
        QString title;
    };
    TableCursorModel(dbase::Table& table, QList<Column> columns, QObject* parent = nullptr);
    ~TableCursorModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Columns that take no edits (e.g. MYCALL while an own call is fixed).
    void setReadOnlyFields(QStringList fields);
    // While suspended the model shows nothing and ignores the table, so that long runs
    // on the table do not redraw the grid record by record.
    void suspend();
    void resume();
    // Recounts the rows and drops the cached pages.
    void reload();
    // Moves the table's cursor to the record of `row`.
    bool gotoRow(int row);
    // The record shown in `row`, without moving the cursor; invalid outside the rows.
    dbase::Bookmark bookmarkAt(int row) const;

private:
    static constexpr int kPage = 128;
    void count();
    void loadPage(int page) const;
    void detach();

    dbase::Table& m_table;
    QList<Column> m_columns;
    QStringList m_readOnly;
    int m_observer = -1;
    bool m_suspended = false;
    bool m_writing = false;
    int m_rows = 0;
    // A bookmark at the first row of every page, collected while counting.
    std::vector<dbase::Bookmark> m_pageStarts;
    mutable int m_cachedPage = -1;
    mutable std::vector<QStringList> m_cache;
    mutable std::vector<dbase::Bookmark> m_cacheMarks;
};

} // namespace qx7
