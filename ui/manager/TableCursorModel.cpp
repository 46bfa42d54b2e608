#include "ui/manager/TableCursorModel.h"

namespace qx7 {

namespace {
// Restores the table's current record when a read is done with it.
class CursorKeeper
{
public:
    explicit CursorKeeper(dbase::Table& t) : m_t(t), m_mark(t.bookmark()) {}
    ~CursorKeeper()
    {
        try {
            if (m_mark.isValid())
                m_t.gotoBookmark(m_mark);
        } catch (const dbase::Error&) { // the record went away meanwhile
        }
    }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

private:
    dbase::Table& m_t;
    dbase::Bookmark m_mark;
};
} // namespace

TableCursorModel::TableCursorModel(dbase::Table& table, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_columns(std::move(columns))
{
    m_observer = m_table.addObserver([this](dbase::Table&, dbase::TableEvent e) {
        if (m_suspended || m_writing)
            return;
        if (e == dbase::TableEvent::Closing) {
            beginResetModel();
            m_rows = 0;
            m_pageStarts.clear();
            m_cachedPage = -1;
            endResetModel();
        } else if (e == dbase::TableEvent::DataChanged) {
            reload();
        }
    });
    reload();
}

TableCursorModel::~TableCursorModel()
{
    detach();
}

void TableCursorModel::detach()
{
    if (m_observer >= 0)
        m_table.removeObserver(m_observer);
    m_observer = -1;
}

void TableCursorModel::count()
{
    m_rows = 0;
    m_pageStarts.clear();
    m_cachedPage = -1;
    if (!m_table.isOpen() || m_suspended)
        return;
    CursorKeeper keep(m_table);
    m_table.first();
    for (; !m_table.isEmpty() && !m_table.eof(); m_table.next()) {
        if (m_rows % kPage == 0)
            m_pageStarts.push_back(m_table.bookmark());
        ++m_rows;
    }
}

void TableCursorModel::reload()
{
    beginResetModel();
    try {
        count();
    } catch (const dbase::Error&) {
        m_rows = 0;
        m_pageStarts.clear();
    }
    endResetModel();
}

void TableCursorModel::suspend()
{
    beginResetModel();
    m_suspended = true;
    m_rows = 0;
    m_pageStarts.clear();
    m_cachedPage = -1;
    endResetModel();
}

void TableCursorModel::resume()
{
    m_suspended = false;
    reload();
}

void TableCursorModel::setReadOnlyFields(QStringList fields)
{
    m_readOnly = std::move(fields);
}

int TableCursorModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableCursorModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

void TableCursorModel::loadPage(int page) const
{
    m_cache.clear();
    m_cacheMarks.clear();
    m_cachedPage = page;
    if (page < 0 || page >= static_cast<int>(m_pageStarts.size()))
        return;
    CursorKeeper keep(m_table);
    if (!m_table.gotoBookmark(m_pageStarts[static_cast<size_t>(page)]))
        return;
    for (int i = 0; i < kPage && !m_table.eof(); ++i) {
        QStringList row;
        for (const Column& c : m_columns)
            row << QString::fromStdString(m_table.text(c.field.toStdString()));
        m_cache.push_back(row);
        m_cacheMarks.push_back(m_table.bookmark());
        m_table.next();
    }
}

QVariant TableCursorModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int page = index.row() / kPage;
    try {
        if (page != m_cachedPage)
            loadPage(page);
    } catch (const dbase::Error&) {
        m_cachedPage = -1;
        return {};
    }
    const auto offset = static_cast<size_t>(index.row() % kPage);
    if (offset >= m_cache.size())
        return {};
    return m_cache[offset].value(index.column());
}

dbase::Bookmark TableCursorModel::bookmarkAt(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    const int page = row / kPage;
    try {
        if (page != m_cachedPage)
            loadPage(page);
    } catch (const dbase::Error&) {
        m_cachedPage = -1;
        return {};
    }
    const auto offset = static_cast<size_t>(row % kPage);
    return offset < m_cacheMarks.size() ? m_cacheMarks[offset] : dbase::Bookmark{};
}

QVariant TableCursorModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Vertical)
        return section + 1;
    return section < m_columns.size() ? m_columns[section].title : QVariant();
}

Qt::ItemFlags TableCursorModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_readOnly.contains(m_columns[index.column()].field))
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableCursorModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !gotoRow(index.row()))
        return false;
    m_writing = true;
    try {
        m_table.edit();
        m_table.setText(m_columns[index.column()].field.toStdString(),
                        value.toString().toStdString());
        m_table.post();
    } catch (const dbase::Error&) {
        if (m_table.state() != dbase::Table::State::Browse)
            m_table.cancel();
        m_writing = false;
        return false;
    }
    m_writing = false;
    m_cachedPage = -1;
    emit dataChanged(index, index);
    // A changed key may move the record: recount once the view has finished its edit.
    QMetaObject::invokeMethod(this, &TableCursorModel::reload, Qt::QueuedConnection);
    return true;
}

bool TableCursorModel::gotoRow(int row)
{
    if (row < 0 || row >= m_rows)
        return false;
    const int page = row / kPage;
    try {
        if (page != m_cachedPage)
            loadPage(page);
        const auto offset = static_cast<size_t>(row % kPage);
        return offset < m_cacheMarks.size() && m_table.gotoBookmark(m_cacheMarks[offset]);
    } catch (const dbase::Error&) {
        return false;
    }
}

} // namespace qx7
