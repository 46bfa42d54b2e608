// QSOs dragged from a log grid onto the SWL window, with the drag data the log grid
// itself produces: the reports take the stored values of the QSOs and the log's own call,
// and the SWL table takes the QSOs of one own call only.

#include "UiFixture.h"

#include "store/LogTable.h"
#include "ui/log/QsoDragData.h"
#include "ui/swl/SwlWindow.h"

#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;

// The drag data of the log grid for its selected rows, as a drag would take it.
std::unique_ptr<QMimeData> dragOfSelection(TMDIChild& log)
{
    QTableView* grid = log.grid();
    return std::unique_ptr<QMimeData>(
        grid->model()->mimeData(grid->selectionModel()->selectedIndexes()));
}

void selectRows(TMDIChild& log, std::initializer_list<int> rows)
{
    QTableView* grid = log.grid();
    grid->clearSelection();
    for (int r : rows)
        grid->selectionModel()->select(grid->model()->index(r, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Enters and drops on `target`; true when both the entry and the drop were accepted.
bool dropOn(QWidget* target, const QMimeData* data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TMDIChild* windowOf(TQXForm& form, const std::string& ownCall)
{
    for (TMDIChild* w : form.logWindows())
        if (w->OwnCall() == ownCall)
            return w;
    return nullptr;
}

TEST(SwlDrag, QsosFromALogGridBecomeReportsOfOneOwnCall)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("mine", {{"QA1ABC", "20240315", "20m", "CW"}, {"QB2X", "20240316", "40m", "SSB"}});
    home.makeLog("other", {{"QC3Y", "20240317", "15m", "FT8"}});
    writeLogDescriptor(logPaths(home.dm->QXLogPath, "other").descriptor, {"OE1XYZ", {}});
    home.dm->DateDisplayFormat = "dd.mm.yyyy"; // the grid shows other text than it stores
    auto form = showForm(*home.dm, {"mine", "other"});
    TMDIChild* mine = windowOf(*form, "DL0QX");
    TMDIChild* other = windowOf(*form, "OE1XYZ");
    ASSERT_TRUE(mine && other);

    form->action("SWLAction")->trigger();
    ASSERT_TRUE(home.dm->SWLMode);
    SwlWindow* swl = form->swlWindow();
    ASSERT_NE(swl, nullptr);
    QWidget* swlGrid = swl->findChild<QTableView*>(QStringLiteral("swlGrid"))->viewport();

    selectRows(*mine, {0, 1});
    const auto drag = dragOfSelection(*mine);
    // The print queue takes no QSOs in SWL mode, whatever the drag holds.
    EXPECT_FALSE(dropOn(form->queueWindow()->grid()->viewport(), drag.get()));
    EXPECT_EQ(home.dm->LabelsInQueue(), 0);

    ASSERT_TRUE(dropOn(swlGrid, drag.get()));
    EXPECT_EQ(swl->reportCount(), 2);
    EXPECT_EQ(swl->swlOwnCall(), QStringLiteral("DL0QX"));
    dbase::Table& reports = home.dm->swl().SWLTable();
    reports.first();
    EXPECT_EQ(reports.text("HRDC"), "QA1ABC");
    EXPECT_EQ(reports.text("DATE"), "20240315");
    EXPECT_EQ(reports.text("TIME"), "1000");
    EXPECT_EQ(reports.text("BAND"), "20m");
    EXPECT_EQ(reports.text("MODE"), "CW");
    EXPECT_EQ(reports.text("MYCALL"), "DL0QX");
    reports.next();
    EXPECT_EQ(reports.text("HRDC"), "QB2X");
    EXPECT_EQ(reports.text("TIME"), "1001");

    // QSOs of another own call are refused while these reports wait.
    selectRows(*other, {0});
    const auto foreign = dragOfSelection(*other);
    EXPECT_FALSE(dropOn(swlGrid, foreign.get()));
    EXPECT_EQ(swl->reportCount(), 2);

    // Answered for the listener: one label with both reports, for the own call.
    auto* call = swl->findChild<QLineEdit*>(QStringLiteral("swlCallEdit"));
    call->setText(QStringLiteral("ONL4321"));
    swl->findChild<QPushButton*>(QStringLiteral("printQueueButton"))->click();
    EXPECT_EQ(home.dm->LabelsInQueue(), 1);
    EXPECT_EQ(swl->reportCount(), 0);
    dbase::Table& queue = home.dm->printQueue().QXPQTable();
    queue.first();
    EXPECT_EQ(queue.text("NUMQSOS"), "2");
    EXPECT_EQ(queue.text("MYCALL"), "DL0QX");
    EXPECT_EQ(queue.text("INDEXB"), "ONL4321");

    // With the table empty again, the other log's QSOs are taken.
    swl->findChild<QPushButton*>(QStringLiteral("clearButton"))->click();
    EXPECT_TRUE(dropOn(swlGrid, foreign.get()));
    EXPECT_EQ(swl->swlOwnCall(), QStringLiteral("OE1XYZ"));
    reports.first();
    EXPECT_EQ(reports.text("HRDC"), "QC3Y");
    EXPECT_EQ(reports.text("MODE"), "FT8");
    EXPECT_EQ(prompter.shown.size(), 1u); // only the question about the label design
}

TEST(SwlDrag, TheCurrentQsoTravelsWhenNothingIsSelectedAndTheLogKeepsItsPlace)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("mine", {{"QA1ABC"}, {"QB2X"}, {"QC3Y"}});
    auto form = showForm(*home.dm, {"mine"});
    TMDIChild& log = *form->logWindows().front();
    log.moveTo(2);
    QTableView* grid = log.grid();
    grid->clearSelection();
    // A press on a row without a selection drags that row.
    std::unique_ptr<QMimeData> drag(grid->model()->mimeData({grid->model()->index(2, 0)}));
    ASSERT_TRUE(drag->hasFormat(QString::fromLatin1(kQsoRowsMimeType)));
    const auto qsos = readQsoDrag(drag.get());
    ASSERT_TRUE(qsos.has_value());
    ASSERT_EQ(qsos->qsos.size(), 1u);
    EXPECT_EQ(qsos->qsos[0].call, QStringLiteral("QC3Y"));
    EXPECT_EQ(qsos->ownCall, QStringLiteral("DL0QX"));
    log.moveTo(0);
    std::unique_ptr<QMimeData> again(grid->model()->mimeData({grid->model()->index(1, 3)}));
    ASSERT_TRUE(readQsoDrag(again.get()).has_value());
    EXPECT_EQ(readQsoDrag(again.get())->qsos[0].call, QStringLiteral("QB2X"));
    EXPECT_EQ(log.currentText("CALL"), "QA1ABC"); // reading the rows moved nothing
}

TEST(SwlDrag, AWholeLargeLogDragsForThePrintQueueOnly)
{
    YesPrompter prompter;
    UiHome home(prompter);
    const size_t n = LogTableModel::kMaxDraggedQsos + 1;
    CreateLogTable(home.dm->QXLogPath, "big");
    const LogPaths p = logPaths(home.dm->QXLogPath, "big");
    CreateLogDescriptor(p.table);
    writeLogDescriptor(p.descriptor, {"DL0QX", {}});
    {
        dbase::Table log;
        openLog(log, p.table, 0);
        log.appendMany(n, [&](size_t i) {
            log.setText("CALL", "QA" + std::to_string(i));
            log.setText("DATE", "20240101");
            log.setText("TIME", "1200");
            log.setText("BAND", "20m");
            log.setText("MODE", "CW");
        });
        ensureQmgrIndex(log);
    }
    TMDIChild log(*home.dm, "big");
    ASSERT_EQ(log.model()->rowCount(), static_cast<int>(n));
    log.grid()->selectAll();
    const auto all = dragOfSelection(log);
    EXPECT_TRUE(all->hasFormat(QString::fromLatin1(kQsoRowsMimeType)));
    EXPECT_FALSE(all->hasFormat(QString::fromLatin1(kQsoMimeType)));
    log.grid()->selectionModel()->select(log.grid()->model()->index(0, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    const auto fewer = dragOfSelection(log);
    ASSERT_TRUE(readQsoDrag(fewer.get()).has_value());
    EXPECT_EQ(readQsoDrag(fewer.get())->qsos.size(), LogTableModel::kMaxDraggedQsos);
}

} // namespace
} // namespace qx7
