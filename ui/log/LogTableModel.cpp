#include "ui/log/LogTableModel.h"

#include "store/LogDisplay.h"
#include "ui/log/QsoDragData.h"

#include <QBrush>
#include <QColor>
#include <QMetaObject>
#include <QMimeData>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace qx7 {

namespace {

struct ColumnDef
{
    const char* title;
    const char* field;
};

constexpr ColumnDef kColumns[LogTableModel::ColumnCount] = {
    {"Call", "CALL"},    {"Date", "DATE"},    {"Time", "TIME"},      {"Band", "BAND"},
    {"Mode", "MODE"},    {"RSTs", "RSTS"},    {"RSTr", "RSTR"},      {"Qs", "QSLS"},
    {"Qr", "QSLR"},      {"Manager", "QMGR"}, {"Date sent", "DATS"}, {"Date rcvd", "DATR"},
    {"Comment", "COMM"}, {"Freq", "FREQ"},    {"Sub-Mode", "SUBM"},
};

constexpr int kPagesKept = 8;

// Puts the table back on the record it was on when the model borrowed its cursor.
class CursorKeeper
{
public:
    explicit CursorKeeper(dbase::Table& t) : m_table(t), m_mark(t.bookmark()) {}
    ~CursorKeeper()
    {
        if (m_mark.isValid())
            m_table.gotoBookmark(m_mark);
    }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

private:
    dbase::Table& m_table;
    dbase::Bookmark m_mark;
};

} // namespace

LogTableModel::LogTableModel(dbase::Table& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table)
{
    for (int c = 0; c < ColumnCount; ++c) {
        m_titles[static_cast<size_t>(c)] = QString::fromLatin1(kColumns[c].title);
        m_titleAlign[static_cast<size_t>(c)] = Qt::AlignLeft | Qt::AlignVCenter;
        m_dataAlign[static_cast<size_t>(c)] = Qt::AlignLeft | Qt::AlignVCenter;
    }
    for (const ColumnDef& c : kColumns) {
        const auto f = m_table.isOpen() ? m_table.findField(c.field) : std::nullopt;
        m_fieldOfColumn.push_back(f ? *f : -1);
    }
    if (const auto f = m_table.isOpen() ? m_table.findField("MARK") : std::nullopt)
        m_markField = *f;
    reload(false);
}

int LogTableModel::columnOfField(std::string_view field)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (field == kColumns[c].field)
            return c;
    return -1;
}

const char* LogTableModel::fieldOfColumn(int column)
{
    return column >= 0 && column < ColumnCount ? kColumns[column].field : "";
}

void LogTableModel::setColumnLook(int column, const QString& title, Qt::Alignment titleAlign,
                                  Qt::Alignment dataAlign)
{
    if (column < 0 || column >= ColumnCount)
        return;
    const auto c = static_cast<size_t>(column);
    m_titles[c] = title.isEmpty() ? QString::fromLatin1(kColumns[column].title) : title;
    m_titleAlign[c] = titleAlign | Qt::AlignVCenter;
    m_dataAlign[c] = dataAlign | Qt::AlignVCenter;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (m_rows > 0)
        emit dataChanged(index(0, column), index(m_rows - 1, column), {Qt::TextAlignmentRole});
}

void LogTableModel::setDisplayFormats(std::string dateFormat, int labelTimeFormat)
{
    m_dateFormat = std::move(dateFormat);
    m_timeFormat = labelTimeFormat;
    refreshValues();
}

void LogTableModel::reload(bool filtered)
{
    beginResetModel();
    m_pages.clear();
    m_anchors.clear();
    m_hidden.clear();
    m_cursorRow = -1;
    m_indexed = m_table.isOpen() && !filtered && !m_table.currentIndex().empty();
    m_counted = m_table.isOpen() && !m_indexed && (filtered || m_table.hasRange());
    if (!m_table.isOpen())
        m_rows = 0;
    else if (m_indexed) {
        findHiddenEntries();
        m_rows = static_cast<int>(m_table.indexRangeCount() - m_hidden.size());
    } else if (m_counted)
        countRows();
    else
        m_rows = static_cast<int>(m_table.recordCount() - m_table.deletedRecords().size());
    endResetModel();
}

void LogTableModel::refreshValues()
{
    m_pages.clear();
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

void LogTableModel::countRows()
{
    CursorKeeper keep(m_table);
    int n = 0;
    for (m_table.first(); !m_table.eof(); m_table.next()) {
        if (n % kPageRows == 0)
            m_anchors.push_back(m_table.bookmark());
        ++n;
    }
    m_rows = n;
}

void LogTableModel::findHiddenEntries()
{
    const std::vector<std::uint32_t>& deleted = m_table.deletedRecords();
    if (deleted.empty())
        return;
    CursorKeeper keep(m_table);
    for (const std::uint32_t recno : deleted) {
        if (!m_table.gotoBookmark(dbase::Bookmark{recno}))
            continue;
        if (const auto n = m_table.indexRangePosition())
            m_hidden.push_back(*n);
    }
    std::sort(m_hidden.begin(), m_hidden.end());
}

std::uint32_t LogTableModel::entryOfRow(int r) const
{
    auto n = static_cast<std::uint32_t>(r);
    for (const std::uint32_t h : m_hidden) {
        if (h > n)
            break;
        ++n;
    }
    return n;
}

bool LogTableModel::seekRow(int r) const
{
    if (r < 0 || r >= m_rows)
        return false;
    if (m_indexed)
        return m_table.gotoIndexRangePosition(entryOfRow(r));
    if (m_counted) {
        const auto a = static_cast<size_t>(r / kPageRows);
        if (a >= m_anchors.size() || !m_table.gotoBookmark(m_anchors[a]))
            return false;
        const int want = r - static_cast<int>(a) * kPageRows;
        return m_table.moveBy(want) == want;
    }
    // Every record is a row: walk from the nearest of the first row, the last row and
    // the row the last page read started on.
    enum class Start
    {
        First,
        Last,
        Cached
    } start = Start::First;
    int from = 0;
    if (m_rows - 1 - r < r) {
        start = Start::Last;
        from = m_rows - 1;
    }
    if (m_cursorRow >= 0 && std::abs(r - m_cursorRow) < std::abs(r - from)) {
        start = Start::Cached;
        from = m_cursorRow;
    }
    if (start == Start::Cached) {
        if (!m_table.gotoBookmark(m_cursorMark))
            return false;
    } else if (start == Start::First) {
        m_table.first();
        if (m_table.eof())
            return false;
    } else {
        m_table.last();
    }
    const int moved = m_table.moveBy(r - from);
    if (moved != r - from) {
        if (start == Start::First) // fewer records than rows: some are deleted
            shrinkTo(from + moved + 1);
        return false;
    }
    return true;
}

LogTableModel::Row LogTableModel::readRow() const
{
    Row row;
    row.mark = m_table.bookmark();
    if (m_table.isDeleted()) // keeps its place in the index until the log is packed
        return row;
    for (int c = 0; c < ColumnCount; ++c) {
        const int f = m_fieldOfColumn[static_cast<size_t>(c)];
        if (f < 0)
            continue;
        std::string v = m_table.text(f);
        if (c == DateColumn || c == DatsColumn || c == DatrColumn)
            v = logDateDisplay(v, m_dateFormat);
        else if (c == TimeColumn)
            v = logTimeDisplay(v, m_timeFormat);
        row.values[static_cast<size_t>(c)] = QString::fromStdString(v);
    }
    row.marked = m_markField >= 0 && m_table.boolean(m_markField);
    return row;
}

void LogTableModel::readPage(Page& p) const
{
    CursorKeeper keep(m_table);
    const int first = p.number * kPageRows;
    if (!seekRow(first))
        return;
    const int want = std::min(kPageRows, m_rows - first);
    for (int i = 0; i < want; ++i) {
        p.rows.push_back(readRow());
        m_table.next();
        if (m_table.eof())
            break;
    }
    m_cursorRow = first;
    m_cursorMark = p.rows.front().mark;
    if (static_cast<int>(p.rows.size()) < want)
        shrinkTo(first + static_cast<int>(p.rows.size()));
}

void LogTableModel::shrinkTo(int rows) const
{
    // Rows cannot go while the view is asking for data: drop them once it is done.
    auto* self = const_cast<LogTableModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self, rows] {
            if (rows >= self->m_rows)
                return;
            self->beginRemoveRows({}, rows, self->m_rows - 1);
            self->m_rows = rows;
            self->m_pages.clear();
            self->m_cursorRow = -1;
            self->endRemoveRows();
        },
        Qt::QueuedConnection);
}

const LogTableModel::Page& LogTableModel::page(int number) const
{
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it)
        if (it->number == number) {
            m_pages.splice(m_pages.begin(), m_pages, it);
            return m_pages.front();
        }
    Page p;
    p.number = number;
    readPage(p);
    m_pages.push_front(std::move(p));
    if (m_pages.size() > kPagesKept)
        m_pages.pop_back();
    return m_pages.front();
}

const LogTableModel::Row* LogTableModel::row(int r) const
{
    if (r < 0 || r >= m_rows || !m_table.isOpen())
        return nullptr;
    const Page& p = page(r / kPageRows);
    const auto i = static_cast<size_t>(r % kPageRows);
    return i < p.rows.size() ? &p.rows[i] : nullptr;
}

int LogTableModel::rowOfCurrentRecord()
{
    if (!m_table.isOpen() || m_table.recNo() == 0 || m_rows == 0)
        return -1;
    if (m_indexed) {
        const auto n = m_table.indexRangePosition();
        if (!n)
            return -1;
        const auto before =
            std::lower_bound(m_hidden.begin(), m_hidden.end(), *n) - m_hidden.begin();
        return std::min(static_cast<int>(*n) - static_cast<int>(before), m_rows - 1);
    }
    CursorKeeper keep(m_table);
    const int back = -m_table.moveBy(INT_MIN + 1);
    return std::min(back, m_rows - 1);
}

bool LogTableModel::gotoRow(int r)
{
    const Row* cached = row(r);
    if (!cached)
        return false;
    if (!m_table.gotoBookmark(cached->mark))
        return false;
    m_cursorRow = r;
    m_cursorMark = cached->mark;
    return true;
}

dbase::Bookmark LogTableModel::bookmarkAt(int r)
{
    const Row* cached = row(r);
    return cached ? cached->mark : dbase::Bookmark{};
}

QString LogTableModel::callAt(int r)
{
    const Row* cached = row(r);
    return cached ? cached->values[CallColumn] : QString();
}

int LogTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LogTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_dataAlign[static_cast<size_t>(index.column())]);
    if (role != Qt::DisplayRole && role != Qt::BackgroundRole)
        return {};
    const Row* r = row(index.row());
    if (!r)
        return {};
    if (role == Qt::BackgroundRole)
        return r->marked ? QVariant(QBrush(Qt::red)) : QVariant();
    return r->values[static_cast<size_t>(index.column())];
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_titleAlign[static_cast<size_t>(section)]);
    if (role != Qt::DisplayRole)
        return {};
    return m_titles[static_cast<size_t>(section)];
}

Qt::ItemFlags LogTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList LogTableModel::mimeTypes() const
{
    return {QString::fromLatin1(kQsoRowsMimeType), QString::fromLatin1(kQsoMimeType)};
}

QMimeData* LogTableModel::mimeData(const QModelIndexList& indexes) const
{
    // The print queue acts on the selection of the active log window, so for it the rows
    // need not travel. The SWL window takes the dragged QSOs themselves, with their values
    // as stored (not as displayed) and the own call of this log.
    std::vector<int> rows;
    for (const QModelIndex& i : indexes)
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QsoDrag drag{m_ownCall, {}};
    // A listener reports a handful of QSOs; a drag of a whole large log goes to the print
    // queue only, without reading every record for a payload nobody takes.
    if (rows.size() <= kMaxDraggedQsos) {
        CursorKeeper keep(m_table);
        const auto field = [this](Column c) {
            const int f = m_fieldOfColumn[static_cast<size_t>(c)];
            return f < 0 ? QString() : QString::fromStdString(m_table.text(f));
        };
        for (int r : rows) {
            const Row* cached = row(r);
            if (!cached || !cached->mark.isValid() || !m_table.gotoBookmark(cached->mark))
                continue;
            drag.qsos.push_back({field(CallColumn), field(DateColumn), field(TimeColumn),
                                 field(BandColumn), field(ModeColumn), field(SubmColumn)});
        }
    }
    QMimeData* mime = drag.qsos.empty() ? new QMimeData : makeQsoDrag(drag);
    mime->setData(QString::fromLatin1(kQsoRowsMimeType), QByteArray("rows"));
    return mime;
}

} // namespace qx7
