#pragma once
// The main window: a multiple-document frame holding the log windows, the print queue
// window, the search and manager toolbars and the status bar. Every command is an
// action; SetActions computes which are enabled. Its commands call the data module and
// the same store and label operations qx7cli calls.

#include "labels/LabelLayout.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace qx7 {

class BatchInputWindow;
class ManagerToolbar;
class PrintQueueWindow;
struct PrintOptions;
class SearchToolbar;
class SwlWindow;
class TMDIChild;
class TQXDM;
class TQXQsoEditForm;

class TQXForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TQXForm(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXForm() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    TQXDM& dataModule() const { return m_dm; }
    QMenu* menu(const QString& objectName) const;
    QAction* action(const char* objectName) const;
    SearchToolbar* searchToolbar() const { return m_search; }
    ManagerToolbar* managerToolbar() const { return m_managerBar; }
    PrintQueueWindow* queueWindow() const { return m_queueWindow; }
    QLabel* statusPanel(int number) const; // 1 sort .. 6 activity
    // A second start of the program asked to see this window.
    void bringToFront();

    // The file dialogs; tests answer them with a function of (caption, folder, filter, save).
    using FileChooser =
        std::function<QString(const QString&, const QString&, const QString&, bool)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // The printer labels go to ("PDF file" asks for a file when printing).
    void setPrinterName(const std::string& name) { m_printer = name; }
    const std::string& printerName() const { return m_printer; }
    // The configuration dialog lives in a layer above the windows; the program hands
    // the main window a way to open it.
    void setConfigurationOpener(std::function<void()> open)
    {
        m_openConfiguration = std::move(open);
    }
    // The SWL window while SWL mode is on, else nullptr.
    SwlWindow* swlWindow() const;
    // The batch input tool window while it is shown, else nullptr.
    BatchInputWindow* batchWindow() const;
    // 0 check the requests against the active log, 1 run them, 2 the current request only,
    // 3 the log QSO nearest to the current claimed QSO instead of that claim.
    void batchInputCommand(int command);
    // The batch input dialog and tool window as PNGs in `folder`.
    bool saveBatchScreenshots(const QString& folder);

    std::vector<TMDIChild*> logWindows() const; // in creation order
    TMDIChild* activeLogWindow() const;
    // Opens the pending logs of the data module as log windows.
    void OpenPendingLogs();
    void LogSearchChange();
    void SetActions();
    void ShowQueueStatus();
    // The work of the first activation after the start sequence: with no log yet, the
    // offer to make the sample log (see firstActivation() in StatusPanels.cpp).
    void FormActivate();
    // Focus back to the search input the user was last in (when a log window is open
    // and the search toolbar shows it).
    void ReturnToSearchField();
    // The print-time QSL flags (written into QSOs placed in the queue): 101..106 sent
    // Y, B, D, N, I, no change; 111..116 received likewise.
    void setPrintFlag(int tag);
    // A click on the QSL sent or received status panel: the next flag of the cycle.
    void cyclePrintFlag(bool sent);
    bool layoutLoaded() const { return m_layoutLoaded; }

    // Commands (also reached through the actions).
    void fillRun(bool allLogs, bool confirmed = false);
    void putSelectedIntoQueue();
    void printLabels();
    // Label print options (F12) and the preview of the run (Ctrl+R).
    void showPrintOptions();
    void previewLabels();
    // The label designer (Ctrl+D) with the current layout.
    void openDesigner();
    // Pictures of the designer, the print options and the preview for the documentation.
    bool screenshotPrintWindows(const QString& folder);
    void deleteQueueEntries();
    void showQueueInformation();
    void ToggleIndex(bool forward);
    void wipeSearchFields();
    void toggleSwlMode();
    // The Tools Wizard, with the open logs as its inputs.
    void openToolsWizard();
    // QSO editing and QSL status (ui/edit/EditActions.cpp).
    void toggleQsoMark();
    void removeAllMarks();
    void cycleQslFlag(bool sent);
    void chooseQslDates();
    void fillLogManagers();
    void showEditWindow(bool on);
    TQXQsoEditForm* editWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::function<void()> m_openConfiguration;
    QPointer<SwlWindow> m_swlWindow;
    QPointer<TQXQsoEditForm> m_editForm;
    void openManagerWindow();
    void showSwlWindow(bool on);
    QPointer<BatchInputWindow> m_batchWindow;
    void openBatchMaintenance();
    void showBatchWindow(bool on);
    void prepareBatchInput(TMDIChild& w);
    // Built in MainActions.cpp.
    void createActions();
    void connectActions(); // ActionHandlers.cpp
    void buildMenus();
    void buildToolbars();
    void buildStatusBar();
    void updateActionStates();
    // Docks and panels.
    void resetDocks();
    void refreshQueueWindow();
    void activeLogChanged();
    void ShowManagerOfCurrentQSO();
    void fillWindow(TMDIChild& w, int selection);
    bool ConfirmPrintAll();
    void afterFill();
    void setActivity(const QString& text);
    void loadLayout(const std::string& file);
    // Where the layout's relative picture names are found.
    std::string layoutFolder() const;
    void chooseLayout();
    void choosePrinter();
    void printLabelsWith(const PrintOptions* options);
    void openLogByDialog(); // LogFileActions.cpp, with the other log file commands
    void newLog();
    // The new-log dialog, started on the ADIF file `adif` (may be empty); the log it
    // makes is opened. False when no log was made.
    bool makeAndOpenLog(const QString& adif);
    void showStatistics();
    void editFooterLines();
    void setupLogGrids();
    void deleteActiveLog();
    void emptyQueue();
    void setQslFilter(int tag);
    void setMarkedOnly(bool on);
    void buildPrintFlagMenus(); // StatusPanels.cpp
    void showPrintFlags();
    void statusPanelClicked(int number);
    void offerSampleLog();
    void addLogWindowActions(TMDIChild& w);
    void buildQueuePopup();
    void openHomepage();
    void tileLogWindows(bool sideBySide);
    void moveInQueue(int rows); // INT_MIN first entry, INT_MAX last
    void restorePlacement();
    void savePlacement();
    QString chooseFile(const QString& caption, const QString& folder, const QString& filter,
                       bool save);

    TQXDM& m_dm;
    QMdiArea* m_mdi;
    SearchToolbar* m_search = nullptr;
    ManagerToolbar* m_managerBar = nullptr;
    QToolBar* m_mainBar = nullptr;
    PrintQueueWindow* m_queueWindow = nullptr;
    std::vector<QLabel*> m_panels;
    QTimer m_queueTimer;
    FileChooser m_chooseFile;
    std::string m_printer;
    LabelLayout m_layout;
    std::string m_layoutPath;
    bool m_layoutLoaded = false;
    bool m_shutDownChecked = false;
    bool m_wiping = false;
    bool m_searching = false;
    bool m_filling = false;
    char m_qslsFilter = ' ';
    char m_qslrFilter = ' ';
    int m_openLogViewStyle = 3; // the open-log list's view, kept while the program runs
};

} // namespace qx7
