// The print queue grid's popup menu: moving through the queue, deleting and selecting
// entries, and the order the queue is shown (and printed) in.

#include "datamodule/TQXDM.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/TQXForm.h"

#include <QActionGroup>
#include <QMenu>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace qx7 {

void TQXForm::buildQueuePopup()
{
    QTableView* grid = m_queueWindow->grid();
    auto* popup = new QMenu(grid);
    popup->setObjectName("QueuePopupMenu");
    QMenu* nav = popup->addMenu(tr("&Navigation"));
    nav->setObjectName("QueueNavigationMenu");
    const std::pair<const char*, int> moves[] = {
        {"QXPQFirstAction", INT_MIN}, {"QXPQPreviousPageAction", -10}, {"QXPQPreviousAction", -1},
        {"QXPQNextAction", 1},        {"QXPQNextPageAction", 10},      {"QXPQLastAction", INT_MAX}};
    for (const auto& [name, rows] : moves) {
        nav->addAction(action(name));
        connect(action(name), &QAction::triggered, this,
                [this, rows = rows] { moveInQueue(rows); });
    }
    popup->addSeparator();
    for (const char* name : {"QXPQDeleteAction", "QXPQSelectAllAction", "QXPQClearAction"})
        popup->addAction(action(name));
    popup->addSeparator();
    QMenu* order = popup->addMenu(tr("Print queue &sort order"));
    order->setObjectName("QueueOrderMenu");
    auto* group = new QActionGroup(order);
    QAction* alphabetical = order->addAction(tr("&Alphabetical (bureau sorting)"));
    QAction* fifo = order->addAction(tr("&First in, first out (direct handling)"));
    alphabetical->setObjectName("QueueOrderAlphabetical");
    fifo->setObjectName("QueueOrderFifo");
    for (QAction* a : {alphabetical, fifo}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    connect(order, &QMenu::aboutToShow, this, [this, alphabetical, fifo] {
        alphabetical->setChecked(m_dm.IndexOnQXPQ == 1);
        fifo->setChecked(m_dm.IndexOnQXPQ == 0);
    });
    const auto choose = [this](int value) {
        try {
            m_dm.setIndexOnQXPQ(value);
        } catch (const dbase::Error& e) {
            m_dm.prompter().ask(PromptIcon::Error, e.what(), PromptButton::Ok);
        }
        refreshQueueWindow();
    };
    connect(alphabetical, &QAction::triggered, this, [choose] { choose(1); });
    connect(fifo, &QAction::triggered, this, [choose] { choose(0); });

    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [grid, popup](const QPoint& at) { popup->popup(grid->viewport()->mapToGlobal(at)); });
}

void TQXForm::moveInQueue(int rows)
{
    QTableView* grid = m_queueWindow->grid();
    const int count = grid->model()->rowCount();
    if (count == 0)
        return;
    const int now = std::max(0, grid->currentIndex().row());
    const int to = rows == INT_MIN   ? 0
                   : rows == INT_MAX ? count - 1
                                     : std::clamp(now + rows, 0, count - 1);
    const QModelIndex target = grid->model()->index(to, 0);
    grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    grid->scrollTo(target);
}

} // namespace qx7
