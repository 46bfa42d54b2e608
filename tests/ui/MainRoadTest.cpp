#include "ui/logfiles/TQXOpenLogForm.h"
#include <QApplication>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
// The program's main job in the window: open a log, narrow it, fill the print queue
// with F2, print the queue to the PDF printer, and the printed labels leave the queue.

#include "UiFixture.h"

#include "core/IniFile.h"
#include "labels/QxdFile.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/manager/TQXManagerDlg.h"
#include "ui/swl/SwlWindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                            pdf.count("/Type /Page>") + pdf.count("/Type /Page/"));
}

std::vector<std::string> queueCalls(TQXForm& form)
{
    std::vector<std::string> calls;
    QAbstractItemModel* m = form.queueWindow()->grid()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        calls.push_back(m->data(m->index(r, 0)).toString().toStdString());
    return calls;
}

TEST(MainRoad, FillTheQueueWithF2AndPrintItToPdf)
{
    YesPrompter prompter;
    UiHome home(prompter);
    ASSERT_TRUE(home.makeSampleLog());
    auto form = showForm(*home.dm, {"sample.qx7"});
    ASSERT_EQ(form->logWindows().size(), 1u);
    TMDIChild& log = *form->logWindows().front();
    EXPECT_EQ(log.windowTitle(), QStringLiteral("sample"));
    EXPECT_EQ(log.model()->rowCount(), 320);
    EXPECT_EQ(form->statusPanel(5)->text(), QString()); // empty queue
    EXPECT_EQ(form->queueWindow()->grid()->model()->rowCount(), 0);

    // The calls from A to K: a range, so F2 asks before it takes them all.
    form->searchToolbar()->callFromEdit()->setText("A");
    form->searchToolbar()->callToEdit()->setText("K");
    QTRY_VERIFY(log.model()->rowCount() < 320);
    const std::vector<std::string> shown = shownCalls(log);
    ASSERT_FALSE(shown.empty());
    for (const std::string& c : shown) {
        EXPECT_GE(c, "A");
        EXPECT_LE(c.substr(0, 1), "K");
    }
    const size_t promptsBefore = prompter.shown.size();
    form->action("F2Action")->trigger();
    ASSERT_GT(prompter.shown.size(), promptsBefore);
    EXPECT_EQ(prompter.shown[promptsBefore].text, "Do you want to print all calls?");

    const int labels = home.dm->LabelsInQueue();
    ASSERT_GT(labels, 0);
    const std::vector<std::string> queued = queueCalls(*form);
    EXPECT_EQ(static_cast<int>(queued.size()), labels);
    for (const std::string& c : queued)
        EXPECT_NE(std::find(shown.begin(), shown.end(), c), shown.end()) << c;
    const int pages = (labels + home.dm->LabelsPerPage - 1) / home.dm->LabelsPerPage;
    EXPECT_EQ(form->statusPanel(5)->text().toStdString(),
              " " + std::to_string(labels) + " labels  = " + std::to_string(pages) +
                  (pages == 1 ? " page " : " pages "));
    // The hint of a queue entry lists its QSOs.
    const QString hint =
        form->queueWindow()
            ->grid()
            ->model()
            ->data(form->queueWindow()->grid()->model()->index(0, 0), Qt::ToolTipRole)
            .toString();
    EXPECT_TRUE(hint.contains("[my call: ")) << hint.toStdString();

    // Print to the PDF printer; the after-print question is answered Yes.
    const QString pdf = home.dir.filePath("labels.pdf");
    form->setPrinterName("PDF file");
    form->setFileChooser([&](const QString&, const QString&, const QString&, bool) { return pdf; });
    ASSERT_TRUE(form->action("PrintAction")->isEnabled());
    form->action("PrintAction")->trigger();
    EXPECT_EQ(pdfPages(pdf), pages);
    EXPECT_EQ(prompter.shown.back().text, "Empty label print queue now?");
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
    EXPECT_EQ(form->queueWindow()->grid()->model()->rowCount(), 0);
    EXPECT_EQ(form->statusPanel(5)->text(), QString());
    EXPECT_FALSE(form->action("PrintAction")->isEnabled());
}

// Answers No to printing labels whose text would be cut, Yes elsewhere.
class RefuseCutPrompter : public YesPrompter
{
public:
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override
    {
        const PromptButton answer = YesPrompter::ask(icon, text, buttons);
        return text.find("Print anyway?") != std::string::npos && refuse ? PromptButton::No
                                                                         : answer;
    }
    bool refuse = true;
};

// A call wider than its field would be cut on every label: printing says so first;
// No prints nothing and keeps the queue, Yes prints.
TEST(MainRoad, PrintingAsksBeforeLabelsWithCutText)
{
    RefuseCutPrompter prompter;
    UiHome home(prompter);
    home.makeLog("one", {{"QA1ABC"}, {"QB2X"}});
    // The call field of the layout made too narrow for any call.
    const std::string layoutPath = home.dm->layoutPath(home.dm->LastQXD);
    LabelLayout layout;
    ASSERT_TRUE(loadLayout(layoutPath, layout));
    layout.findDataField("HISCALL")->width = 4;
    ASSERT_TRUE(saveLayout(layoutPath, layout));
    auto form = showForm(*home.dm, {"one"});
    ASSERT_EQ(form->logWindows().size(), 1u);
    form->action("F2Action")->trigger();
    const int labels = home.dm->LabelsInQueue();
    ASSERT_EQ(labels, 2);

    const QString pdf = home.dir.filePath("labels.pdf");
    form->setPrinterName("PDF file");
    form->setFileChooser([&](const QString&, const QString&, const QString&, bool) { return pdf; });
    const size_t before = prompter.shown.size();
    form->action("PrintAction")->trigger();
    ASSERT_EQ(prompter.shown.size(), before + 1);
    EXPECT_EQ(prompter.shown.back().icon, PromptIcon::Warning);
    EXPECT_NE(prompter.shown.back().text.find("2 label(s) would have text cut off"),
              std::string::npos)
        << prompter.shown.back().text;
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(home.dm->LabelsInQueue(), 2);

    prompter.refuse = false;
    form->action("PrintAction")->trigger();
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_EQ(prompter.shown.back().text, "Empty label print queue now?");
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
}

TEST(MainRoad, ActionsFollowLogsQueueAndLayout)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("one", {{"QA1ABC"}, {"QB2X"}});
    home.makeLog("two", {{"QC3Y"}});
    auto form = showForm(*home.dm, {});
    const auto enabled = [&](const char* n) { return form->action(n)->isEnabled(); };
    // No log: nothing to fill, search or close; the later windows stay off.
    EXPECT_FALSE(enabled("F2Action"));
    EXPECT_FALSE(enabled("F3Action"));
    EXPECT_FALSE(enabled("CloseLogAction"));
    EXPECT_FALSE(enabled("EmptyPQAction"));
    EXPECT_FALSE(enabled("PrintAction"));
    EXPECT_TRUE(enabled("OpenLogAction"));
    EXPECT_TRUE(enabled("ExitAction"));
    EXPECT_FALSE(enabled("ConfigAction"));      // its dialog comes later
    EXPECT_TRUE(enabled("PrinterSetupAction")); // a printer and the sample layout
    EXPECT_TRUE(form->layoutLoaded());

    // One log: F2 but not F3, no next window.
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TQXOpenLogForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        for (int r = 0; r < dlg->model()->rowCount(); ++r)
            if (dlg->model()->index(r, 0).data().toString() == "one")
                dlg->detailView()->selectionModel()->select(dlg->model()->index(r, 0),
                                                            QItemSelectionModel::Select |
                                                                QItemSelectionModel::Rows);
        dlg->accept();
    });
    form->action("OpenLogAction")->trigger();
    ASSERT_EQ(form->logWindows().size(), 1u);
    EXPECT_TRUE(enabled("F2Action"));
    EXPECT_FALSE(enabled("F3Action"));
    EXPECT_FALSE(enabled("ShiftF3Action"));
    EXPECT_FALSE(enabled("NextLogAction"));
    EXPECT_TRUE(enabled("CloseLogAction"));
    EXPECT_TRUE(enabled("SWLAction"));

    // Two logs: F3 and window switching.
    home.dm->addPendingLog("two");
    form->OpenPendingLogs();
    ASSERT_EQ(form->logWindows().size(), 2u);
    EXPECT_TRUE(enabled("F3Action"));
    EXPECT_TRUE(enabled("NextLogAction"));
    // The same log again only comes to the front.
    home.dm->addPendingLog("one.qx7");
    form->OpenPendingLogs();
    EXPECT_EQ(form->logWindows().size(), 2u);

    // A queue: empty, print and delete become possible.
    form->action("F3Action")->trigger();
    ASSERT_EQ(home.dm->LabelsInQueue(), 3);
    EXPECT_TRUE(enabled("EmptyPQAction"));
    EXPECT_TRUE(enabled("PrintAction"));
    EXPECT_TRUE(enabled("QXPQDeleteAction"));
    EXPECT_EQ(form->statusPanel(5)->text(), QStringLiteral(" 3 labels  = 1 page "));

    // Alt+Del on a chosen entry deletes that label only.
    QTableView* queue = form->queueWindow()->grid();
    queue->selectRow(1);
    const QString gone = queue->model()->data(queue->model()->index(1, 0)).toString();
    form->action("QXPQDeleteAction")->trigger();
    ASSERT_EQ(home.dm->LabelsInQueue(), 2);
    for (int r = 0; r < queue->model()->rowCount(); ++r)
        EXPECT_NE(queue->model()->data(queue->model()->index(r, 0)).toString(), gone);

    // Emptying the queue (answered Yes) turns them off again.
    form->action("EmptyPQAction")->trigger();
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
    EXPECT_FALSE(enabled("EmptyPQAction"));
    EXPECT_FALSE(enabled("PrintAction"));
}

TEST(MainRoad, RowsDroppedOnTheQueueGridAndCtrlLeftQueueTheSelection)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("drag", {{"QA1ABC"}, {"QB2X"}, {"QC3Y"}, {"QD4Z"}});
    auto form = showForm(*home.dm, {"drag"});
    TMDIChild& log = *form->logWindows().front();
    QTableView* grid = log.grid();

    // Two rows chosen with Ctrl, dropped on the queue grid.
    grid->selectionModel()->select(log.model()->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->selectionModel()->select(log.model()->index(3, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<QMimeData> mime(log.model()->mimeData({grid->currentIndex()}));
    QWidget* target = form->queueWindow()->grid()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(queueCalls(*form), (std::vector<std::string>{"QB2X", "QD4Z"}));

    // Ctrl+Left without a selection takes the current QSO and moves on.
    log.moveTo(0);
    form->action("DragIntoPrintQueueAction")->trigger();
    EXPECT_EQ(home.dm->LabelsInQueue(), 3);
    EXPECT_EQ(log.currentRow(), 1);

    // Something else than QSO rows is refused.
    QMimeData text;
    text.setText("QZ9ZZZ");
    QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &other);
    EXPECT_FALSE(other.isAccepted());
}

TEST(MainRoad, EscapeDuringAFillStopsIt)
{
    YesPrompter prompter;
    UiHome home(prompter);
    std::vector<Qso> qsos;
    for (int i = 0; i < 400; ++i)
        qsos.push_back({"QA" + std::to_string(i) + "X"});
    home.makeLog("long", qsos);
    home.dm->ConfirmF2 = false;
    auto form = showForm(*home.dm, {"long"});
    // Escape arrives while the scan processes events between records.
    int sent = 0;
    QTimer escape;
    escape.setInterval(0);
    QObject::connect(&escape, &QTimer::timeout, [&] {
        if (home.dm->Printing && sent++ == 0) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(form->logWindows().front()->grid(), &press);
        }
    });
    escape.start();
    form->action("F2Action")->trigger();
    escape.stop();
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(std::any_of(prompter.shown.begin(), prompter.shown.end(),
                            [](const auto& s) { return s.text == "Print aborted"; }));
    EXPECT_LT(home.dm->LabelsInQueue(), 400);
    EXPECT_EQ(home.dm->Terminated, 0);
    EXPECT_FALSE(home.dm->Printing);
    EXPECT_TRUE(form->logWindows().front()->grid()->isEnabled());
}

} // namespace
} // namespace qx7

namespace qx7 {
namespace {

using namespace uitest;

TEST(MainRoad, LogsOfTheCommandLineAndOfOpenLogsOpenOnce)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("first", {{"QA1ABC"}});
    home.makeLog("second", {{"QB2X"}});
    {
        IniFile ini(home.dm->iniPath());
        ini.writeString("OpenLogs", "0", "first.qx7");
        ini.writeString("OpenLogs", "1", "second");
        ini.save();
    }
    auto form = showForm(*home.dm, {"FIRST.QX7"}); // as given on the command line
    std::vector<std::string> names;
    for (TMDIChild* w : form->logWindows())
        names.push_back(w->logName().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace
} // namespace qx7

namespace qx7 {
namespace {

using namespace uitest;

TEST(MainRoad, SwlModeAsksEmptiesTheQueueAndRefusesDrops)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("swl", {{"QA1ABC"}, {"QB2X"}});
    home.dm->ConfirmF2 = false;
    auto form = showForm(*home.dm, {"swl"});
    form->action("F2Action")->trigger();
    ASSERT_EQ(home.dm->LabelsInQueue(), 2);
    prompter.shown.clear();
    form->action("SWLAction")->trigger();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "Did you open a SWL QSL Label Design?");
    EXPECT_EQ(prompter.shown[1].text, "There are still 2 labels to print in the print queue.\r\n"
                                      "It is recommended to delete the print queue now!");
    EXPECT_TRUE(home.dm->SWLMode);
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
    EXPECT_EQ(form->statusPanel(6)->text(), QStringLiteral(" SWL Mode"));
    QTableView* queue = form->queueWindow()->grid();
    EXPECT_TRUE(queue->isColumnHidden(QueueTableModel::CallColumn));
    EXPECT_FALSE(queue->isColumnHidden(QueueTableModel::SwlCallColumn));
    // QSOs do not go into the queue in SWL mode.
    form->action("DragIntoPrintQueueAction")->trigger();
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);
    // The listener's reports are typed into the SWL window while the mode is on.
    ASSERT_NE(form->swlWindow(), nullptr);
    EXPECT_TRUE(form->swlWindow()->isVisible());
    form->action("SWLAction")->trigger();
    EXPECT_FALSE(home.dm->SWLMode);
    EXPECT_EQ(form->statusPanel(6)->text(), QString());
    EXPECT_FALSE(queue->isColumnHidden(QueueTableModel::CallColumn));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->swlWindow(), nullptr);
}

TEST(MainRoad, HelpManagerAndConfigurationAreReachedFromTheMenus)
{
    YesPrompter prompter;
    UiHome home(prompter);
    auto form = showForm(*home.dm, {});
    // Without a way to open it (the program gives one), the configuration stays off.
    EXPECT_FALSE(form->action("ConfigAction")->isEnabled());
    int opened = 0;
    form->setConfigurationOpener([&opened] { ++opened; });
    form->SetActions();
    ASSERT_TRUE(form->action("ConfigAction")->isEnabled());
    form->action("ConfigAction")->trigger();
    EXPECT_EQ(opened, 1);

    ASSERT_TRUE(form->action("HelpAction3")->isEnabled());
    form->action("HelpAction3")->trigger();
    ASSERT_NE(HelpWindow::instance(), nullptr);
    EXPECT_EQ(HelpWindow::instance()->currentTopic(), QString::fromLatin1(help::kLogWindow));
    form->action("HelpAction1")->trigger();
    EXPECT_EQ(HelpWindow::instance()->currentTopic(), QString::fromLatin1(help::kContents));

    // The manager window opens modal; close it as soon as it shows.
    ASSERT_TRUE(form->action("ManagerWindowAction")->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TQXManagerDlg*>(w); d && d->isVisible()) {
                seen = true;
                d->reject();
            }
    });
    form->action("ManagerWindowAction")->trigger();
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace qx7

namespace qx7 {
namespace {

using namespace uitest;

TEST(MainRoad, WindowsMenuListsTheLogWindows)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("alpha", {{"QA1ABC"}});
    home.makeLog("beta", {{"QB2X"}});
    auto form = showForm(*home.dm, {"alpha", "beta"});
    QMenu* windows = form->menu("WindowsMenu");
    emit windows->aboutToShow();
    QStringList entries;
    for (QAction* a : windows->actions())
        if (a->property("logWindowEntry").toBool())
            entries << a->text();
    EXPECT_EQ(entries, (QStringList{"&1 alpha", "&2 beta"}));
    windows->actions().at(windows->actions().size() - 2)->trigger();
    EXPECT_EQ(form->activeLogWindow()->logName(), QStringLiteral("alpha"));
}

} // namespace
} // namespace qx7
