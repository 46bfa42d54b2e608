#pragma once
// A log window: one log's QSO table in a grid, in call, date or manager order, with
// the log's own call and footer lines. The main window's search positions, ranges and
// filters it; the fill runs read its table, selection and current record.

#include "dbase/Table.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QLabel;
class QTableView;
class QToolBar;

namespace qx7 {

class LogTableModel;
class TQXDM;

class TMDIChild : public QMainWindow
{
    Q_OBJECT
public:
    // Opens the log named `logName` in the log folder, in the index order of the search.
    // An open that fails leaves the window empty: see openFailed().
    TMDIChild(TQXDM& dm, const std::string& logName, QWidget* parent = nullptr);
    ~TMDIChild() override;

    const QString& logName() const { return m_name; }
    bool openFailed() const { return !m_error.empty(); }
    const std::string& openError() const { return m_error; }
    dbase::Table& table() { return m_table; }
    const std::string& OwnCall() const { return m_ownCall; }
    const std::vector<std::string>& LogFooterLines() const { return m_footerLines; }
    void setLogFooterLines(std::vector<std::string> lines) { m_footerLines = std::move(lines); }
    QTableView* grid() const { return m_grid; }
    LogTableModel* model() const { return m_model; }

    // After the search changed the table's index, range or filter: the rows again, and
    // the grid on the table's current record.
    void showSearchResult(bool filtered);
    // After records changed (a scan wrote QSL flags): the values again.
    void refreshRows();
    void ApplyIndex(int indexNumber);
    // The column layout chosen in the grid setup ("LogGridSetup") from the user folder,
    // the shipped columns when its file is missing or damaged, then the grid options.
    void LoadGridSetup();

    std::vector<dbase::Bookmark> selectedRows() const;
    bool hasSelection() const;
    void Unselect();
    void SelectCall(); // the run of rows with the current call
    // Navigation: First, Prior, Next, Last, and pages of 10 rows.
    void moveTo(int row);
    void moveBy(int rows);
    void First() { moveTo(0); }
    void Last();
    int currentRow() const;
    // The current record's values (CALL, DATE, TIME, QMGR ...).
    std::string currentText(const char* field) const;
    // Writes QMGR of the selected rows, or of the current record.
    void SetManagerOfSelection(const std::string& manager);
    void setGridEnabled(bool on);
    // The status toolbar: the own call, the selection count, then these actions (nullptr
    // for a separator). It docks on the side "MDIDock" names and can be moved to another.
    void setStatusActions(const std::vector<QAction*>& actions);
    QToolBar* statusToolbar() const { return m_statusBar; }
    // The side the status toolbar is docked on: 0 top, 1 bottom, 2 left, 3 right.
    int statusToolbarSide() const;

protected:
    // Remembers the status toolbar's side for the next log window.
    void closeEvent(QCloseEvent* event) override;
    // Drops of a manager on the grid.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void selectionCountChanged(int count);
    void currentRecordChanged();
    // The status toolbar was docked on another side (0 top, 1 bottom, 2 left, 3 right).
    void statusToolbarDocked(int side);
    // The user cleared the selection (Esc or a click on the selection panel).
    void unselected();

private:
    void open(const std::string& logName);
    void buildWidgets();
    void SelectCount();
    void syncCurrentRecord();
    void dropManager(const std::string& manager, int row);
    void statusToolbarMoved();

    TQXDM& m_dm;
    QString m_name;
    std::string m_error;
    dbase::Table m_table;
    std::string m_ownCall;
    std::vector<std::string> m_footerLines;
    LogTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_callPanel = nullptr;
    QLabel* m_selectPanel = nullptr;
    QLabel* m_countPanel = nullptr;
    QToolBar* m_statusBar = nullptr;
    QAction* m_countSeparator = nullptr;
    int m_side = 0;
    bool m_syncing = false;
};

} // namespace qx7
