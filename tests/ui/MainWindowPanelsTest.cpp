// The main window's clickable status panels and print-time flags, the filter button
// group, the log window's status toolbar, where the keyboard goes after an action, the
// offer of a sample log on a start without logs, and a large queue in the queue window.

#include "UiFixture.h"

#include "store/PrintQueue.h"
#include "ui/logfiles/TQXNewLogForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>

namespace qx7 {
namespace {

using namespace uitest;

void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
    QCoreApplication::processEvents();
}

TEST(MainWindowPanels, ClicksOnThePanelsSortEditCycleTheFlagsAndTellTheQueue)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("panels", {{"QA1ABC"}, {"QB2X"}});
    home.dm->QSLsFlag = "x"; // as an old settings file may hold it
    home.dm->QSLrFlag = "N";
    auto form = showForm(*home.dm, {"panels"});

    // Sort: as F5.
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Call"));
    click(form->statusPanel(1));
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral(" Sort: Date"));
    EXPECT_EQ(home.dm->Search.IndexNumber, 1);

    // Mode: as F4, on and off.
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral(" Readonly"));
    click(form->statusPanel(2));
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral(" Edit Mode"));
    EXPECT_TRUE(form->action("F4Action")->isChecked());
    click(form->statusPanel(2));
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral(" Readonly"));

    // QSL sent: "x" means no change; a click goes on to "N", "Y", ... and back to "-".
    EXPECT_EQ(form->statusPanel(3)->text(), QStringLiteral(" QSL sent: -"));
    EXPECT_TRUE(form->action("QSLsNoMarkAction")->isChecked());
    const char* const sentCycle[] = {"N", "Y", "B", "D", "I", "-"};
    for (const char* flag : sentCycle) {
        click(form->statusPanel(3));
        EXPECT_EQ(home.dm->QSLsFlag, flag);
        EXPECT_EQ(form->statusPanel(3)->text().toStdString(), std::string(" QSL sent: ") + flag);
    }
    click(form->statusPanel(3));
    EXPECT_TRUE(form->action("QSLsNMarkAction")->isChecked());
    EXPECT_FALSE(form->action("QSLsNoMarkAction")->isChecked());
    // Received: from "N" to "Y"; the sent group keeps its tick.
    click(form->statusPanel(4));
    EXPECT_EQ(home.dm->QSLrFlag, "Y");
    EXPECT_EQ(form->statusPanel(4)->text(), QStringLiteral(" QSL rcvd: Y"));
    EXPECT_TRUE(form->action("QSLrYMarkAction")->isChecked());
    EXPECT_TRUE(form->action("QSLsNMarkAction")->isChecked());

    // The menu actions set the same flags; "No changes" of one group leaves the other.
    form->action("QSLsBMarkAction")->trigger();
    EXPECT_EQ(home.dm->QSLsFlag, "B");
    EXPECT_EQ(form->statusPanel(3)->text(), QStringLiteral(" QSL sent: B"));
    form->action("QSLrNoMarkAction")->trigger();
    EXPECT_EQ(home.dm->QSLrFlag, "-");
    EXPECT_TRUE(form->action("QSLsBMarkAction")->isChecked());
    EXPECT_FALSE(form->action("QSLsNMarkAction")->isChecked());
    QMenu* sentMenu = form->menu("OptionsMenu")->findChild<QMenu*>("MenuQSLsMark");
    ASSERT_NE(sentMenu, nullptr);
    QStringList captions;
    for (QAction* a : sentMenu->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_EQ(captions,
              (QStringList{"When QSO is printed, set \"QSL sent flag\"...", "\"QSL &sent\"",
                           "\"QSL sent via &bureau\"", "\"QSL sent &direct\"",
                           "\"QSL sent via &Internet\"", "\"QSL &not sent\"", "No &changes"}));
    // The queue panel tells about the queue.
    prompter.shown.clear();
    click(form->statusPanel(5));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("There are 0 labels = ", 0), 0u)
        << prompter.shown[0].text;
}

TEST(MainWindowPanels, FilterButtonsPressOneAtATimeAndKeepTheirFilters)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("filters", {{"QA1ABC", "20240101", "20m", "SSB", "Y", "", true},
                             {"QB2X", "20240102", "20m", "SSB", "N"},
                             {"QC3Y", "20240103", "20m", "SSB", "N", "", true}});
    auto form = showForm(*home.dm, {"filters"});
    SearchToolbar* bar = form->searchToolbar();
    QToolButton* sent = bar->sentButton();
    QToolButton* rcvd = bar->receivedButton();
    QAction* marked = form->action("F7Action");

    form->action("QSLsNAction")->trigger();
    EXPECT_TRUE(sent->isChecked());
    form->LogSearchChange();
    EXPECT_EQ(shownCalls(*form->logWindows().front()), (std::vector<std::string>{"QB2X", "QC3Y"}));

    // Marked-only releases the sent button; its filter stays in force.
    marked->trigger();
    EXPECT_TRUE(marked->isChecked());
    EXPECT_FALSE(sent->isChecked());
    EXPECT_EQ(bar->inputs().qslsFilter, 'N');
    form->LogSearchChange();
    EXPECT_EQ(shownCalls(*form->logWindows().front()), (std::vector<std::string>{"QC3Y"}));

    // A received filter releases marked-only, which then no longer filters.
    form->action("QSLrNAction")->trigger();
    EXPECT_TRUE(rcvd->isChecked());
    EXPECT_FALSE(marked->isChecked());
    EXPECT_FALSE(sent->isChecked());
    EXPECT_FALSE(bar->inputs().markedOnly);
    form->LogSearchChange();
    EXPECT_EQ(shownCalls(*form->logWindows().front()), (std::vector<std::string>{"QB2X", "QC3Y"}));

    // A sent filter presses its own button and releases the received one.
    form->action("QSLsYAction")->trigger();
    EXPECT_TRUE(sent->isChecked());
    EXPECT_FALSE(rcvd->isChecked());
    EXPECT_EQ(bar->inputs().qslrFilter, 'N');
    // "No filter" releases its button only.
    form->action("QSLsNoneAction")->trigger();
    EXPECT_FALSE(sent->isChecked());
    EXPECT_EQ(bar->inputs().qslsFilter, ' ');
    // F11 ends them all.
    form->action("F11Action")->trigger();
    EXPECT_EQ(bar->inputs().qslrFilter, ' ');
    EXPECT_TRUE(form->action("QSLrNoneAction")->isChecked());
    EXPECT_FALSE(rcvd->isChecked());
}

TEST(MainWindowPanels, LogStatusToolbarDocksWhereTheLastOneWasAndClearsTheSelection)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("dock", {{"QA1ABC"}, {"QB2X"}, {"QC3Y"}});
    home.dm->MDIDock = 2; // left
    auto form = showForm(*home.dm, {"dock"});
    TMDIChild& log = *form->logWindows().front();
    QToolBar* bar = log.statusToolbar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(log.statusToolbarSide(), 2);
    EXPECT_EQ(log.findChild<QLabel*>("CallPanel")->minimumWidth(), 80);
    EXPECT_EQ(log.findChild<QLabel*>("CallPanel")->text(), QStringLiteral(" DL0QX"));
    QStringList names;
    for (QAction* a : bar->actions())
        if (!a->objectName().isEmpty())
            names << a->objectName();
    EXPECT_EQ(names, (QStringList{"FirstAction", "PreviousAction", "NextAction", "LastAction",
                                  "SelectCallAction", "UnselectAction", "DragIntoPrintQueueAction",
                                  "FillManagerAction", "StatisticsAction", "FooterLinesAction"}));

    // The toolbar's buttons act on their log: Last, then put that QSO into the queue.
    home.dm->ConfirmF2 = false;
    bar->widgetForAction(form->action("LastAction"))->setFocus();
    click(bar->widgetForAction(form->action("LastAction")));
    EXPECT_EQ(log.currentRow(), 2);
    click(bar->widgetForAction(form->action("DragIntoPrintQueueAction")));
    EXPECT_EQ(home.dm->LabelsInQueue(), 1);

    // A click on the selection panel clears the selection.
    log.grid()->selectAll();
    QLabel* selection = log.findChild<QLabel*>("SelectPanel");
    EXPECT_EQ(selection->text(), QStringLiteral("3 QSO(s) selected  "));
    click(selection);
    EXPECT_FALSE(log.hasSelection());
    EXPECT_EQ(selection->text(), QString());

    // Docked at the bottom, the next log window finds it there.
    log.removeToolBar(bar);
    log.addToolBar(Qt::BottomToolBarArea, bar);
    bar->show();
    EXPECT_EQ(log.statusToolbarSide(), 1);
    form->action("CloseLogAction")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(home.dm->MDIDock, 1);
    home.dm->addPendingLog("dock");
    form->OpenPendingLogs();
    ASSERT_EQ(form->logWindows().size(), 1u);
    EXPECT_EQ(form->logWindows().front()->statusToolbarSide(), 1);
    EXPECT_EQ(form->logWindows().front()->findChild<QLabel*>("CallPanel")->minimumWidth(), 100);
}

TEST(MainWindowPanels, ActionsGoBackToTheLastSearchInputAndActOnTheCurrentLog)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("first", {{"QA1ABC"}, {"QB2X"}, {"QC3Y"}});
    home.makeLog("second", {{"QD4Z"}, {"QE5A"}});
    auto form = showForm(*home.dm, {"first", "second"});
    QApplication::setActiveWindow(form.get());
    SearchToolbar* bar = form->searchToolbar();
    EXPECT_EQ(bar->SearchFieldId(), 1001);
    bar->bandBox()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->SearchFieldId(), 1007);

    // The queue window has the keyboard; the log actions still act on the current log
    // window, and the keyboard returns to the band list.
    TMDIChild* current = form->activeLogWindow();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->logName(), QStringLiteral("second"));
    form->queueWindow()->grid()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->activeLogWindow(), current);
    form->action("LastAction")->trigger();
    EXPECT_EQ(current->currentRow(), 1);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(bar->bandBox()));

    // Escape in a grid clears its selection and returns to the search input.
    current->grid()->selectAll();
    current->grid()->setFocus();
    QTest::keyClick(current->grid(), Qt::Key_Escape);
    EXPECT_FALSE(current->hasSelection());
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(bar->bandBox()));

    // Enter moves on like Tab: from the call field to the "to" call field.
    bar->callFromEdit()->setFocus();
    QTest::keyClick(bar->callFromEdit(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(bar->callToEdit()));
    EXPECT_EQ(bar->SearchFieldId(), 1002);

    // Tiled vertically the windows stand side by side; horizontally one above the other.
    form->action("TileVerticalAction")->trigger();
    std::vector<QRect> r;
    for (TMDIChild* w : form->logWindows())
        r.push_back(w->parentWidget()->geometry());
    EXPECT_EQ(r[0].top(), r[1].top());
    EXPECT_EQ(r[0].right() + 1, r[1].left());
    form->action("TileHorizontalAction")->trigger();
    r.clear();
    for (TMDIChild* w : form->logWindows())
        r.push_back(w->parentWidget()->geometry());
    EXPECT_EQ(r[0].left(), r[1].left());
    EXPECT_EQ(r[0].bottom() + 1, r[1].top());

    // A new sort order starts in its first input.
    form->action("F5Action")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->SearchFieldId(), 1003);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(bar->dateFromPicker()));
}

// Answers the sample log question as told; everything else Yes.
class SampleAnswer : public YesPrompter
{
public:
    explicit SampleAnswer(PromptButton answer) : m_answer(answer) {}
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override
    {
        const PromptButton yes = YesPrompter::ask(icon, text, buttons);
        return text.rfind("There are no logs yet.", 0) == 0 ? m_answer : yes;
    }

private:
    PromptButton m_answer;
};

TEST(MainWindowPanels, AStartWithoutLogsOffersTheSampleLog)
{
    const std::string question =
        "There are no logs yet.\r\nDo you want to let QX create a sample log file?";
    {
        SampleAnswer prompter(PromptButton::No);
        UiHome home(prompter);
        auto form = showForm(*home.dm, {});
        EXPECT_TRUE(prompter.shown.empty()); // only the first activation after start asks
        home.dm->FormActivated = 1;
        form->FormActivate();
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, question);
        EXPECT_EQ(prompter.shown[0].buttons,
                  PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        EXPECT_TRUE(form->logWindows().empty());
        EXPECT_EQ(home.dm->FormActivated, 2);
        form->FormActivate(); // later activations do not ask again
        EXPECT_EQ(prompter.shown.size(), 1u);
    }
    SampleAnswer prompter(PromptButton::Yes);
    UiHome home(prompter);
    auto form = showForm(*home.dm, {});
    home.dm->FormActivated = 1;
    bool dialogSeen = false;
    QTimer poll; // the dialog comes after the activation work has run a while
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<TQXNewLogForm*>(QApplication::activeModalWidget());
        if (!dlg || dialogSeen)
            return;
        dialogSeen = true;
        EXPECT_EQ(dlg->findChild<QLineEdit*>("SaveAsEdit")->text(), "sample");
        QTest::keyClicks(dlg->findChild<QLineEdit*>("CallEdit"), "DL0QX");
        QTest::mouseClick(dlg->findChild<QPushButton*>("StartButton"), Qt::LeftButton);
        QTest::mouseClick(dlg->findChild<QPushButton*>("CloseButton"), Qt::LeftButton);
    });
    poll.start();
    form->FormActivate();
    poll.stop();
    EXPECT_TRUE(dialogSeen);
    ASSERT_EQ(form->logWindows().size(), 1u);
    EXPECT_EQ(form->logWindows().front()->logName(), QStringLiteral("sample"));
    EXPECT_EQ(form->logWindows().front()->model()->rowCount(), 320);
    EXPECT_EQ(home.dm->LogCount, 1);
    EXPECT_TRUE(form->action("F2Action")->isEnabled());

    // With a log there is nothing to offer.
    SampleAnswer again(PromptButton::Yes);
    UiHome withLog(again);
    withLog.makeLog("one", {{"QA1ABC"}});
    auto second = showForm(*withLog.dm, {});
    withLog.dm->FormActivated = 1;
    second->FormActivate();
    EXPECT_TRUE(again.shown.empty());
}

TEST(MainWindowPanels, ALargeQueueIsReadOnlyWhereTheGridShowsIt)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("big", {{"QA1ABC"}, {"QB2X"}});
    home.dm->ConfirmF2 = false;
    auto form = showForm(*home.dm, {"big"});
    // 10,000 labels already queued.
    dbase::Table& q = home.dm->printQueue().QXPQTable();
    for (int i = 0; i < 10000; ++i) {
        char seq[8];
        std::snprintf(seq, sizeof seq, "%6d", i + 1);
        q.append();
        q.setText("INDEXD", seq);
        q.setText("INDEXB", "K" + std::to_string(100000 + i));
        q.setText("HISCALL", "K" + std::to_string(100000 + i));
        q.setText("NUMQSOS", "1");
        q.post();
    }
    home.dm->printQueue().RecountLabels();
    form->queueWindow()->refresh(home.dm->printQueue(), home.dm->PriRows, home.dm->ManagerText);
    form->SetActions();
    QTableView* grid = form->queueWindow()->grid();
    QueueTableModel* model = form->queueWindow()->model();
    ASSERT_EQ(model->rowCount(), 10000);
    grid->selectRow(3);
    const long before = model->labelsRead();
    form->action("F2Action")->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(model->rowCount(), 10002);
    // The new labels came at the end; the chosen row is still chosen.
    EXPECT_EQ(model->data(model->index(10000, 0)).toString(), QStringLiteral("QA1ABC"));
    EXPECT_EQ(model->data(model->index(10001, 0)).toString(), QStringLiteral("QB2X"));
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(3, {}));
    // Only pages the view drew (and the two asked for) were read, never the whole queue.
    EXPECT_LT(model->labelsRead() - before, 1000);
    // The hint is read for the label it is shown for.
    const QString hint = model->data(model->index(10001, 0), Qt::ToolTipRole).toString();
    EXPECT_TRUE(hint.startsWith("QB2X  [my call: DL")) << hint.toStdString();
    EXPECT_TRUE(hint.endsWith("]\n- 20m SSB")) << hint.toStdString();

    // Alt+Del on the chosen label: one row less, the rows after it move up.
    const QString fifth = model->data(model->index(4, 0)).toString();
    form->action("QXPQDeleteAction")->trigger();
    EXPECT_EQ(model->rowCount(), 10001);
    EXPECT_EQ(home.dm->LabelsInQueue(), 10001);
    EXPECT_EQ(model->data(model->index(3, 0)).toString(), fifth);
}

TEST(MainWindowPanels, QueuePopupMovesAndSortsAndTheHelpMenuEnds)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("order", {{"QA1ABC", "20240101", "20m", "SSB", "N", "ZS1ZZ"}, {"QB2X"}, {"QC3Y"}});
    home.dm->ConfirmF2 = false;
    auto form = showForm(*home.dm, {"order"});
    form->action("F2Action")->trigger();
    ASSERT_EQ(home.dm->LabelsInQueue(), 3);
    QTableView* grid = form->queueWindow()->grid();
    const auto calls = [grid] {
        QStringList c;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            c << grid->model()->index(r, 0).data().toString();
        return c;
    };
    EXPECT_EQ(calls(), (QStringList{"QA1ABC", "QB2X", "QC3Y"})); // first in, first out
    form->action("QXPQLastAction")->trigger();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    form->action("QXPQFirstAction")->trigger();
    form->action("QXPQNextAction")->trigger();
    EXPECT_EQ(grid->currentIndex().row(), 1);
    form->action("QXPQNextPageAction")->trigger();
    EXPECT_EQ(grid->currentIndex().row(), 2);

    // The order submenu: the bureau order goes by the manager's call where there is one.
    auto* order = grid->findChild<QMenu*>("QueueOrderMenu");
    ASSERT_NE(order, nullptr);
    emit order->aboutToShow();
    QAction* alphabetical = nullptr;
    for (QAction* a : order->actions())
        if (a->objectName() == "QueueOrderAlphabetical")
            alphabetical = a;
    ASSERT_NE(alphabetical, nullptr);
    EXPECT_FALSE(alphabetical->isChecked());
    alphabetical->trigger();
    EXPECT_EQ(home.dm->IndexOnQXPQ, 1);
    QStringList bureau; // the queue table in its bureau order, read directly
    dbase::Table& q = home.dm->printQueue().QXPQTable();
    q.setIndex("INDEXB");
    for (q.first(); !q.eof(); q.next())
        bureau << QString::fromStdString(q.text("HISCALL"));
    EXPECT_EQ(calls(), bureau);
    EXPECT_EQ(calls(), (QStringList{"QB2X", "QC3Y", "QA1ABC"}));
    emit order->aboutToShow();
    EXPECT_TRUE(alphabetical->isChecked());

    // No changes file beside the program: it says so.
    prompter.shown.clear();
    form->action("HelpChangesAction")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("There is no changes file \"", 0), 0u);

    // The about box names the program and its version; OK closes it.
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!about || seen || about->objectName() != "AboutBox")
            return;
        seen = true;
        EXPECT_EQ(about->windowTitle(), QStringLiteral("QX by QZ3QZ"));
        EXPECT_EQ(about->findChild<QLabel*>("VersionLabel")->text(),
                  QStringLiteral("Version 7.10"));
        EXPECT_EQ(about->findChild<QPushButton*>("WebsiteButton")->text(),
                  QStringLiteral("&QX Website"));
        QTest::mouseClick(about->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    });
    poll.start();
    form->action("AboutAction")->trigger();
    poll.stop();
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace qx7
