// The open-log and new-log dialogs walked with mouse and keys: opening logs from the
// list, busy and damaged logs, sorting, deleting after two questions, making a new log
// from an ADIF file, and an ADIF file without QSOs that must not replace a log.

#include "UiFixture.h"

#include "store/LogFiles.h"
#include "ui/logfiles/TQXDirectoryDlgForm.h"
#include "ui/logfiles/TQXNewLogForm.h"
#include "ui/logfiles/TQXOpenLogForm.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using uitest::Qso;
using uitest::UiHome;

// Answers from a list (Yes once the list is used up) and keeps the texts.
class AnswerPrompter : public SilentPrompter
{
public:
    std::deque<PromptButton> answers;
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override
    {
        SilentPrompter::ask(icon, text, buttons);
        if (!answers.empty()) {
            const PromptButton a = answers.front();
            answers.pop_front();
            return a;
        }
        return hasButton(buttons, PromptButton::Yes) ? PromptButton::Yes : PromptButton::Ok;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const auto& s : shown)
            t.push_back(s.text);
        return t;
    }
};

class LogFilesWindows : public ::testing::Test
{
protected:
    LogFilesWindows() : home(prompter)
    {
        home.makeLog("alpha", {Qso("DL1AA"), Qso("DL1AB")});
        home.makeLog("bravo", {Qso("F5AA"), Qso("F5AB"), Qso("F5AC")});
    }
    TQXDM& dm() { return *home.dm; }
    static QString cell(TQXOpenLogForm& f, int row, int col)
    {
        return f.model()->index(row, col).data().toString();
    }
    static int rowOf(TQXOpenLogForm& f, const QString& name)
    {
        for (int r = 0; r < f.model()->rowCount(); ++r)
            if (cell(f, r, 0) == name)
                return r;
        return -1;
    }
    static void clickRow(TQXOpenLogForm& f, int row, Qt::KeyboardModifiers mods = {})
    {
        QTreeView* v = f.detailView();
        const QRect r = v->visualRect(f.model()->index(row, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, mods, r.center());
    }
    static QString status(QWidget& w, const char* name)
    {
        return w.findChild<QLabel*>(QLatin1String(name))->text();
    }
    static QPushButton* button(QWidget& w, const char* name)
    {
        return w.findChild<QPushButton*>(QLatin1String(name));
    }

    AnswerPrompter prompter;
    UiHome home;
};

TEST_F(LogFilesWindows, ALogChosenInTheListOpensAsALogWindow)
{
    auto form = uitest::showForm(dm(), {});
    ASSERT_TRUE(form->action("OpenLogAction")->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TQXOpenLogForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        EXPECT_EQ(status(*dlg, "StatusPart1"), " 2 Log(s) found");
        EXPECT_FALSE(button(*dlg, "OpenButton")->isEnabled());
        EXPECT_EQ(cell(*dlg, 0, 0), "alpha");
        EXPECT_EQ(cell(*dlg, 1, 1), "DL0QX");
        EXPECT_EQ(cell(*dlg, 1, 2), "3");
        clickRow(*dlg, rowOf(*dlg, "bravo"));
        EXPECT_TRUE(button(*dlg, "OpenButton")->isEnabled());
        EXPECT_EQ(status(*dlg, "StatusPart1"), " 1 Log(s) selected");
        EXPECT_EQ(status(*dlg, "StatusPart2"), " DL0QX");
        QTest::keyClick(dlg->detailView(), Qt::Key_Return);
    });
    form->action("OpenLogAction")->trigger();
    ASSERT_TRUE(seen);
    ASSERT_EQ(form->logWindows().size(), 1u);
    EXPECT_EQ(form->logWindows()[0]->logName(), "bravo");
    EXPECT_EQ(uitest::shownCalls(*form->logWindows()[0]),
              (std::vector<std::string>{"F5AA", "F5AB", "F5AC"}));
    EXPECT_TRUE(form->action("StatisticsAction")->isEnabled());
    EXPECT_TRUE(form->action("FooterLinesAction")->isEnabled());
}

TEST_F(LogFilesWindows, EscapeOpensNothingAndAnEmptyFolderLeavesOpenDisabled)
{
    auto form = uitest::showForm(dm(), {});
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TQXOpenLogForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        clickRow(*dlg, 0);
        QTest::keyClick(dlg->detailView(), Qt::Key_Escape);
    });
    form->action("OpenLogAction")->trigger();
    EXPECT_TRUE(form->logWindows().empty());
    EXPECT_TRUE(dm().PendingLogs().empty());

    dm().QXLogPath = home.dir.path().toStdString() + "/nologs";
    fs::create_directories(dm().QXLogPath);
    TQXOpenLogForm empty(dm(), 3);
    EXPECT_EQ(status(empty, "StatusPart1"), " 0 Log(s) found");
    EXPECT_FALSE(button(empty, "OpenButton")->isEnabled());
}

TEST_F(LogFilesWindows, BusyAndDamagedLogsSayWhatIsWrongAndSortBelow)
{
    home.makeLog("charlie", {Qso("G0AA")});
    std::ofstream(dm().QXLogPath + "/delta.qx7", std::ios::binary) << "not a table";
    std::ofstream(dm().QXLogPath + "/delta.dbf", std::ios::binary) << "short";
    const std::string busy = logPaths(dm().QXLogPath, "charlie").table;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        dbase::Table t;
        openLog(t, busy, 0);
        char ok = 'y';
        (void)::write(fds[1], &ok, 1);
        for (;;)
            ::pause();
    }
    char ok = 'n';
    ASSERT_EQ(::read(fds[0], &ok, 1), 1);
    TQXOpenLogForm form(dm(), 3);
    form.show();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);

    EXPECT_EQ(cell(form, rowOf(form, "charlie"), 3), kLogInUse);
    EXPECT_EQ(cell(form, rowOf(form, "delta"), 1), kDamagedDescriptor);
    EXPECT_EQ(cell(form, rowOf(form, "delta"), 2), "?");
    // QSOs ascending, then descending: the busy log stays last both times.
    for (const auto& order : {std::vector<QString>{"delta", "alpha", "bravo", "charlie"},
                              std::vector<QString>{"bravo", "alpha", "delta", "charlie"}}) {
        QHeaderView* header = form.detailView()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
        std::vector<QString> names;
        for (int r = 0; r < form.model()->rowCount(); ++r)
            names.push_back(cell(form, r, 0));
        EXPECT_EQ(names, order);
    }
}

TEST_F(LogFilesWindows, DeletingAsksTwiceAndOnlyTwoYesAnswersDelete)
{
    TQXOpenLogForm form(dm(), 3);
    form.show();
    clickRow(form, rowOf(form, "alpha"));
    prompter.answers = {PromptButton::Yes, PromptButton::No};
    QTest::mouseClick(button(form, "DeleteButton"), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(dm().QXLogPath + "/alpha.dbf"));
    EXPECT_EQ(form.model()->rowCount(), 2);

    clickRow(form, rowOf(form, "alpha"));
    QTest::mouseClick(button(form, "DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Are you sure to delete this log?", "Are you really sure?",
                                        "Are you sure to delete this log?", "Are you really sure?",
                                        "Log deleted!"}));
    for (const char* ext : {".dbf", ".mdx", ".qx7"})
        EXPECT_FALSE(fs::exists(dm().QXLogPath + "/alpha" + ext)) << ext;
    ASSERT_EQ(form.model()->rowCount(), 1);
    EXPECT_EQ(cell(form, 0, 0), "bravo");
}

TEST_F(LogFilesWindows, ALogOpenInAWindowIsNotDeletedFromTheList)
{
    auto form = uitest::showForm(dm(), {"bravo"});
    TQXOpenLogForm dlg(dm(), 3);
    dlg.show();
    clickRow(dlg, rowOf(dlg, "bravo"));
    QTest::mouseClick(button(dlg, "DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, "The log \"bravo\" was not deleted: log in use");
    EXPECT_TRUE(fs::exists(dm().QXLogPath + "/bravo.dbf"));
}

TEST_F(LogFilesWindows, ANewLogFromAnAdifFileOpensWithItsQsos)
{
    auto form = uitest::showForm(dm(), {});
    const QString adif = QString::fromStdString(dm().QXTmpPath + "/sample.adi");
    form->setFileChooser(
        [&](const QString&, const QString&, const QString&, bool) { return adif; });
    QString outcome;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TQXNewLogForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QPushButton* start = button(*dlg, "StartButton");
        QTest::mouseClick(button(*dlg, "BrowseButton"), Qt::LeftButton);
        EXPECT_EQ(dlg->findChild<QLineEdit*>("SaveAsEdit")->text(), "sample");
        auto* call = dlg->findChild<QLineEdit*>("CallEdit");
        QTest::keyClicks(call, "qa");
        EXPECT_EQ(call->text(), "QA");
        EXPECT_FALSE(start->isEnabled());
        QTest::keyClicks(call, "1-");
        EXPECT_EQ(call->text(), "QA1");
        EXPECT_TRUE(start->isEnabled());
        EXPECT_EQ(start->text(), "&Start Conversion");
        QTest::mouseClick(start, Qt::LeftButton);
        outcome = dlg->outcome();
        EXPECT_TRUE(button(*dlg, "CloseButton")->isVisible());
        QTest::mouseClick(button(*dlg, "CloseButton"), Qt::LeftButton);
    });
    form->action("NewLogAction")->trigger();
    EXPECT_EQ(outcome, "New log \"sample\" made.");
    ASSERT_EQ(form->logWindows().size(), 1u);
    TMDIChild* w = form->logWindows()[0];
    EXPECT_EQ(w->logName(), "sample");
    EXPECT_EQ(w->OwnCall(), "QA1");
    EXPECT_EQ(w->model()->rowCount(), 320);
}

TEST_F(LogFilesWindows, AnAdifFileWithoutQsosNeverReplacesALog)
{
    const std::string empty = dm().QXTmpPath + "/empty.adi";
    std::ofstream(empty) << "ADIF export\n<EOH>\n";
    TQXNewLogForm dlg(dm(), QString::fromStdString(empty));
    dlg.show();
    EXPECT_FALSE(button(dlg, "BrowseButton")->isEnabled());
    auto* saveAs = dlg.findChild<QLineEdit*>("SaveAsEdit");
    saveAs->setText("bravo");
    QTest::keyClicks(dlg.findChild<QLineEdit*>("CallEdit"), "DL0QX");
    QTest::mouseClick(button(dlg, "StartButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.at(0).text, "Log exists! Overwrite?");
    EXPECT_TRUE(dlg.outcome().startsWith("No log was made")) << dlg.outcome().toStdString();
    QTest::mouseClick(button(dlg, "CloseButton"), Qt::LeftButton);
    EXPECT_TRUE(dlg.resultPath().isEmpty());
    const LogFileRow row = readLogFileRow(dm().QXLogPath + "/bravo.qx7");
    EXPECT_EQ(row.qsos, "3");
}

TEST_F(LogFilesWindows, AnEmptyLogIsMadeWithoutAFile)
{
    TQXNewLogForm dlg(dm());
    dlg.show();
    QTest::keyClicks(dlg.findChild<QLineEdit*>("SaveAsEdit"), "fresh");
    QTest::keyClicks(dlg.findChild<QLineEdit*>("CallEdit"), "dl9xyz");
    QTest::mouseClick(button(dlg, "StartButton"), Qt::LeftButton);
    QTest::mouseClick(button(dlg, "CloseButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.resultPath().toStdString(), dm().QXLogPath + "/fresh");
    const LogFileRow row = readLogFileRow(dm().QXLogPath + "/fresh.qx7");
    EXPECT_EQ(row.call, "DL9XYZ");
    EXPECT_EQ(row.qsos, "0");
}

TEST_F(LogFilesWindows, ChooseFolderReturnsTheTreeFolderOrTheStartFolder)
{
    const QString start = home.dir.path();
    fs::create_directories(home.dir.path().toStdString() + "/inner");
    TQXDirectoryDlgForm dlg(start);
    dlg.setFolder(start + "/inner");
    EXPECT_EQ(dlg.folder(), start + "/inner");
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(TQXDirectoryDlgForm::choose(start), start);
}

} // namespace
} // namespace qx7
