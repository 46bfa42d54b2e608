#include "ui/main/PrintQueueWindow.h"

#include "store/PrintQueue.h"
#include "ui/log/LogTableModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTableView>

#include <set>

namespace qx7 {

void QueueTableModel::refresh(PrintQueue& queue, int priRows, const std::string& managerText)
{
    beginResetModel();
    m_labels.clear();
    dbase::Table& q = queue.QXPQTable();
    if (q.isOpen()) {
        const dbase::Bookmark keep = q.bookmark();
        try {
            for (q.first(); !q.eof(); q.next()) {
                Label l;
                l.mark = q.bookmark();
                l.call = QString::fromStdString(q.text("HISCALL"));
                l.count = QString::fromStdString(q.text("NUMQSOS"));
                l.manager =
                    QString::fromStdString(managerLabelText(q.text("MANAGER"), managerText));
                l.myCall = QString::fromStdString(q.text("MYCALL"));
                l.hint =
                    QString::fromStdString(queue.QXPQDataSourceDataChange(priRows, managerText))
                        .replace('\r', '\n');
                m_labels.push_back(std::move(l));
            }
        } catch (const dbase::Error&) {
            // a queue that cannot be read shows what was read
        }
        if (keep.isValid())
            q.gotoBookmark(keep);
    }
    endResetModel();
}

dbase::Bookmark QueueTableModel::bookmarkAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_labels[static_cast<size_t>(row)].mark
                                        : dbase::Bookmark{};
}

int QueueTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_labels.size());
}

int QueueTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QueueTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Label& l = m_labels[static_cast<size_t>(index.row())];
    if (role == Qt::ToolTipRole)
        return l.hint;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case CallColumn:
    case SwlCallColumn:
        return l.call;
    case CountColumn:
        return l.count;
    case ManagerColumn:
        return l.manager;
    default:
        return l.myCall;
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
