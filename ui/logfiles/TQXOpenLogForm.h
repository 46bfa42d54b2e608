#pragma once
// The "Open Log" dialog: the logs of the log folder with their call, QSO count and last
// change, in four view styles; the chosen logs become the data module's pending logs.
// Logs another program writes say "log in use"; damaged ones say so. A log can also be
// deleted from here.

#include "store/LogFiles.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListView;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTreeView;
class QActionGroup;

namespace qx7 {

class TQXDM;

class TQXOpenLogForm : public QDialog
{
    Q_OBJECT
public:
    // `viewStyle`: 0 large icons, 1 small icons, 2 list, 3 detail list.
    TQXOpenLogForm(TQXDM& dm, int viewStyle, QWidget* parent = nullptr);

    int viewStyle() const { return m_viewStyle; }
    void setViewStyle(int style);
    // Sorts by a column as a click on its title does (alternating per column).
    void sortByColumn(int column);
    QTreeView* detailView() const { return m_detail; }
    QStandardItemModel* model() const { return m_model; }
    // The shown rows, in list order.
    const std::vector<LogFileRow>& rows() const { return m_rows; }
    void reload();

    void accept() override;
    void reject() override;

private:
    void fillModel();
    void selectionChanged();
    void deleteSelected();
    std::vector<int> selectedRows() const;

    TQXDM& m_dm;
    std::vector<LogFileRow> m_rows;
    QStandardItemModel* m_model;
    QStackedWidget* m_views;
    QTreeView* m_detail;
    QListView* m_icons;
    QActionGroup* m_styles;
    QPushButton* m_open;
    QPushButton* m_delete;
    QLabel* m_status1;
    QLabel* m_status2;
    int m_viewStyle = 3;
    bool m_descending[4] = {true, true, false, true}; // the direction of the next click
};

} // namespace qx7
