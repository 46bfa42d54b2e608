// The manager toolbar: the current QSO's candidates from the manager database, the
// choice written into the log, and a typed manager taught to the database.

#include "UiFixture.h"

#include "ui/main/ManagerToolbar.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
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

} // namespace
} // namespace qx7
