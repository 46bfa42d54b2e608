#pragma once
// The log grid setup: which fields every log grid shows, in which order, under which
// titles, widths and alignments, with the grid options (titles, indicator, lines,
// background, date format) and three predefined layouts. A preview on the active log
// shows the result before OK gives it to every log window.

#include "store/LogGridSetup.h"
#include "ui/log/GridLayoutView.h"

#include <QDialog>

#include <map>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QTableView;
class QTabWidget;

namespace qx7 {

class LogTableModel;
class TMDIChild;
class TQXDM;

class TQXLogGridSetupForm : public QDialog
{
    Q_OBJECT
public:
    TQXLogGridSetupForm(TQXDM& dm, TMDIChild& log, QWidget* parent = nullptr);

    QTableView* preview() const { return m_preview; }
    QListWidget* fieldList() const { return m_list; }
    int predefinedChoice() const;
    void choosePredefined(int choice);
    // The layout and options OK would give the log windows.
    GridLayout layout() const;
    GridOptions options() const;

    void accept() override;

    // Runs the dialog on the active log window; true when the user confirmed.
    static bool exec(TQXDM& dm, TMDIChild& log, QWidget* parent);

private:
    void buildDisplayPage(QWidget* page);
    void buildColumnsPage(QWidget* page);
    void fillList(const GridLayout& layout);
    void showOptions(const GridOptions& options);
    void showCurrentColumn();
    void storeCurrentColumn();
    // After any change by the user: the preview again, and "User settings".
    void changed();
    void refreshPreview();
    void showToday();
    std::string userFile(int choice) const;

    TQXDM& m_dm;
    TMDIChild& m_log;
    LogTableModel* m_previewModel = nullptr;
    QTableView* m_preview = nullptr;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_predefined = nullptr;
    QCheckBox* m_titles = nullptr;
    QCheckBox* m_indicator = nullptr;
    QCheckBox* m_colLines = nullptr;
    QCheckBox* m_rowLines = nullptr;
    QComboBox* m_dateChoice = nullptr;
    QLineEdit* m_dateFormat = nullptr;
    QLabel* m_today = nullptr;
    QPushButton* m_colorButton = nullptr;
    QColor m_color;
    QListWidget* m_list = nullptr;
    QLineEdit* m_title = nullptr;
    QSpinBox* m_width = nullptr;
    QComboBox* m_titleAlign = nullptr;
    QComboBox* m_dataAlign = nullptr;
    std::map<std::string, GridColumn> m_columns; // by field, ticked or not
    std::string m_userDateFormat;
    bool m_loading = false;
};

} // namespace qx7
