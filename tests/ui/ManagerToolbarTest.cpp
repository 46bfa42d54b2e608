// The manager toolbar: the current QSO's candidates from the manager database, the
// choice written into the log, and a typed manager taught to the database.

#include "UiFixture.h"

#include "ui/main/ManagerToolbar.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTableView>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;

TEST(ManagerToolbarWindow, CandidatesChoiceAndLearning)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("mgr", {{"W1AW", "20050615", "20m", "SSB"}, {"K9XX", "20050615", "20m", "SSB"}});
    home.dm->UseManagerDB = true;
    auto form = showForm(*home.dm, {});
    ManagerDatabase& db = home.dm->managers();
    ASSERT_TRUE(db.isOpen());
    db.LearnManager("W1AW", "K1AAA", "");
    db.LearnManager("W1AW", "K2BBB", "");
    home.dm->addPendingLog("mgr");
    form->OpenPendingLogs();
    TMDIChild& log = *form->logWindows().front();
    log.moveTo(1); // W1AW sorts after K9XX
    ASSERT_EQ(log.currentText("CALL"), "W1AW");

    ManagerToolbar* bar = form->managerToolbar();
    QMenu* menu = bar->candidateMenu();
    std::vector<std::string> shown;
    for (QAction* a : menu->actions())
        if (a->objectName().startsWith("ManagerCandidate") && a->isVisible())
            shown.push_back(a->text().toStdString());
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(bar->managerEdit()->palette().color(QPalette::Text), QColor(Qt::red));

    // Choosing a candidate writes it into the QSO.
    QAction* second = menu->findChild<QAction*>("ManagerCandidate2");
    ASSERT_NE(second, nullptr);
    const std::string chosen = second->text().toStdString();
    second->trigger();
    EXPECT_EQ(log.currentText("QMGR"), chosen);
    EXPECT_EQ(bar->managerEdit()->text().toStdString(), chosen);

    // "No Manager" gives "-".
    menu->findChild<QAction*>("NoManagerItem")->trigger();
    EXPECT_EQ(log.currentText("QMGR"), "-");

    // A typed manager, on leaving the field, is learned for the call and written.
    QFocusEvent enter(QEvent::FocusIn);
    QCoreApplication::sendEvent(bar->managerEdit(), &enter);
    bar->managerEdit()->setText("K3CCC");
    QFocusEvent leave(QEvent::FocusOut);
    QCoreApplication::sendEvent(bar->managerEdit(), &leave);
    EXPECT_EQ(log.currentText("QMGR"), "K3CCC");
    db.LookUpManager("W1AW", "", "20050615");
    const auto& c = db.ManagerCandidates;
    EXPECT_NE(std::find(c.begin(), c.end(), "K3CCC"), c.end());
    // A call the database does not know shows one or no candidate in black.
    log.moveTo(0);
    EXPECT_NE(bar->managerEdit()->palette().color(QPalette::Text), QColor(Qt::red));
}

// Drops a mime payload on a row of the log grid; answers whether the grid took it.
bool dropOnRow(TMDIChild& log, QMimeData* mime, int row)
{
    QTableView* grid = log.grid();
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &drop);
    return drop.isAccepted();
}

TEST(ManagerToolbarWindow, ManagerEditDroppedOnTheGridSetsTheManagerOfThatQso)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("mgr", {{"AA1AA"}, {"BB1BB"}, {"CC1CC"}, {"DD1DD"}});
    auto form = showForm(*home.dm, {"mgr"});
    TMDIChild& log = *form->logWindows().front();
    log.grid()->resize(600, 300);
    ManagerToolbar* bar = form->managerToolbar();
    log.moveTo(0);

    bar->managerEdit()->setText("EA5XX");
    std::unique_ptr<QMimeData> mime(bar->dragData());
    ASSERT_TRUE(dropOnRow(log, mime.get(), 2));
    EXPECT_EQ(log.currentText("CALL"), "CC1CC");
    EXPECT_EQ(log.currentText("QMGR"), "EA5XX");
    const QAbstractItemModel* m = log.grid()->model();
    EXPECT_EQ(m->data(m->index(2, LogTableModel::ManagerColumn)).toString(), "EA5XX");
    EXPECT_EQ(m->data(m->index(0, LogTableModel::ManagerColumn)).toString(), "");

    // Dropped inside a selection of several QSOs: all of them.
    QItemSelectionModel* sel = log.grid()->selectionModel();
    for (int r : {0, 1})
        sel->select(m->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    bar->managerEdit()->setText("W2MGR");
    mime.reset(bar->dragData());
    ASSERT_TRUE(dropOnRow(log, mime.get(), 1));
    for (int r : {0, 1, 2})
        EXPECT_EQ(m->data(m->index(r, LogTableModel::ManagerColumn)).toString(), "W2MGR") << r;
    EXPECT_EQ(m->data(m->index(3, LogTableModel::ManagerColumn)).toString(), "");

    // Plain text from elsewhere is not taken.
    QMimeData text;
    text.setText("K9ZZZ");
    EXPECT_FALSE(dropOnRow(log, &text, 3));
    EXPECT_EQ(m->data(m->index(3, LogTableModel::ManagerColumn)).toString(), "");
}

} // namespace
} // namespace qx7
