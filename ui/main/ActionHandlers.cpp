// What each action of the main window does: the wiring from actions to commands.

#include "core/IniFile.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"
#include "dbase/Table.h"
#include "store/LogTable.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/AboutBox.h"
#include "ui/main/ManagerToolbar.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"
#include "ui/manager/TQXManagerDlg.h"
#include "ui/swl/SwlWindow.h"
#include "ui/wizard/TQXSaveADIFForm.h"
#include "ui/wizard/TQXToolsForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>
#include <QToolBar>
#include <QUrl>

namespace qx7 {

SwlWindow* TQXForm::swlWindow() const
{
    return m_swlWindow.data();
}

void TQXForm::openManagerWindow()
{
    QString call;
    if (TMDIChild* w = activeLogWindow()) {
        try {
            call = QString::fromStdString(w->table().text("CALL"));
        } catch (const dbase::Error&) { // an empty log has no current QSO
        }
    }
    TQXManagerDlg::exec(m_dm, this, call.trimmed());
    ShowManagerOfCurrentQSO();
}

void TQXForm::showSwlWindow(bool on)
{
    if (!on) {
        if (m_swlWindow) {
            m_swlWindow->disconnect(this);
            m_swlWindow->close();
            m_swlWindow->deleteLater();
        }
        return;
    }
    if (m_swlWindow)
        return;
    m_swlWindow = new SwlWindow(m_dm, this);
    connect(m_swlWindow, &SwlWindow::printQueueChanged, this, [this] { refreshQueueWindow(); });
    connect(m_swlWindow, &SwlWindow::closed, this, [this] {
        if (QAction* a = action("SWLAction"); a->isChecked()) {
            a->setChecked(false);
            toggleSwlMode();
        }
    });
    m_swlWindow->show();
}

void TQXForm::openToolsWizard()
{
    auto* wizard = new TQXToolsForm(m_dm, this);
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    wizard->setModal(true);
    if (m_chooseFile)
        wizard->setFileChooser([this](const QString& caption, const QString& folder,
                                      const QString& filter, bool save) {
            const QString file = m_chooseFile(caption, folder, filter, save);
            return file.isEmpty() ? QStringList() : QStringList{file};
        });
    wizard->setOpenLogCheck([this](const std::string& name) {
        for (TMDIChild* w : logWindows())
            if (equalsIgnoreCase(w->logName().toStdString(), name))
                return true;
        return false;
    });
    std::vector<std::string> open;
    for (TMDIChild* w : logWindows())
        open.push_back(logPaths(m_dm.QXLogPath, w->logName().toStdString()).descriptor);
    wizard->show();
    wizard->addOpenLogs(open);
}

void TQXForm::openHomepage()
{
    // The web page is a setting: qx7.ini, section "Help", key "Homepage".
    const std::string url = IniFile(m_dm.iniPath()).readString("Help", "Homepage", "");
    if (url.empty()) {
        m_dm.prompter().ask(PromptIcon::Information,
                            "No homepage address is set (qx7.ini, section \"Help\", key "
                            "\"Homepage\").",
                            PromptButton::Ok);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void TQXForm::tileLogWindows(bool sideBySide)
{
    // Horizontally: one above the other, full width; vertically: side by side.
    std::vector<QMdiSubWindow*> shown;
    for (QMdiSubWindow* s : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (s->isVisible() && !s->isMinimized())
            shown.push_back(s);
    if (shown.empty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = static_cast<int>(shown.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* s = shown[static_cast<size_t>(i)];
        if (s->isMaximized())
            s->showNormal();
        if (sideBySide) {
            const int left = area.width() * i / n;
            s->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        } else {
            const int top = area.height() * i / n;
            s->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        }
    }
}

void TQXForm::connectActions()
{
    const auto on = [this](const char* name, auto slot) {
        connect(action(name), &QAction::triggered, this, slot);
    };
    on("ExitAction", [this] { close(); });
    on("OpenLogAction", [this] { openLogByDialog(); });
    on("NewLogAction", [this] { newLog(); });
    on("StatisticsAction", [this] { showStatistics(); });
    on("FooterLinesAction", [this] { editFooterLines(); });
    on("LogGridSetupAction", [this] { setupLogGrids(); });
    on("DeleteLogAction", [this] { deleteActiveLog(); });
    on("CloseLogAction", [this] {
        if (QMdiSubWindow* s = m_mdi->currentSubWindow())
            s->close();
    });
    on("F2Action", [this] { fillRun(false); });
    on("F3Action", [this] { fillRun(true); });
    on("ShiftF2Action", [this] {
        if (!ConfirmPrintAll())
            return;
        fillRun(false, true);
        if (!m_dm.PrintAborted)
            printLabels();
        m_dm.PrintAborted = false;
    });
    on("ShiftF3Action", [this] {
        if (!ConfirmPrintAll())
            return;
        fillRun(true, true);
        if (!m_dm.PrintAborted)
            printLabels();
        m_dm.PrintAborted = false;
    });
    on("PrintAction", [this] { printLabels(); });
    on("F12Action", [this] { showPrintOptions(); });
    on("PreviewAction", [this] { previewLabels(); });
    on("LabelDesignerWindowAction", [this] { openDesigner(); });
    on("PrinterSetupAction", [this] { choosePrinter(); });
    on("LoadLayoutAction", [this] { chooseLayout(); });
    on("PrintQueueAction", [this] { showQueueInformation(); });
    on("EmptyPQAction", [this] { emptyQueue(); });
    on("F5Action", [this] {
        ToggleIndex(true);
        LogSearchChange();
    });
    on("ShiftF5Action", [this] {
        ToggleIndex(false);
        LogSearchChange();
    });
    on("SWLAction", [this] { toggleSwlMode(); });
    on("ConfigAction", [this] {
        if (m_openConfiguration)
            m_openConfiguration();
    });
    on("ManagerWindowAction", [this] { openManagerWindow(); });
    on("BatchInputMaintenanceAction", [this] { openBatchMaintenance(); });
    on("BatchInputWindowAction", [this](bool shown) { showBatchWindow(shown); });
    on("ToolsWindowAction", [this] { openToolsWizard(); });
    on("SaveADIFAction", [this] {
        TQXSaveADIFForm dlg(m_dm, this);
        if (m_chooseFile)
            dlg.setFileChooser([this](const QString& c, const QString& f, const QString& filter) {
                return m_chooseFile(c, f, filter, true);
            });
        if (dlg.exec() == QDialog::Accepted) {
            refreshQueueWindow();
            SetActions();
        }
    });
    on("HelpAction1",
       [this] { HelpWindow::showTopic(QString::fromLatin1(help::kContents), this); });
    on("HelpAction2",
       [this] { HelpWindow::showTopic(QString::fromLatin1(help::kContents), this); });
    on("HelpAction3",
       [this] { HelpWindow::showTopic(QString::fromLatin1(help::kLogWindow), this); });
    on("HelpFindAction",
       [this] { HelpWindow::showTopic(QString::fromLatin1(help::kContents), this); });
    on("F7Action", [this](bool down) { setMarkedOnly(down); });
    on("F11Action", [this] { wipeSearchFields(); });
    on("DragIntoPrintQueueAction", [this] { putSelectedIntoQueue(); });
    on("QXPQDeleteAction", [this] { deleteQueueEntries(); });
    on("QXPQSelectAllAction", [this] { m_queueWindow->grid()->selectAll(); });
    on("QXPQClearAction", [this] { m_queueWindow->grid()->clearSelection(); });
    on("FillManagerAction", [this] {
        if (TMDIChild* w = activeLogWindow()) {
            const QString text = m_managerBar->managerEdit()->text();
            w->SetManagerOfSelection(text.isEmpty() ? "-" : text.toStdString());
            w->moveBy(1);
        }
    });
    on("MarkAction", [this] { toggleQsoMark(); });
    on("CtrlF7Action", [this] { removeAllMarks(); });
    on("F8Action", [this] { cycleQslFlag(true); });
    on("F9Action", [this] { cycleQslFlag(false); });
    on("QSLDateAction", [this] { chooseQslDates(); });
    on("FillLogManagerAction", [this] { fillLogManagers(); });
    on("F4Action", [this](bool down) { showEditWindow(down); });
    const auto onLog = [this, &on](const char* name, void (TMDIChild::*step)()) {
        on(name, [this, step] {
            if (TMDIChild* w = activeLogWindow())
                (w->*step)();
            ReturnToSearchField();
        });
    };
    onLog("FirstAction", &TMDIChild::First);
    onLog("LastAction", &TMDIChild::Last);
    onLog("SelectCallAction", &TMDIChild::SelectCall);
    onLog("UnselectAction", &TMDIChild::Unselect);
    const std::pair<const char*, int> steps[] = {{"PreviousAction", -1},
                                                 {"NextAction", 1},
                                                 {"PreviousPageAction", -10},
                                                 {"NextPageAction", 10}};
    for (const auto& [name, rows] : steps)
        on(name, [this, rows = rows] {
            if (TMDIChild* w = activeLogWindow())
                w->moveBy(rows);
            ReturnToSearchField();
        });
    on("NextLogAction", [this] { m_mdi->activateNextSubWindow(); });
    on("PreviousLogAction", [this] { m_mdi->activatePreviousSubWindow(); });
    on("CascadeAction", [this] { m_mdi->cascadeSubWindows(); });
    on("TileHorizontalAction", [this] { tileLogWindows(false); });
    on("TileVerticalAction", [this] { tileLogWindows(true); });
    on("MaximizeAction", [this] {
        for (QMdiSubWindow* s : m_mdi->subWindowList())
            s->showMaximized();
    });
    on("ResetDocksAction", [this] { resetDocks(); });
    on("ToolbarMainAction", [this](bool v) { m_mainBar->setVisible(v); });
    on("ToolbarSearchAction", [this](bool v) { m_search->setVisible(v); });
    on("ToolbarManagerAction", [this](bool v) { m_managerBar->setVisible(v); });
    on("StatusBarAction", [this](bool v) { statusBar()->setVisible(v); });
    on("F10Action", [this] {
        m_queueWindow->setVisible(!m_queueWindow->isVisible());
        updateActionStates();
    });
    on("AboutAction", [this] {
        TQXAboutBox about([this] { openHomepage(); }, this);
        about.exec();
    });
    on("HomepageAction", [this] { openHomepage(); });
    on("HelpChangesAction", [this] {
        // The list of changes beside the program, shown by the system's text viewer.
        const QString file =
            QDir(QString::fromStdString(m_dm.programFolder())).filePath("qxchanges.txt");
        if (!QFileInfo::exists(file)) {
            m_dm.prompter().ask(PromptIcon::Information,
                                "There is no changes file \"" + file.toStdString() + "\".",
                                PromptButton::Ok);
            return;
        }
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    });
    const std::pair<const char*, QWidget*> focus[] = {
        {"SearchForAction1", m_search->callFromEdit()},
        {"SearchForAction2", m_search->callToEdit()},
        {"SearchForAction3", m_search->bandBox()},
        {"SearchForAction4", m_search->modeBox()},
        {"SearchForAction5", m_search->dateFromPicker()},
        {"SearchForAction6", m_search->dateToPicker()},
        {"SearchForAction7", m_search->timeFromPicker()},
        {"SearchForAction8", m_search->timeToPicker()},
        {"SearchForAction9", m_search->managerEdit2()}};
    for (const auto& [name, widget] : focus)
        on(name, [widget = widget] { widget->setFocus(); });
}

} // namespace qx7
