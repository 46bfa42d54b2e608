// The main window's actions, menus, toolbars and status bar, and the one place that
// decides which actions are enabled, ticked and visible.

#include "datamodule/TQXDM.h"
#include "ui/batch/BatchInputWindow.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/ManagerToolbar.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace qx7 {

namespace {

struct ActionDef
{
    const char* menu; // object name of the menu, or "" for none
    const char* name;
    const char* caption;
    const char* shortcut;
};

// Menu order as the user sees it; "-" is a separator, "Later" actions stay disabled
// until their window exists.
const ActionDef kActions[] = {
    {"FileMenu", "NewLogAction", "&New Log... (only ADIF import)", "Ctrl+Shift+N"},
    {"FileMenu", "OpenLogAction", "&Open Log...", "Ctrl+O"},
    {"FileMenu", "CloseLogAction", "&Close Log", "Ctrl+F4"},
    {"FileMenu", "-", "", ""},
    {"FileMenu", "F2Action", "&Fill Print Queue with QSOs of active log", "F2"},
    {"FileMenu", "ShiftF2Action", "F2 plus 'Print Labels'", "Shift+F2"},
    {"FileMenu", "F3Action", "&Fill Print Queue with QSOs of all open logs", "F3"},
    {"FileMenu", "ShiftF3Action", "F3 plus 'Print Labels'", "Shift+F3"},
    {"FileMenu", "-", "", ""},
    {"FileMenu", "SaveADIFAction", "&Export Print Queue to ADIF File...", "Ctrl+S"},
    {"FileMenu", "F12Action", "Label print op&tions...", "F12"},
    {"FileMenu", "PreviewAction", "Print P&review of labels", "Ctrl+R"},
    {"FileMenu", "PrintAction", "&Print Labels", "Ctrl+P"},
    {"FileMenu", "PrinterSetupAction", "Printer Set&up", ""},
    {"FileMenu", "LoadLayoutAction", "&Load Label Layout...", "Ctrl+L"},
    {"FileMenu", "-", "", ""},
    {"FileMenu", "ExitAction", "E&xit", "Alt+X"},
    {"OptionsMenu", "ConfigAction", "Confi&guration", "Ctrl+G"},
    {"OptionsMenu", "PrintQueueAction", "Print &Queue status", "Ctrl+Q"},
    {"OptionsMenu", "EmptyPQAction", "&Empty Print Queue", "Ctrl+E"},
    {"OptionsMenu", "F5Action", "Toggle log display &index", "F5"},
    {"OptionsMenu", "QSLDateAction", "Set QS&L sent/rcvd Date...", "Ctrl+Shift+D"},
    {"OptionsMenu", "SWLAction", "&Answer SWL QSL's", "Ctrl+Shift+A"},
    {"", "ShiftF5Action", "Toggle log display index &backward", "Shift+F5"},
    {"SearchMenu", "SearchForAction1", "&Call", "Alt+C"},
    {"SearchMenu", "SearchForAction2", "to Call (for &range search)", "Alt+R"},
    {"SearchMenu", "SearchForAction3", "&Band", "Alt+B"},
    {"SearchMenu", "SearchForAction4", "&Mode", "Alt+M"},
    {"SearchMenu", "SearchForAction5", "&Date", "Alt+D"},
    {"SearchMenu", "SearchForAction6", "to Dat&e (for range search)", "Alt+E"},
    {"SearchMenu", "SearchForAction7", "&Time", "Alt+T"},
    {"SearchMenu", "SearchForAction8", "to T&ime (for range search)", "Alt+I"},
    {"SearchMenu", "SearchForAction9", "Mana&ger", "Alt+G"},
    {"SearchMenu", "-", "", ""},
    {"SearchMenu", "F7Action", "Filter ma&rked QSO's", "F7"},
    {"SearchMenu", "F11Action", "&Wipe search fields", "F11"},
    {"LogMenu", "FirstAction", "&First record", "Ctrl+Home"},
    {"LogMenu", "PreviousPageAction", "P&revious page", "PgUp"},
    {"LogMenu", "PreviousAction", "&Previous record", "Ctrl+Up"},
    {"LogMenu", "NextAction", "&Next record", "Ctrl+Down"},
    {"LogMenu", "NextPageAction", "N&ext page", "PgDown"},
    {"LogMenu", "LastAction", "&Last record", "Ctrl+End"},
    {"LogMenu", "-", "", ""},
    {"LogMenu", "SelectCallAction", "Select &all QSO's of this call", "Ctrl+A"},
    {"LogMenu", "UnselectAction", "Unselect", ""},
    {"LogMenu", "DragIntoPrintQueueAction", "Fill print &queue with selected QSO(s)", "Ctrl+Left"},
    {"LogMenu", "-", "", ""},
    {"LogMenu", "MarkAction", "&Mark QSO", "Alt+F7"},
    {"LogMenu", "CtrlF7Action", "Remove all &QSO marks", "Ctrl+F7"},
    {"LogMenu", "FillManagerAction", "&Fill QSO record(s) with QSL Manager", "Ctrl+F"},
    {"LogMenu", "FillLogManagerAction", "&Fill entire log &with QSL Managers", ""},
    {"LogMenu", "F8Action", "Toggle QSL sen&t flag", "F8"},
    {"LogMenu", "F9Action", "Toggle QSL recei&ved flag", "F9"},
    {"LogMenu", "-", "", ""},
    {"LogMenu", "StatisticsAction", "Log &statistics...", "Ctrl+Shift+S"},
    {"LogMenu", "FooterLinesAction", "&Footer lines...", "Ctrl+Shift+F1"},
    {"LogMenu", "LogGridSetupAction", "Log &Grid Setup...", "Ctrl+Shift+G"},
    {"WindowsMenu", "LabelDesignerWindowAction", "Label &Designer Window", "Ctrl+D"},
    {"WindowsMenu", "ToolsWindowAction", "&Tools (Import/Export)", "Ctrl+T"},
    {"WindowsMenu", "ManagerWindowAction", "QSL &Manager Maintenance", "Ctrl+M"},
    {"WindowsMenu", "BatchInputMaintenanceAction", "&Batch Input Maintenance", "Ctrl+B"},
    {"WindowsMenu", "-", "", ""},
    {"WindowsMenu", "ToolbarMainAction", "&Main Toolbar", ""},
    {"WindowsMenu", "ToolbarSearchAction", "&Search Toolbar", ""},
    {"WindowsMenu", "ToolbarManagerAction", "&Manager Toolbar", ""},
    {"WindowsMenu", "F4Action", "QSO &Edit Window", "F4"},
    {"WindowsMenu", "BatchInputWindowAction", "&Batch Input Window", "Ctrl+F10"},
    {"WindowsMenu", "F10Action", "&Print Queue Window", "F10"},
    {"WindowsMenu", "StatusBarAction", "&Status bar", ""},
    {"WindowsMenu", "-", "", ""},
    {"WindowsMenu", "NextLogAction", "&Next log window", "F6"},
    {"WindowsMenu", "PreviousLogAction", "&Previous log window", "Shift+F6"},
    {"WindowsMenu", "CascadeAction", "&Cascade log windows", "Ctrl+Shift+C"},
    {"WindowsMenu", "TileHorizontalAction", "Tile log windows &horizontally", "Ctrl+Shift+H"},
    {"WindowsMenu", "TileVerticalAction", "Tile log windows &vertically", "Ctrl+Shift+V"},
    {"WindowsMenu", "MaximizeAction", "&Maximize all log windows", "Ctrl+Shift+M"},
    {"WindowsMenu", "ResetDocksAction", "&Reset all dock positions", ""},
    {"HelpMenu", "HelpAction1", "&Help Contents", "F1"},
    {"HelpMenu", "HelpAction2", "Help on &QX", ""},
    {"HelpMenu", "HelpAction3", "Help on &log window", ""},
    {"HelpMenu", "HelpFindAction", "&Search Help", "Ctrl+F1"},
    {"HelpMenu", "-", "", ""},
    {"HelpMenu", "HelpChangesAction", "&View QX changes file", ""},
    {"HelpMenu", "HomepageAction", "&QX Homepage and Updates", ""},
    {"HelpMenu", "-", "", ""},
    {"HelpMenu", "AboutAction", "&About QX", ""},
    {"", "QXPQFirstAction", "Move to &first print queue entry", "Alt+Home"},
    {"", "QXPQPreviousPageAction", "Move 10 print queue entries &backward", "Alt+PgUp"},
    {"", "QXPQPreviousAction", "&Previous print queue entry", "Alt+Up"},
    {"", "QXPQNextAction", "&Next print queue entry", "Alt+Down"},
    {"", "QXPQNextPageAction", "&Move 10 print queue entries forward", "Alt+PgDown"},
    {"", "QXPQLastAction", "Move to &last print queue entry", "Alt+End"},
    {"", "QXPQDeleteAction", "&Delete print queue entry", "Alt+Del"},
    {"", "DeleteLogAction", "Delete Log", ""},
    {"", "QXPQSelectAllAction", "&Select all entries", "Ctrl+Alt+End"},
    {"", "QXPQClearAction", "&Clear selection", "Ctrl+Alt+Esc"},
};

} // namespace

QAction* TQXForm::action(const char* objectName) const
{
    return findChild<QAction*>(QString::fromLatin1(objectName), Qt::FindDirectChildrenOnly);
}

void TQXForm::createActions()
{
    const std::pair<const char*, const char*> menus[] = {
        {"FileMenu", "&File"}, {"OptionsMenu", "&Options"}, {"SearchMenu", "&Search"},
        {"LogMenu", "&Log"},   {"WindowsMenu", "&Windows"}, {"HelpMenu", "&Help"}};
    for (const auto& [name, title] : menus) {
        QMenu* m = menuBar()->addMenu(tr(title));
        m->setObjectName(QString::fromLatin1(name));
    }
    for (const ActionDef& d : kActions) {
        QMenu* m = *d.menu ? menu(QString::fromLatin1(d.menu)) : nullptr;
        if (QLatin1String(d.name) == QLatin1String("-")) {
            m->addSeparator();
            continue;
        }
        auto* a = new QAction(tr(d.caption), this);
        a->setObjectName(QString::fromLatin1(d.name));
        if (*d.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(d.shortcut)));
        if (m)
            m->addAction(a);
        addAction(a); // shortcuts work also for actions in no menu
    }
    // The QSL filter submenus of the search menu.
    QMenu* search = menu("SearchMenu");
    const struct
    {
        const char* title;
        const char* prefix;
        int base;
    } groups[] = {{"&Filter for \"QSL sent\" status...", "QSLs", 0},
                  {"Fi&lter for \"QSL received\" status...", "QSLr", 10}};
    const char* letters[] = {"Y", "N", "B", "D", "I"};
    const char* sentCaptions[] = {"QSL &sent", "QSL &not yet sent", "QSL sent via &bureau",
                                  "QSL sent &direct", "QSL sent via &Internet"};
    const char* rcvdCaptions[] = {"QSL &received", "QSL &not yet received",
                                  "QSL received via &bureau", "QSL received &direct",
                                  "QSL received via &Internet"};
    const char* sentKeys[] = {"Alt+0", "Alt+1", "Alt+2", "Alt+3", ""};
    const char* rcvdKeys[] = {"Alt+5", "Alt+6", "Alt+7", "Alt+8", ""};
    for (const auto& g : groups) {
        QMenu* sub = new QMenu(tr(g.title), search);
        sub->setObjectName(QStringLiteral("Menu%1Filter").arg(QLatin1String(g.prefix)));
        search->insertMenu(action("F7Action"), sub);
        const bool sent = g.base == 0;
        auto add = [&](const QString& name, const char* caption, const char* key, int tag) {
            auto* a = new QAction(tr(caption), this);
            a->setObjectName(name);
            a->setCheckable(true);
            a->setData(tag);
            if (*key)
                a->setShortcut(QKeySequence(QString::fromLatin1(key)));
            addAction(a);
            connect(a, &QAction::triggered, this, [this, tag] { setQslFilter(tag); });
            return a;
        };
        for (int i = 0; i < 5; ++i)
            sub->addAction(add(QLatin1String(g.prefix) + QLatin1String(letters[i]) + "Action",
                               sent ? sentCaptions[i] : rcvdCaptions[i],
                               sent ? sentKeys[i] : rcvdKeys[i], g.base + i + 1));
        QAction* never = add(QLatin1String(g.prefix) + "NeverAction",
                             sent ? "Will n&ever send QSL" : "Will n&ever receive QSL",
                             sent ? "Alt+4" : "Alt+9", g.base + 6);
        sub->addSeparator();
        QAction* none = add(QLatin1String(g.prefix) + "NoneAction", "No &filter", "", g.base);
        none->setChecked(true);
        // The toolbar's drop-down lists Y, N, D, B, I, Never and "No filter".
        auto* popup = new QMenu(this);
        popup->addSection(tr("Filter for:"));
        for (const char* l : {"Y", "N", "D", "B", "I"})
            popup->addAction(action(
                (QLatin1String(g.prefix) + QLatin1String(l) + "Action").toLatin1().constData()));
        popup->addAction(never);
        popup->addSeparator();
        popup->addAction(none);
        (sent ? m_search->sentButton() : m_search->receivedButton())->setMenu(popup);
    }
    action("F7Action")->setCheckable(true);
    action("SWLAction")->setCheckable(true);
    for (const char* name : {"ToolbarMainAction", "ToolbarSearchAction", "ToolbarManagerAction",
                             "F10Action", "StatusBarAction", "F4Action", "BatchInputWindowAction"})
        action(name)->setCheckable(true);
    action("F7Action")->setToolTip(tr("Filter all marked QSO's"));
    action("FooterLinesAction")->setToolTip(tr("Set/change log footer lines"));
    action("F11Action")->setToolTip(tr("Wipe all log search fields"));
}

void TQXForm::buildToolbars()
{
    m_mainBar = addToolBar(tr("Main Toolbar"));
    m_mainBar->setObjectName("MainToolbar");
    const char* groups[][6] = {
        {"NewLogAction", "OpenLogAction", nullptr},
        {"F12Action", "PreviewAction", "SaveADIFAction", "PrintAction", "PrinterSetupAction",
         nullptr},
        {"PrintQueueAction", "EmptyPQAction", nullptr},
        {"LoadLayoutAction", "LabelDesignerWindowAction", nullptr},
        {"CascadeAction", "TileHorizontalAction", "TileVerticalAction", nullptr},
        {"PreviousLogAction", "NextLogAction", nullptr}};
    const char* shortText[] = {"New",     "Open",   "Options", "Preview", "ADIF",     "Print",
                               "Printer", "Queue",  "Empty",   "Layout",  "Designer", "Cascade",
                               "Tile H",  "Tile V", "Prev",    "Next"};
    int k = 0;
    for (const auto& group : groups) {
        for (const char* const* n = group; *n; ++n) {
            QAction* a = action(*n);
            a->setIconText(QString::fromLatin1(shortText[k++])); // menus keep the caption
            m_mainBar->addAction(a);
        }
        m_mainBar->addSeparator();
    }
    addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, m_search);
    for (const char* n : {"F7Action", "CtrlF7Action", "F2Action", "F3Action", "F11Action"}) {
        action(n)->setIconText(QString::fromLatin1(n).remove("Action").replace("Ctrl", "Ctrl+"));
        m_search->addAction(action(n));
    }
    addToolBar(Qt::TopToolBarArea, m_managerBar);
}

void TQXForm::buildStatusBar()
{
    const struct
    {
        int width;
        const char* hint;
    } panels[] = {
        {80, "Click to toggle Log Display (sorted by Call or Date)"},
        {80, "Click to toggle the log mode (Edit/Readonly)"},
        {80, "Click to change QSL sent flag status"},
        {80, "Click to change QSL rcvd flag status"},
        {136, "Click to show Print Queue information"},
        {0, ""},
    };
    for (int i = 0; i < 6; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        l->setToolTip(tr(panels[i].hint));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (panels[i].width > 0)
            l->setMinimumWidth(panels[i].width);
        l->installEventFilter(this);
        statusBar()->addWidget(l, panels[i].width > 0 ? 0 : 1);
        m_panels.push_back(l);
    }
    m_panels[0]->setText(tr(" Sort: Call"));
    m_panels[1]->setText(tr(" Readonly"));
}

QLabel* TQXForm::statusPanel(int number) const
{
    return number >= 1 && number <= static_cast<int>(m_panels.size())
               ? m_panels[static_cast<size_t>(number - 1)]
               : nullptr;
}

void TQXForm::SetActions()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    updateActionStates();
    ShowQueueStatus();
}

void TQXForm::updateActionStates()
{
    const int n = static_cast<int>(logWindows().size());
    const bool S = m_search->isVisible() || (n > 0 && !isVisible());
    const bool P = m_dm.PrinterAvailable;
    const bool L = m_layoutLoaded;
    const int Q = m_dm.LabelsInQueue();
    const bool logs = m_dm.LogCount > 0;
    const auto set = [this](const char* name, bool on) {
        if (QAction* a = action(name))
            a->setEnabled(on);
    };
    set("OpenLogAction", logs);
    set("NewLogAction", true);
    for (const char* name : {"CloseLogAction",
                             "F5Action",
                             "ShiftF5Action",
                             "F7Action",
                             "F11Action",
                             "ToolbarSearchAction",
                             "ToolbarManagerAction",
                             "CascadeAction",
                             "TileVerticalAction",
                             "TileHorizontalAction",
                             "MaximizeAction",
                             "FirstAction",
                             "PreviousPageAction",
                             "PreviousAction",
                             "NextAction",
                             "NextPageAction",
                             "LastAction",
                             "SelectCallAction",
                             "UnselectAction",
                             "DragIntoPrintQueueAction",
                             "FillManagerAction",
                             "MarkAction",
                             "CtrlF7Action",
                             "FillLogManagerAction",
                             "F8Action",
                             "F9Action",
                             "F4Action",
                             "StatisticsAction",
                             "FooterLinesAction",
                             "LogGridSetupAction",
                             "DeleteLogAction"})
        set(name, n > 0);
    set("QSLDateAction", true);
    for (const char* m : {"SearchMenu", "LogMenu"})
        menu(QString::fromLatin1(m))->setEnabled(n > 0);
    set("F2Action", S && n > 0);
    set("ShiftF2Action", S && n > 0 && P);
    set("F3Action", S && n > 1);
    set("ShiftF3Action", S && n > 1 && P);
    set("SaveADIFAction", Q > 0);
    set("EmptyPQAction", Q > 0);
    set("F12Action", logs && P);
    set("LoadLayoutAction", P);
    set("PrintAction", P && L && Q > 0);
    set("PreviewAction", P && L && Q > 0);
    set("PrinterSetupAction", P && L);
    set("PrintQueueAction", P && L);
    set("LabelDesignerWindowAction", true);
    for (const char* name :
         {"ExitAction", "ConfigAction", "ToolsWindowAction", "BatchInputMaintenanceAction",
          "AboutAction", "ResetDocksAction", "ToolbarMainAction", "F10Action", "StatusBarAction"})
        set(name, true);
    set("SWLAction", logs && n > 0);
    set("BatchInputWindowAction", m_dm.UseBatchInput && n > 0);
    if (m_batchWindow && !(m_dm.UseBatchInput && n > 0))
        QMetaObject::invokeMethod(
            this, [this] { showBatchWindow(false); }, Qt::QueuedConnection);
    action("BatchInputWindowAction")
        ->setChecked(m_dm.UseBatchInput && n > 0 && m_batchWindow && m_batchWindow->isVisible());
    set("ConfigAction", static_cast<bool>(m_openConfiguration));
    for (const char* name : {"ManagerWindowAction", "HelpAction1", "HelpAction2", "HelpAction3",
                             "HelpFindAction", "HelpChangesAction", "HomepageAction"})
        set(name, true);
    const int index = m_search->indexNumber();
    set("SearchForAction1", S && n > 0 && index != 1);
    set("SearchForAction2", S && n > 0 && index != 1);
    set("SearchForAction3", S && n > 0);
    set("SearchForAction4", S && n > 0);
    for (const char* name :
         {"SearchForAction5", "SearchForAction6", "SearchForAction7", "SearchForAction8"})
        set(name, S && n > 0 && index == 1);
    set("SearchForAction9", S && n > 0 && index == 2);
    set("NextLogAction", n > 1);
    set("PreviousLogAction", n > 1);
    set("QXPQDeleteAction", Q > 0);
    set("QXPQSelectAllAction", Q > 0);
    set("QXPQClearAction", true);
    for (const char* name : {"QXPQFirstAction", "QXPQPreviousPageAction", "QXPQPreviousAction",
                             "QXPQNextAction", "QXPQNextPageAction", "QXPQLastAction"})
        set(name, Q > 0);

    action("ToolbarMainAction")->setChecked(m_mainBar->isVisible());
    action("ToolbarSearchAction")->setChecked(m_search->isVisible());
    action("ToolbarManagerAction")->setChecked(m_managerBar->isVisible());
    action("F10Action")->setChecked(m_queueWindow->isVisible());
    action("StatusBarAction")->setChecked(statusBar()->isVisible());
    if (isVisible()) {
        m_search->setVisible(n > 0);
        m_managerBar->setVisible(n > 0 && m_dm.UseManagerDB);
    }
    // Editing ends with the last log window.
    if (n == 0 && action("F4Action")->isChecked()) {
        action("F4Action")->setChecked(false);
        showEditWindow(false);
    }
}

} // namespace qx7
