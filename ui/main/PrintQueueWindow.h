#pragma once
// The print queue window: a grid over the queue table (call, manager, own call and the
// number of QSOs of every label) with the current label's QSOs as its hint. It accepts
// QSO rows dropped from a log grid and deletes the labels the user picks.

#include "dbase/Table.h"
#include "store/PrintQueueView.h"

#include <QAbstractTableModel>
#include <QDockWidget>

#include <list>
#include <memory>
#include <string>
#include <vector>

class QTableView;

namespace qx7 {

class PrintQueue;

// The labels of the queue in the order the window shows, read on demand a page at a
// time (store/PrintQueueView): a refresh only counts the labels and forgets the pages,
// so the view reads again just the rows it draws; a hint is read when it is shown.
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
    static constexpr int kPageRows = 64;

    explicit QueueTableModel(QObject* parent = nullptr);
    ~QueueTableModel() override;
    // Counts the labels again and drops the rows read. Labels added at the end (the
    // first in, first out order of a fill) are announced as new rows, so the view keeps
    // its selection and place; any other change of the count resets the view. False when
    // the queue cannot be read at the moment (a label is being written): nothing changed.
    bool refresh(PrintQueue& queue, int priRows, const std::string& managerText);
    dbase::Bookmark bookmarkAt(int row) const;
    // How many labels were read from the table since the model was made (for tests).
    long labelsRead() const { return m_labelsRead; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Page
    {
        int number = -1;
        std::vector<QueueLabelRow> rows;
    };
    const QueueLabelRow* row(int r) const;

    std::unique_ptr<PrintQueueView> m_view;
    PrintQueue* m_queue = nullptr;
    int m_rows = 0;
    int m_order = -1; // the queue order the rows were counted in
    int m_priRows = 6;
    std::string m_managerText;
    mutable std::list<Page> m_pages; // most recently used first
    mutable long m_labelsRead = 0;
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
