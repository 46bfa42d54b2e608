#include "ui/main/PrintQueueWindow.h"

#include "store/PrintQueue.h"
#include "ui/log/LogTableModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTableView>

#include <algorithm>
#include <set>

namespace qx7 {

namespace {
constexpr int kPagesKept = 4;
}

QueueTableModel::QueueTableModel(QObject* parent) : QAbstractTableModel(parent) {}

QueueTableModel::~QueueTableModel() = default;

bool QueueTableModel::refresh(PrintQueue& queue, int priRows, const std::string& managerText)
{
    if (m_queue != &queue) {
        m_queue = &queue;
        m_view = std::make_unique<PrintQueueView>(queue);
    }
    if (!m_view->recount())
        return false;
    const int rows = m_view->size();
    const int order = queue.indexOnQXPQ() != 0 ? 1 : 0;
    const bool sameLook = priRows == m_priRows && managerText == m_managerText;
    m_priRows = priRows;
    m_managerText = managerText;
    m_pages.clear();
    if (rows > m_rows && order == 0 && m_order == 0) {
        // A fill appends its new labels at the end; earlier labels may have got more QSOs.
        if (m_rows > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows == m_rows && order == m_order && sameLook) {
        if (m_rows > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
    } else {
        beginResetModel();
        m_rows = rows;
        m_order = order;
        endResetModel();
    }
    m_order = order;
    return true;
}

const QueueLabelRow* QueueTableModel::row(int r) const
{
    if (r < 0 || r >= m_rows || !m_view)
        return nullptr;
    const int number = r / kPageRows;
    auto it = std::find_if(m_pages.begin(), m_pages.end(),
                           [number](const Page& p) { return p.number == number; });
    if (it == m_pages.end()) {
        Page p;
        p.number = number;
        p.rows = m_view->read(number * kPageRows, kPageRows);
        if (p.rows.empty())
            return nullptr; // not readable now (a label is being written): try again later
        m_labelsRead += static_cast<long>(p.rows.size());
        m_pages.push_front(std::move(p));
        if (m_pages.size() > kPagesKept)
            m_pages.pop_back();
        it = m_pages.begin();
    } else if (it != m_pages.begin()) {
        m_pages.splice(m_pages.begin(), m_pages, it);
        it = m_pages.begin();
    }
    const size_t at = static_cast<size_t>(r - number * kPageRows);
    return at < it->rows.size() ? &it->rows[at] : nullptr;
}

dbase::Bookmark QueueTableModel::bookmarkAt(int r) const
{
    const QueueLabelRow* l = row(r);
    return l ? l->mark : dbase::Bookmark{};
}

int QueueTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int QueueTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QueueTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const QueueLabelRow* l = row(index.row());
    if (!l)
        return {};
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(m_view->hint(l->mark, m_priRows, m_managerText))
            .replace('\r', '\n');
    switch (index.column()) {
    case CallColumn:
    case SwlCallColumn:
        return QString::fromStdString(l->call);
    case CountColumn:
        return QString::fromStdString(l->count);
    case ManagerColumn:
        return QString::fromStdString(managerLabelText(l->manager, m_managerText));
    default:
        return QString::fromStdString(l->myCall);
    }
}

QVariant QueueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char* const titles[] = {"Call", "SWL Call", "#", "Manager", "My Call"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section])
                                                 : QVariant();
}

PrintQueueWindow::PrintQueueWindow(QWidget* parent) : QDockWidget(tr("Print Queue"), parent)
{
    setObjectName("PrintQueueWindow");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    m_grid = new QTableView(this);
    m_grid->setObjectName("QueueGrid");
    m_model = new QueueTableModel(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QPalette pal = m_grid->palette();
    pal.setColor(QPalette::Base, palette().color(QPalette::ToolTipBase));
    m_grid->setPalette(pal);
    m_grid->setAcceptDrops(true);
    m_grid->viewport()->setAcceptDrops(true);
    m_grid->viewport()->installEventFilter(this);
    setWidget(m_grid);
    setSwlMode(false);
    m_grid->setColumnWidth(QueueTableModel::CountColumn, 24);
    m_grid->setColumnWidth(QueueTableModel::ManagerColumn, 90);
    m_grid->setColumnWidth(QueueTableModel::MyCallColumn, 72);
    m_grid->horizontalHeader()->setStretchLastSection(true);
}

void PrintQueueWindow::refresh(PrintQueue& queue, int priRows, const std::string& managerText)
{
    m_model->refresh(queue, priRows, managerText);
}

void PrintQueueWindow::setSwlMode(bool on)
{
    m_grid->setColumnHidden(QueueTableModel::CallColumn, on);
    m_grid->setColumnHidden(QueueTableModel::SwlCallColumn, !on);
    m_grid->setColumnWidth(on ? QueueTableModel::SwlCallColumn : QueueTableModel::CallColumn, 72);
}

std::vector<dbase::Bookmark> PrintQueueWindow::labelsToDelete() const
{
    std::set<int> rows;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        rows.insert(i.row());
    if (rows.empty() && m_grid->currentIndex().isValid())
        rows.insert(m_grid->currentIndex().row());
    if (rows.empty() && m_model->rowCount() > 0)
        rows.insert(0);
    std::vector<dbase::Bookmark> marks;
    for (int r : rows)
        marks.push_back(m_model->bookmarkAt(r));
    return marks;
}

bool PrintQueueWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_grid->viewport())
        return QDockWidget::eventFilter(watched, event);
    const auto fromLog = [](const QMimeData* m) {
        return m && m->hasFormat(QString::fromLatin1(kQsoRowsMimeType));
    };
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        if (m_acceptDrops && fromLog(e->mimeData()))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!m_acceptDrops || !fromLog(e->mimeData())) {
            e->ignore();
            return true;
        }
        e->acceptProposedAction();
        emit qsoRowsDropped();
        return true;
    }
    default:
        return QDockWidget::eventFilter(watched, event);
    }
}

} // namespace qx7
