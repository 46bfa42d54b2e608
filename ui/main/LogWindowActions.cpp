// How the main window's actions reach the log windows: each window's popup and
// status toolbar, and where the keyboard goes back to after an action.

#include "datamodule/TQXDM.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/ManagerToolbar.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"

#include <QLineEdit>
#include <QStyle>
#include <QTableView>
#include <QTimer>

namespace qx7 {

void TQXForm::addLogWindowActions(TMDIChild& w)
{
    w.grid()->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const char* n :
         {"FirstAction", "PreviousAction", "NextAction", "LastAction", "SelectCallAction",
          "UnselectAction", "DragIntoPrintQueueAction", "F8Action", "F9Action", "StatisticsAction",
          "FooterLinesAction", "LogGridSetupAction", "DeleteLogAction"})
        w.grid()->addAction(action(n));
    // The window's status toolbar: moving through the log and what to do with its QSOs.
    std::vector<QAction*> bar;
    for (const char* n : {"FirstAction", "PreviousAction", "NextAction", "LastAction", "-",
                          "SelectCallAction", "UnselectAction", "DragIntoPrintQueueAction",
                          "FillManagerAction", "-", "StatisticsAction", "FooterLinesAction"})
        bar.push_back(*n == '-' ? nullptr : action(n));
    w.setStatusActions(bar);
    if (action("FirstAction")->icon().isNull()) {
        // Arrows for moving; short words for the rest (the menus keep the full captions).
        const std::pair<const char*, QStyle::StandardPixmap> arrows[] = {
            {"FirstAction", QStyle::SP_MediaSkipBackward},
            {"PreviousAction", QStyle::SP_ArrowUp},
            {"NextAction", QStyle::SP_ArrowDown},
            {"LastAction", QStyle::SP_MediaSkipForward}};
        for (const auto& [name, pixmap] : arrows)
            action(name)->setIcon(style()->standardIcon(pixmap));
        const std::pair<const char*, const char*> words[] = {
            {"SelectCallAction", "Call"},          {"UnselectAction", "Unselect"},
            {"DragIntoPrintQueueAction", "Queue"}, {"FillManagerAction", "Manager"},
            {"StatisticsAction", "Statistics"},    {"FooterLinesAction", "Footer"}};
        for (const auto& [name, word] : words)
            action(name)->setIconText(tr(word));
    }
    connect(&w, &TMDIChild::statusToolbarDocked, this, [this](int side) { m_dm.MDIDock = side; });
    connect(&w, &TMDIChild::unselected, this, [this] { ReturnToSearchField(); });
}

void TQXForm::ReturnToSearchField()
{
    if (!activeLogWindow() || !m_search->isVisible())
        return;
    const int id = m_search->SearchFieldId();
    QWidget* input = id == 1009 ? m_managerBar->managerEdit() : m_search->inputOf(id);
    const bool shown = id == 1009 ? m_managerBar->isVisible() : m_search->inputShown(id);
    if (!input || !shown || !input->isEnabled())
        return;
    if (input->isVisible())
        input->setFocus(Qt::OtherFocusReason);
    else // the toolbar shows the inputs of a new sort order when it is laid out
        QTimer::singleShot(0, input, [input] { input->setFocus(Qt::OtherFocusReason); });
}

} // namespace qx7
