// The log grid setup, walked as a user does it from the main window (Ctrl+Shift+G): the
// columns chosen, moved and retitled in the dialog show in every log window, stay for
// windows opened later and for the next start, Cancel changes nothing, and "Default"
// brings the shipped columns back everywhere.

#include "UiFixture.h"

#include "core/IniFile.h"
#include "store/LogGridSetup.h"
#include "ui/report/TQXLogGridSetupForm.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace qx7 {
namespace {

using namespace uitest;

// The column titles a log grid shows, left to right.
std::vector<std::string> shownTitles(const QTableView& grid)
{
    std::vector<std::string> titles;
    const QHeaderView* h = grid.horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int col = h->logicalIndex(v);
        if (!h->isSectionHidden(col))
            titles.push_back(
                grid.model()->headerData(col, Qt::Horizontal).toString().toStdString());
    }
    return titles;
}

std::vector<std::string> shippedTitles()
{
    std::vector<std::string> titles;
    for (const GridColumn& c : shippedGridLayout().columns)
        titles.push_back(c.title);
    return titles;
}

int rowOfField(QListWidget* list, const char* field)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toString() == QLatin1String(field))
            return i;
    return -1;
}

// Runs the grid setup from the main window's action; `walk` acts in the open dialog.
void runSetup(TQXForm& form, const std::function<void(TQXLogGridSetupForm&)>& walk)
{
    bool walked = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TQXLogGridSetupForm*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        walk(*dlg);
        walked = true;
        if (dlg->isVisible())
            dlg->reject();
    });
    form.action("LogGridSetupAction")->trigger();
    EXPECT_TRUE(walked);
}

class LogGridSetupWindow : public ::testing::Test
{
protected:
    LogGridSetupWindow() : home(prompter)
    {
        home.makeLog("one", {Qso("DL1AA"), Qso("F5XYZ", "20231224", "40m", "CW")});
        home.makeLog("two", {Qso("G4ABC")});
    }
    YesPrompter prompter;
    UiHome home;
};

TEST_F(LogGridSetupWindow, ColumnsChosenInTheDialogShowInEveryLogWindowAndStay)
{
    auto form = showForm(*home.dm, {"one.qx7", "two.qx7"});
    ASSERT_EQ(form->logWindows().size(), 2u);
    EXPECT_TRUE(form->action("LogGridSetupAction")->isEnabled());
    EXPECT_EQ(shownTitles(*form->logWindows()[0]->grid()), shippedTitles());

    runSetup(*form, [](TQXLogGridSetupForm& dlg) {
        QListWidget* list = dlg.fieldList();
        EXPECT_EQ(dlg.findChild<QComboBox*>("PredefinedSettings")->currentText(), "Default");
        // Comment out, Sub-Mode in and moved to just after Mode.
        list->item(rowOfField(list, "COMM"))->setCheckState(Qt::Unchecked);
        const int subm = rowOfField(list, "SUBM");
        list->item(subm)->setCheckState(Qt::Checked);
        list->model()->moveRows({}, subm, 1, {}, rowOfField(list, "MODE") + 1);
        // Call retitled and widened.
        list->setCurrentRow(rowOfField(list, "CALL"));
        auto* title = dlg.findChild<QLineEdit*>("TitleCaption");
        title->selectAll();
        QTest::keyClicks(title, "Rufzeichen");
        dlg.findChild<QSpinBox*>("ColumnWidth")->setValue(20);
        // The date as the user wants it.
        auto* format = dlg.findChild<QLineEdit*>("DateFormat");
        format->selectAll();
        QTest::keyClicks(format, "yyyy-mm-dd");
        EXPECT_EQ(dlg.findChild<QComboBox*>("PredefinedSettings")->currentText(), "User settings");
        // The preview shows it before OK.
        const auto preview = shownTitles(*dlg.preview());
        EXPECT_EQ(preview.front(), "Rufzeichen");
        EXPECT_EQ(std::count(preview.begin(), preview.end(), "Comment"), 0);
        QTest::mouseClick(dlg.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    });

    std::vector<std::string> expected = shippedTitles();
    expected.front() = "Rufzeichen";
    expected.erase(std::find(expected.begin(), expected.end(), "Comment"));
    expected.insert(std::find(expected.begin(), expected.end(), "Mode") + 1, "Sub-Mode");
    for (TMDIChild* w : form->logWindows()) {
        EXPECT_EQ(shownTitles(*w->grid()), expected) << w->logName().toStdString();
        EXPECT_GT(w->grid()->columnWidth(LogTableModel::CallColumn),
                  19 * w->grid()->fontMetrics().horizontalAdvance('0'));
    }
    QAbstractItemModel* m = form->logWindows()[0]->model();
    EXPECT_EQ(m->data(m->index(1, LogTableModel::DateColumn)).toString(), "2023-12-24");

    // Kept for the next start: the choice, the options and the user's layout file.
    const IniFile ini(home.dm->iniPath());
    EXPECT_EQ(ini.readInteger("System", "LogGridSetup", -1), 2);
    EXPECT_EQ(ini.readString("LogGridOptions", "DateDisplayFormat", ""), "yyyy-mm-dd");
    EXPECT_TRUE(ini.readBool("LogGridOptions", "dgTitles", false));
    const auto saved = loadGridLayout(home.dm->QXUserPath + "/qx7u.obj");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->columns.front().title, "Rufzeichen");
    TMDIChild later(*home.dm, "two");
    EXPECT_EQ(shownTitles(*later.grid()), expected);

    // Cancel changes nothing.
    runSetup(*form, [](TQXLogGridSetupForm& dlg) {
        QListWidget* list = dlg.fieldList();
        list->item(rowOfField(list, "CALL"))->setCheckState(Qt::Unchecked);
        QTest::mouseClick(dlg.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(shownTitles(*form->logWindows()[1]->grid()), expected);
    EXPECT_EQ(IniFile(home.dm->iniPath()).readInteger("System", "LogGridSetup", -1), 2);

    // "Default" brings the shipped columns back in every window.
    runSetup(*form, [](TQXLogGridSetupForm& dlg) {
        dlg.choosePredefined(0);
        EXPECT_EQ(shownTitles(*dlg.preview()), shippedTitles());
        QTest::mouseClick(dlg.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    });
    for (TMDIChild* w : form->logWindows())
        EXPECT_EQ(shownTitles(*w->grid()), shippedTitles());
    EXPECT_EQ(IniFile(home.dm->iniPath()).readInteger("System", "LogGridSetup", -1), 0);
}

TEST_F(LogGridSetupWindow, ADamagedLayoutFileLeavesTheShippedColumns)
{
    home.dm->LogGridSetup = 2;
    std::filesystem::create_directories(home.dm->QXUserPath);
    {
        std::ofstream f(home.dm->QXUserPath + "/qx7u.obj", std::ios::binary);
        f << "QX7 log grid layout 1\r\nCALL\t0\t0\t";
    }
    TMDIChild w(*home.dm, "one");
    EXPECT_EQ(shownTitles(*w.grid()), shippedTitles());
    EXPECT_EQ(shownCalls(w), (std::vector<std::string>{"DL1AA", "F5XYZ"}));
}

TEST_F(LogGridSetupWindow, TheFavoriteIsCompactOnBlackAndItsTextReadable)
{
    auto form = showForm(*home.dm, {"one.qx7"});
    runSetup(*form, [](TQXLogGridSetupForm& dlg) {
        dlg.choosePredefined(1);
        QTest::mouseClick(dlg.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    });
    QTableView* grid = form->logWindows()[0]->grid();
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_FALSE(grid->showGrid());
    EXPECT_LT(shownTitles(*grid).size(), shippedTitles().size());
    EXPECT_EQ(home.dm->LogGridSetup, 1);
}

} // namespace
} // namespace qx7
