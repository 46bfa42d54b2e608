// Editing QSOs from the main window: the edit window's field checks and save, marks,
// QSL flags on a selection, the QSL date dialog, delete with confirmation and Escape.

#include "UiFixture.h"

#include "store/QsoEdit.h"
#include "ui/edit/TQXQslDateDlg.h"
#include "ui/edit/TQXQsoEditForm.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;

// A field of a record as a fresh open of the file sees it.
std::string onDisk(TQXDM& dm, const char* call, const char* field)
{
    dbase::Table t;
    t.open(logPaths(dm.QXLogPath, "ed").table, {dbase::OpenMode::ReadOnly, {}});
    for (t.first(); !t.eof(); t.next())
        if (t.text("CALL") == call)
            return t.text(field);
    return "?";
}

TEST(QsoEditWindow, BadValuesAreRefusedGoodOnesReachTheFile)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("ed", {{"DL1ABC"}, {"W1AW"}});
    auto form = showForm(*home.dm, {"ed"});
    TMDIChild& log = *form->logWindows().front();
    log.moveTo(1);
    form->findChild<QAction*>("F4Action")->trigger();
    TQXQsoEditForm* edit = form->editWindow();
    ASSERT_TRUE(edit && edit->isVisible());
    EXPECT_EQ(edit->field("CALL")->text(), "W1AW");

    QLineEdit* time = edit->field("TIME");
    time->setFocus();
    time->selectAll();
    QTest::keyClicks(time, "2400");
    emit time->editingFinished(); // leaving the field (offscreen windows get no focus change)
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "No valid time!");

    time->setText("2359");
    QLineEdit* call = edit->field("CALL");
    call->setText("K1");
    QTest::mouseClick(edit->button("Save"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, "No valid callsign!");
    EXPECT_EQ(onDisk(*home.dm, "W1AW", "TIME"), "1001");

    call->clear();
    QTest::keyClicks(call, "w1aw/p"); // typed in lower case, stored upper
    QTest::mouseClick(edit->button("Save"), Qt::LeftButton);
    EXPECT_EQ(onDisk(*home.dm, "W1AW/P", "TIME"), "2359");

    // Escape drops what was typed.
    edit->field("COMM")->setText("typo");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->field("COMM")->text(), "");

    // Delete asks first; the Yes answer removes the QSO.
    const size_t asked = prompter.shown.size();
    QTest::mouseClick(edit->button("Delete"), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), asked + 1);
    EXPECT_EQ(prompter.shown.back().text, "Delete QSO W1AW/P?");
    EXPECT_EQ(onDisk(*home.dm, "W1AW/P", "CALL"), "?");
    EXPECT_EQ(shownCalls(log).front(), "DL1ABC");

    form->findChild<QAction*>("F4Action")->trigger();
    EXPECT_FALSE(edit->isVisible());
}

TEST(QsoEditWindow, BandsAndModesAreCheckedBeforeTheRecordIsWritten)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("ed", {{"DL1ABC"}});
    auto form = showForm(*home.dm, {"ed"});
    form->logWindows().front()->moveTo(0);
    form->findChild<QAction*>("F4Action")->trigger();
    TQXQsoEditForm* edit = form->editWindow();
    ASSERT_TRUE(edit && edit->isVisible());

    edit->field("BAND")->setText("11m");
    QTest::mouseClick(edit->button("Save"), Qt::LeftButton);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, kNoValidBand);
    EXPECT_EQ(onDisk(*home.dm, "DL1ABC", "BAND"), "20m");

    // A good band with a bad mode: the whole record stays as it was.
    edit->field("BAND")->setText("40m");
    edit->field("MODE")->setText("CWX");
    QTest::mouseClick(edit->button("Save"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, kNoValidMode);
    EXPECT_EQ(onDisk(*home.dm, "DL1ABC", "BAND"), "20m");
    EXPECT_EQ(onDisk(*home.dm, "DL1ABC", "MODE"), "SSB");

    edit->field("MODE")->setText("CW");
    const size_t asked = prompter.shown.size();
    QTest::mouseClick(edit->button("Save"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.size(), asked);
    EXPECT_EQ(onDisk(*home.dm, "DL1ABC", "BAND"), "40m");
    EXPECT_EQ(onDisk(*home.dm, "DL1ABC", "MODE"), "CW");
}

TEST(QsoEditWindow, ADeletedQsoLeavesTheGridAtOnce)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("ed", {{"AA1AA"}, {"BB1BB"}, {"CC1CC"}, {"DD1DD"}});
    auto form = showForm(*home.dm, {"ed"});
    TMDIChild& log = *form->logWindows().front();
    form->findChild<QAction*>("F4Action")->trigger();
    TQXQsoEditForm* edit = form->editWindow();
    ASSERT_TRUE(edit);

    log.moveTo(1);
    edit->load();
    QTest::mouseClick(edit->button("Delete"), Qt::LeftButton);
    EXPECT_EQ(shownCalls(log), (std::vector<std::string>{"AA1AA", "CC1CC", "DD1DD"}));
    EXPECT_EQ(log.findChild<QLabel*>("CountPanel")->text(), "3 QSO(s)");
    EXPECT_EQ(log.currentText("CALL"), log.model()->callAt(log.currentRow()).toStdString());

    // The last row, then the one before it: no blank row is left behind.
    log.Last();
    edit->load();
    QTest::mouseClick(edit->button("Delete"), Qt::LeftButton);
    EXPECT_EQ(shownCalls(log), (std::vector<std::string>{"AA1AA", "CC1CC"}));
    log.moveTo(1);
    edit->load();
    EXPECT_EQ(edit->field("CALL")->text(), "CC1CC");

    // In another order too.
    form->findChild<QAction*>("F4Action")->trigger();
    log.ApplyIndex(1);
    log.showSearchResult(false);
    EXPECT_EQ(shownCalls(log), (std::vector<std::string>{"AA1AA", "CC1CC"}));
}

TEST(QsoEditWindow, MarksAndQslFlagsOnTheSelection)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("ed", {{"AA1AA", "20240101", "20m", "SSB", "N"},
                        {"BB1BB", "20240101", "20m", "SSB", "Y"},
                        {"CC1CC", "20240101", "20m", "SSB", "B"},
                        {"DD1DD", "20240101", "20m", "SSB", "I"}});
    home.dm->QSLSentDate = Date{2024, 3, 10};
    auto form = showForm(*home.dm, {"ed"});
    TMDIChild& log = *form->logWindows().front();
    QTableView* grid = log.grid();
    grid->selectionModel()->select(grid->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid->selectionModel()->select(grid->model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid->selectionModel()->select(grid->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(form.get(), Qt::Key_F8);
    for (const char* c : {"AA1AA", "BB1BB", "CC1CC"}) {
        EXPECT_EQ(onDisk(*home.dm, c, "QSLS"), "Y") << c;
        EXPECT_EQ(onDisk(*home.dm, c, "DATS"), "20240310") << c;
    }
    EXPECT_EQ(onDisk(*home.dm, "DD1DD", "QSLS"), "I");
    EXPECT_EQ(grid->model()->data(grid->model()->index(2, LogTableModel::QslsColumn)).toString(),
              "Y");

    log.Unselect();
    log.moveTo(3);
    QTest::keyClick(form.get(), Qt::Key_F8); // I → ! clears the date
    EXPECT_EQ(onDisk(*home.dm, "DD1DD", "QSLS"), "!");
    QTest::keyClick(form.get(), Qt::Key_F9);
    EXPECT_EQ(onDisk(*home.dm, "DD1DD", "QSLR"), "Y");

    log.moveTo(0);
    QTest::keyClick(form.get(), Qt::Key_F7, Qt::AltModifier);
    EXPECT_EQ(onDisk(*home.dm, "AA1AA", "MARK"), "T");
    EXPECT_EQ(log.currentRow(), 1); // moved on
    form->findChild<QAction*>("MarkAction")->trigger();
    EXPECT_EQ(onDisk(*home.dm, "BB1BB", "MARK"), "T");
    QTest::keyClick(form.get(), Qt::Key_F7, Qt::ControlModifier);
    EXPECT_EQ(onDisk(*home.dm, "AA1AA", "MARK"), "F");
    EXPECT_EQ(onDisk(*home.dm, "BB1BB", "MARK"), "F");
}

TEST(QslDateDialog, TodayNoDateAndBadText)
{
    std::optional<Date> sent = Date{2024, 3, 10};
    std::optional<Date> rcvd;
    TQXQslDateDlg dlg(sent, rcvd);
    dlg.show();
    EXPECT_EQ(dlg.sentEdit()->text(), "10-03-2024");
    QTest::mouseClick(dlg.findChild<QPushButton*>("RcvdTodayButton"), Qt::LeftButton);
    ASSERT_TRUE(rcvd.has_value()); // at once, before OK
    EXPECT_EQ(*rcvd, Date::today());

    dlg.sentEdit()->setText("31-02-2024");
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible()); // a bad date keeps the dialog open
    EXPECT_EQ(*sent, (Date{2024, 3, 10}));

    QTest::mouseClick(dlg.findChild<QPushButton*>("SentNoDateButton"), Qt::LeftButton);
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(sent.has_value());
}

} // namespace
} // namespace qx7
