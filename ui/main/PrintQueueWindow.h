#pragma once
// The print queue window: a grid over the queue table (call, manager, own call and the
// number of QSOs of every label) with the current label's QSOs as its hint. It accepts
// QSO rows dropped from a log grid and deletes the labels the user picks.

#include "dbase/Table.h"

#include <QAbstractTableModel>
#include <QDockWidget>
#include <string>

#include <vector>

class QTableView;

namespace qx7 {

class PrintQueue;

// The labels of the queue in its current order. The queue holds at most some thousand
// labels, so one read of the few shown fields per refresh is cheap.
class QueueTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        CallColumn,
        SwlCallColumn,
        CountColumn,
        ManagerColumn,
        MyCallColumn,
        ColumnCount
    };
    explicit QueueTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void refresh(PrintQueue& queue, int priRows, const std::string& managerText);
    dbase::Bookmark bookmarkAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Label
    {
        dbase::Bookmark mark;
        QString call, count, manager, myCall, hint;
    };
    std::vector<Label> m_labels;
};

class PrintQueueWindow : public QDockWidget
{
    Q_OBJECT
public:
    explicit PrintQueueWindow(QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    QueueTableModel* model() const { return m_model; }
    void refresh(PrintQueue& queue, int priRows, const std::string& managerText);
    // In SWL mode the grid shows the listener's call instead of the station's.
    void setSwlMode(bool on);
    void setAcceptDrops(bool on) { m_acceptDrops = on; }
    // The labels to delete: the selected ones, else the current one.
    std::vector<dbase::Bookmark> labelsToDelete() const;

signals:
    // QSO rows of a log grid were dropped on the queue grid.
    void qsoRowsDropped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* m_grid;
    QueueTableModel* m_model;
    bool m_acceptDrops = true;
};

} // namespace qx7
