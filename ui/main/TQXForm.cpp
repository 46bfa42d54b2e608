#include "ui/main/TQXForm.h"
#include "ui/swl/SwlWindow.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "labels/render/LayoutFindings.h"
#include "store/LogTable.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/ManagerToolbar.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/SearchToolbar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>

#include <sstream>

namespace qx7 {

namespace {

// The QSL filter actions of the search (QSLsYAction .. QSLrNoneAction), not the
// print-time flag actions (QSLsYMarkAction ..).
bool isSearchFilterAction(const QString& name)
{
    return (name.startsWith("QSLs") || name.startsWith("QSLr")) && name.endsWith("Action") &&
           !name.endsWith("MarkAction");
}

} // namespace

TQXForm::TQXForm(TQXDM& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm)
{
    setObjectName("QXForm");
    setWindowTitle(QStringLiteral("QX7 - QSL Labels"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("MDIArea");
    setCentralWidget(m_mdi);
    m_search = new SearchToolbar(m_dm.VisibleBands, m_dm.VisibleModes, this);
    m_managerBar = new ManagerToolbar(this);
    m_queueWindow = new PrintQueueWindow(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_queueWindow);
    resizeDocks({m_queueWindow}, {300}, Qt::Horizontal);
    createActions();
    buildToolbars();
    buildStatusBar();
    buildPrintFlagMenus();
    m_printer = m_dm.Printers.empty() ? std::string() : m_dm.Printers.front();
    m_dm.Search.IndexNumber = 0;

    connectActions();
    // The Windows menu ends with the list of open log windows.
    connect(menu("WindowsMenu"), &QMenu::aboutToShow, this, [this] {
        QMenu* windows = menu("WindowsMenu");
        for (QAction* a : windows->actions())
            if (a->property("logWindowEntry").toBool())
                windows->removeAction(a), a->deleteLater();
        const auto list = m_mdi->subWindowList(QMdiArea::CreationOrder);
        for (int i = 0; i < list.size(); ++i) {
            QMdiSubWindow* sub = list[i];
            QAction* a = windows->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
                sub->widget() ? sub->widget()->windowTitle() : QString()));
            a->setProperty("logWindowEntry", true);
            a->setCheckable(true);
            a->setChecked(sub == m_mdi->activeSubWindow());
            connect(a, &QAction::triggered, this, [this, sub] { m_mdi->setActiveSubWindow(sub); });
        }
    });
    connect(m_search, &SearchToolbar::searchChanged, this, &TQXForm::LogSearchChange);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { activeLogChanged(); });
    connect(m_queueWindow, &PrintQueueWindow::qsoRowsDropped, this, &TQXForm::putSelectedIntoQueue);
    connect(m_queueWindow, &QDockWidget::visibilityChanged, this,
            [this] { action("F10Action")->setChecked(m_queueWindow->isVisible()); });
    connect(m_managerBar, &ManagerToolbar::managerChosen, this, [this](const std::string& m) {
        if (TMDIChild* w = activeLogWindow())
            w->SetManagerOfSelection(m);
    });
    connect(m_managerBar, &ManagerToolbar::managerChanged, this,
            [this](const std::string& oldMgr, const std::string& newMgr) {
                TMDIChild* w = activeLogWindow();
                if (!w)
                    return;
                m_dm.managers().LearnManager(w->currentText("CALL"), newMgr, oldMgr);
                w->SetManagerOfSelection(newMgr);
            });
    m_queueTimer.setInterval(3000);
    connect(&m_queueTimer, &QTimer::timeout, this, [this] {
        ShowQueueStatus();
        refreshQueueWindow();
    });
    buildQueuePopup();
    qApp->installEventFilter(this);
    // Logs the user keeps open from start to start, after those of the command line.
    {
        IniFile ini(m_dm.iniPath());
        for (int i = 0; i < 32; ++i) {
            const std::string log = ini.readString("OpenLogs", std::to_string(i), "");
            if (!log.empty())
                m_dm.addPendingLog(log);
        }
    }
    restorePlacement();
    updateActionStates();
}

TQXForm::~TQXForm()
{
    qApp->removeEventFilter(this);
    m_mdi->disconnect(this);
    for (QMdiSubWindow* s : m_mdi->subWindowList())
        if (QWidget* w = s->widget())
            w->disconnect(this);
}

QMenu* TQXForm::menu(const QString& objectName) const
{
    return menuBar()->findChild<QMenu*>(objectName);
}

void TQXForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    OpenPendingLogs();
}

std::vector<TMDIChild*> TQXForm::logWindows() const
{
    std::vector<TMDIChild*> windows;
    for (QMdiSubWindow* s : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto* w = qobject_cast<TMDIChild*>(s->widget()))
            windows.push_back(w);
    return windows;
}

TMDIChild* TQXForm::activeLogWindow() const
{
    // The current one stays current while the focus is in a toolbar, the queue window
    // or a dialog: the log actions act on the log window the user last worked in.
    QMdiSubWindow* s = m_mdi->currentSubWindow();
    if (!s) {
        const auto list = m_mdi->subWindowList(QMdiArea::ActivationHistoryOrder);
        s = list.isEmpty() ? nullptr : list.back();
    }
    return s ? qobject_cast<TMDIChild*>(s->widget()) : nullptr;
}

void TQXForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shutDownChecked)
        return;
    m_shutDownChecked = true;
    // The queue is the program's working table: without it there is nothing to do.
    if (m_dm.ShutDown || !m_dm.OpenPrintQueue()) {
        m_dm.ShutDown = true;
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    m_dm.managers().OpenManagerDB();
    loadLayout(m_dm.LastQXD);
    refreshQueueWindow();
    OpenPendingLogs();
    SetActions();
    ReturnToSearchField();
}

void TQXForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Activation work runs after the event, outside the window system's handling.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shutDownChecked)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TQXForm::loadLayout(const std::string& file)
{
    std::string error;
    LabelLayout layout;
    const std::string path = m_dm.layoutPath(file);
    if (!m_dm.loadLayout(path, layout, &error)) {
        // A last layout that is gone is passed over; a damaged one is named with its fault.
        if (QFileInfo::exists(QString::fromStdString(path)))
            m_dm.prompter().ask(PromptIcon::Error, "Cannot load the label layout: " + error,
                                PromptButton::Ok);
        return;
    }
    m_layout = std::move(layout);
    m_layoutPath = path;
    m_layoutLoaded = true;
    m_dm.LabelDesignLoaded = true;
    // The layout check runs on every layout opened: silent when it passes.
    reportLayoutCheck(findLayoutProblems(m_layout, layoutFolder()), m_dm.prompter(), false);
}

std::string TQXForm::layoutFolder() const
{
    return QFileInfo(QString::fromStdString(m_layoutPath)).absolutePath().toStdString();
}

void TQXForm::OpenPendingLogs()
{
    if (m_dm.PendingLogs().empty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<std::string> pending = m_dm.PendingLogs();
    m_dm.clearPendingLogs();
    for (const std::string& entry : pending) {
        const QString name = QString::fromStdString(logBaseName(entry));
        bool open = false;
        for (QMdiSubWindow* s : m_mdi->subWindowList())
            if (auto* w = qobject_cast<TMDIChild*>(s->widget()); w && w->logName() == name) {
                m_mdi->setActiveSubWindow(s);
                open = true;
            }
        if (open)
            continue;
        auto* w = new TMDIChild(m_dm, entry);
        if (w->openFailed()) {
            // A log that cannot be opened is reported and leaves the other logs alone.
            QApplication::restoreOverrideCursor();
            m_dm.prompter().ask(PromptIcon::Error, w->openError(), PromptButton::Ok);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            delete w;
            continue;
        }
        QMdiSubWindow* s = m_mdi->addSubWindow(w);
        s->setWindowIcon(QIcon());
        connect(w, &TMDIChild::currentRecordChanged, this, [this, w] {
            if (w == activeLogWindow())
                ShowManagerOfCurrentQSO();
        });
        connect(w, &QObject::destroyed, this,
                [this] { QTimer::singleShot(0, this, [this] { updateActionStates(); }); });
        addLogWindowActions(*w);
        if (m_dm.Maximize)
            s->showMaximized();
        else
            s->show();
        w->First();
    }
    QApplication::restoreOverrideCursor();
    updateActionStates();
}

QString TQXForm::chooseFile(const QString& caption, const QString& folder, const QString& filter,
                            bool save)
{
    if (m_chooseFile)
        return m_chooseFile(caption, folder, filter, save);
    return save ? QFileDialog::getSaveFileName(this, caption, folder, filter)
                : QFileDialog::getOpenFileName(this, caption, folder, filter);
}

void TQXForm::activeLogChanged()
{
    if (m_dm.FormActivated != 0)
        m_dm.FormActivated = 10;
    showEditWindow(action("F4Action")->isChecked()); // rebinds to the new active log
    ShowManagerOfCurrentQSO();
    updateActionStates();
}

void TQXForm::ShowManagerOfCurrentQSO()
{
    TMDIChild* w = activeLogWindow();
    if (!w || !m_dm.UseManagerDB || m_dm.Printing || !m_dm.managers().isOpen())
        return;
    const std::string qmgr = w->currentText("QMGR");
    const ManagerLookUp r =
        m_dm.managers().LookUpManager(w->currentText("CALL"), qmgr, w->currentText("DATE"));
    m_managerBar->showManager(qmgr, r.manager, m_dm.managers().ManagerCandidates);
}

void TQXForm::LogSearchChange()
{
    const std::vector<TMDIChild*> windows = logWindows();
    if (windows.empty() || m_wiping || m_searching) {
        updateActionStates();
        return;
    }
    SearchInputs in = m_search->inputs();
    if (in.callFrom == "EMPTY") {
        m_dm.EmptyPrintQueue();
        m_search->clearCallFrom();
        refreshQueueWindow();
        SetActions();
        return;
    }
    m_searching = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool useManagers = m_dm.UseManagerDB;
    m_dm.UseManagerDB = false;
    std::vector<dbase::Table*> tables;
    for (TMDIChild* w : windows)
        if (w->table().isOpen())
            tables.push_back(&w->table());
    try {
        qx7::LogSearchChange(tables, in, m_dm.Search);
    } catch (const dbase::Error& e) {
        m_dm.prompter().ask(PromptIcon::Error, e.what(), PromptButton::Ok);
    }
    const bool pattern =
        in.indexNumber == 0 && in.callFrom.find_first_of("?*") != std::string::npos;
    const bool filtered = pattern || !in.band.empty() || !in.mode.empty() || in.markedOnly ||
                          in.qslsFilter != ' ' || in.qslrFilter != ' ';
    for (TMDIChild* w : windows)
        w->showSearchResult(filtered);
    m_dm.UseManagerDB = useManagers;
    ShowManagerOfCurrentQSO();
    QApplication::restoreOverrideCursor();
    m_searching = false;
    updateActionStates();
}

void TQXForm::ToggleIndex(bool forward)
{
    TMDIChild* active = activeLogWindow();
    if (!active)
        return;
    const int next = (m_dm.Search.IndexNumber + (forward ? 1 : 2)) % 3;
    m_dm.Search.IndexNumber = next;
    static const char* const texts[] = {" Sort: Call", " Sort: Date", " Sort: Manager"};
    m_panels[0]->setText(tr(texts[next]));
    const std::string call = active->currentText("CALL");
    const std::string date = active->currentText("DATE");
    const std::string qmgr = active->currentText("QMGR");
    for (TMDIChild* w : logWindows())
        w->ApplyIndex(next);
    m_search->setIndexNumber(next);
    m_search->prefill(call, date, qmgr);
    m_search->SearchFieldEnter(next == 0 ? 1001 : next == 1 ? 1003 : 1010);
    updateActionStates();
    ReturnToSearchField();
}

void TQXForm::wipeSearchFields()
{
    m_wiping = true;
    m_search->wipe();
    m_qslsFilter = m_qslrFilter = ' ';
    for (QAction* a : findChildren<QAction*>())
        if (isSearchFilterAction(a->objectName()))
            a->setChecked(a->objectName().endsWith("NoneAction"));
    action("F7Action")->setChecked(false);
    m_dm.Search.ExactMatch = false;
    for (TMDIChild* w : logWindows()) {
        if (w->table().isOpen() && w->table().hasRange())
            w->table().cancelRange();
        w->Unselect();
    }
    m_wiping = false;
    (m_search->indexNumber() == 1   ? static_cast<QWidget*>(m_search->dateFromPicker())
     : m_search->indexNumber() == 2 ? static_cast<QWidget*>(m_search->managerEdit2())
                                    : static_cast<QWidget*>(m_search->callFromEdit()))
        ->setFocus();
    LogSearchChange();
}

void TQXForm::setQslFilter(int tag)
{
    const bool sent = tag < 10;
    static const char kChars[] = {' ', 'Y', 'N', 'B', 'D', 'I', '!'};
    const char c = kChars[tag % 10];
    (sent ? m_qslsFilter : m_qslrFilter) = c;
    for (QAction* a : findChildren<QAction*>()) {
        const QString n = a->objectName();
        if (isSearchFilterAction(n) && n.startsWith(sent ? "QSLs" : "QSLr"))
            a->setChecked(a->data().toInt() == tag);
    }
    m_search->setQslFilters(m_qslsFilter, m_qslrFilter);
    // The marked-only, sent and received buttons are one group: pressing one releases
    // the others. A released QSL button keeps its filter; marked-only ends with it.
    QToolButton* own = sent ? m_search->sentButton() : m_search->receivedButton();
    own->setChecked(c != ' ');
    if (c != ' ') {
        (sent ? m_search->receivedButton() : m_search->sentButton())->setChecked(false);
        if (action("F7Action")->isChecked()) {
            action("F7Action")->setChecked(false);
            m_search->setMarkedOnly(false);
        }
    }
    ReturnToSearchField();
}

void TQXForm::setMarkedOnly(bool on)
{
    m_search->setMarkedOnly(on);
    if (on) {
        m_search->sentButton()->setChecked(false);
        m_search->receivedButton()->setChecked(false);
    }
    ReturnToSearchField();
}

void TQXForm::toggleSwlMode()
{
    QAction* a = action("SWLAction");
    if (a->isChecked()) {
        if (m_dm.prompter().ask(PromptIcon::Confirmation, "Did you open a SWL QSL Label Design?",
                                PromptButton::Yes | PromptButton::No) != PromptButton::Yes) {
            a->setChecked(false);
            return;
        }
        const int n = m_dm.LabelsInQueue();
        if (n > 0 &&
            m_dm.prompter().ask(PromptIcon::Confirmation,
                                "There are still " + std::to_string(n) +
                                    " labels to print in the print queue.\r\n"
                                    "It is recommended to delete the print queue now!",
                                PromptButton::Yes | PromptButton::No) == PromptButton::Yes) {
            m_dm.EmptyPrintQueue();
            refreshQueueWindow();
        }
        m_dm.SWLMode = true;
        setActivity(tr(" SWL Mode"));
    } else {
        m_dm.SWLMode = false;
        setActivity(QString());
    }
    m_queueWindow->setSwlMode(m_dm.SWLMode);
    m_queueWindow->setAcceptDrops(!m_dm.SWLMode);
    showSwlWindow(m_dm.SWLMode);
    updateActionStates();
}

void TQXForm::emptyQueue()
{
    if (m_dm.prompter().ask(PromptIcon::Warning, "Are you sure to empty the label print queue?",
                            PromptButton::Yes | PromptButton::No | PromptButton::Cancel) !=
        PromptButton::Yes)
        return;
    m_dm.EmptyPrintQueue();
    refreshQueueWindow();
    SetActions();
    ReturnToSearchField();
}

void TQXForm::resetDocks()
{
    m_mainBar->show();
    addToolBar(Qt::TopToolBarArea, m_search);
    m_search->show();
    addToolBar(Qt::TopToolBarArea, m_managerBar);
    m_managerBar->show();
    m_queueWindow->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, m_queueWindow);
    m_queueWindow->show();
    updateActionStates();
}

void TQXForm::setActivity(const QString& text)
{
    m_panels[5]->setText(text);
}

bool TQXForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_managerBar->managerEdit())
            m_search->SearchFieldEnter(1009);
        else if (const int id = m_search->idOf(watched))
            m_search->SearchFieldEnter(id);
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (size_t i = 0; i + 1 < m_panels.size(); ++i)
            if (watched == m_panels[i] &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                statusPanelClicked(static_cast<int>(i) + 1);
                return true;
            }
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == m_managerBar->managerEdit() || m_search->idOf(watched) != 0)) {
        // Enter in a search input moves on to the next control, like Tab.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && isActiveWindow() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        // Escape stops a running fill, print or statistics run; otherwise it clears the
        // log window's selection. Either way the keyboard goes back to the search.
        if (m_dm.Printing) {
            m_dm.Terminated = -1;
            return true;
        }
        if (TMDIChild* w = activeLogWindow(); w && watched == w->grid()) {
            w->Unselect();
            ReturnToSearchField();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TQXForm::restorePlacement()
{
    // "flags showCmd minX minY maxX maxY left top right bottom", as Windows saves it.
    IniFile ini(m_dm.iniPath());
    std::istringstream in(ini.readString("QXForm", "WindowSize", ""));
    int v[10];
    for (int& x : v)
        if (!(in >> x))
            return;
    if (v[8] > v[6] && v[9] > v[7])
        setGeometry(v[6], v[7], v[8] - v[6], v[9] - v[7]);
    if (v[1] == 3)
        setWindowState(Qt::WindowMaximized);
    const QByteArray docks =
        QByteArray::fromBase64(QByteArray::fromStdString(ini.readString("QXForm", "Docks", "")));
    if (!docks.isEmpty())
        restoreState(docks);
}

void TQXForm::savePlacement()
{
    IniFile ini(m_dm.iniPath());
    const QRect r = normalGeometry();
    std::ostringstream out;
    out << "0 " << (isMaximized() ? 3 : 1) << " -1 -1 -1 -1 " << r.left() << ' ' << r.top() << ' '
        << r.right() + 1 << ' ' << r.bottom() + 1;
    ini.writeString("QXForm", "WindowSize", out.str());
    ini.writeString("QXForm", "Docks", saveState().toBase64().toStdString());
    ini.save();
}

void TQXForm::closeEvent(QCloseEvent* event)
{
    if (!m_dm.ShutDown) {
        // Log windows last first; their tables close with them.
        const auto windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            if (qobject_cast<TMDIChild*>((*it)->widget()))
                m_dm.Maximize = (*it)->isMaximized();
            (*it)->close();
        }
        savePlacement();
        m_dm.writeSettingsAtExit();
    }
    event->accept();
}

} // namespace qx7
