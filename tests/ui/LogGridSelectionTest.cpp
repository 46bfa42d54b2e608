// The log window's grid selects whole rows, also when rows are selected already: by
// mouse (click, Ctrl+click, Shift+click), by Shift+arrows, and after "Call" selected a
// station's QSOs; marked QSOs are selected like any other.

#include "UiFixture.h"

#include <QAction>
#include <QDir>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace qx7 {
namespace {

using namespace uitest;

class LogGridSelection : public ::testing::Test
{
protected:
    LogGridSelection() : home(prompter)
    {
        std::vector<Qso> qsos;
        for (const char* call : {"DL1AA", "DL2BB", "DL3CC", "DL3CC", "DL3CC", "DL4DD", "DL5EE",
                                 "DL6FF", "DL7GG", "DL8HH"})
            qsos.emplace_back(call, "20240101", "20m", "SSB", "N", "", true);
        home.makeLog("sel", qsos);
        form = showForm(*home.dm, {"sel.qx7"});
        window = form->activeLogWindow();
        grid = window ? window->grid() : nullptr;
    }

    QPoint cellCentre(int row, int column = 1)
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    void click(int row, Qt::KeyboardModifiers mods = {}, int column = 1)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, cellCentre(row, column));
        QCoreApplication::processEvents();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(grid, k, mods);
        QCoreApplication::processEvents();
    }
    // The selected rows, after checking that every selected cell's row is selected whole.
    std::set<int> wholeRows()
    {
        QItemSelectionModel* sel = grid->selectionModel();
        std::set<int> rows;
        for (const QModelIndex& i : sel->selectedIndexes())
            rows.insert(i.row());
        for (int r : rows)
            EXPECT_TRUE(sel->isRowSelected(r, {})) << "row " << r << " only partly selected";
        return rows;
    }

    YesPrompter prompter;
    UiHome home;
    std::unique_ptr<TQXForm> form;
    TMDIChild* window = nullptr;
    QTableView* grid = nullptr;
};

TEST_F(LogGridSelection, MouseAndShiftArrowsSelectWholeRowsOverASelection)
{
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->model()->rowCount(), 10);
    grid->setFocus();

    click(1);
    EXPECT_EQ(wholeRows(), (std::set<int>{1}));
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(wholeRows(), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(window->selectedRows().size(), 3u);

    // Ctrl+click adds a row; Shift+click stretches from the anchor; both in other columns.
    click(6, Qt::ControlModifier, 3);
    EXPECT_EQ(wholeRows(), (std::set<int>{1, 2, 3, 6}));
    click(8, Qt::ShiftModifier, 0);
    EXPECT_EQ(wholeRows(), (std::set<int>{1, 2, 3, 6, 7, 8}));
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(wholeRows(), (std::set<int>{1, 2, 3, 6, 7}));

    // A plain click ends the selection: one whole row.
    click(4, {}, 2);
    EXPECT_EQ(wholeRows(), (std::set<int>{4}));
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(wholeRows(), (std::set<int>{4, 5}));
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(window->grab().save(QDir(dir).filePath("log-grid-selection.png")));
    }
}

TEST_F(LogGridSelection, AfterCallSelectionShiftArrowsAndClicksStillTakeWholeRows)
{
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    click(3);
    form->action("SelectCallAction")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(wholeRows(), (std::set<int>{2, 3, 4}));
    grid->setFocus();
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(wholeRows().count(4));
    click(7, Qt::ControlModifier, 2);
    EXPECT_TRUE(wholeRows().count(7));
    click(9, Qt::ShiftModifier, 4);
    EXPECT_TRUE(wholeRows().count(8));
    EXPECT_TRUE(wholeRows().count(9));

    // "Unselect" keeps the current row only, whole.
    form->action("UnselectAction")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(wholeRows().size(), 1u);
    EXPECT_TRUE(window->selectedRows().empty());
}

} // namespace
} // namespace qx7
