#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/TQXForm.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace qx7 {
namespace {

std::unique_ptr<TQXDM> startIn(const QTemporaryDir& dir, Prompter& prompter)
{
    DataModuleEnvironment env;
    env.programFolder = dir.path().toStdString() + "/";
    env.prompter = &prompter;
    return std::make_unique<TQXDM>(std::move(env));
}

TEST(MainWindow, IsAnMdiFrameWithTheMainMenus)
{
    QTemporaryDir dir;
    SilentPrompter prompter;
    auto dm = startIn(dir, prompter);
    TQXForm form(*dm);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QX7 - QSL Labels"));
    ASSERT_NE(form.mdiArea(), nullptr);
    for (const char* name :
         {"FileMenu", "OptionsMenu", "SearchMenu", "LogMenu", "WindowsMenu", "HelpMenu"})
        EXPECT_NE(form.menu(QString::fromLatin1(name)), nullptr) << name;
    // The first-start placement: left 40, top 40, right 800, bottom 600.
    EXPECT_EQ(form.geometry().topLeft(), QPoint(40, 40));
    EXPECT_EQ(form.geometry().size(), QSize(760, 560));
}

TEST(MainWindow, ClosingWritesTheExitSettings)
{
    QTemporaryDir dir;
    SilentPrompter prompter;
    auto dm = startIn(dir, prompter);
    {
        TQXForm form(*dm);
        form.show();
        dm->QSLSentDate.reset();
        dm->LastQXD = "card.qxd";
        form.close();
    }
    IniFile ini(dm->iniPath());
    EXPECT_EQ(ini.readString("System", "QSLsDate", ""), "0");
    EXPECT_EQ(ini.readString("System", "LastQXD", ""), "card.qxd");
    EXPECT_EQ(ini.readString("QXForm", "WindowSize", "").substr(0, 4), "0 1 ");
}

TEST(MainWindow, OpensTheQueueAtFirstShowAndClosesWithoutIt)
{
    QTemporaryDir dir;
    SilentPrompter prompter;
    auto dm = startIn(dir, prompter);
    {
        TQXForm form(*dm);
        form.show();
        EXPECT_TRUE(dm->printQueue().isOpen());
        EXPECT_EQ(dm->LabelsPerPage, 24); // from the shipped sample layout
        form.close();
    }
    dm.reset();
    // A queue file that is no table: the error names both files and the program ends.
    QFile broken(dir.filePath("qx7pq.dbf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a table at all");
    broken.close();
    dm = startIn(dir, prompter);
    TQXForm form(*dm);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dm->ShutDown);
    EXPECT_FALSE(form.isVisible());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text.rfind("Error opening the print queue!", 0), 0u);
}

// The last layout is opened at the first show: one that is gone is passed over in
// silence, a damaged one is named with its fault, and neither becomes the layout.
TEST(MainWindow, ALastLayoutThatIsGoneOrDamagedIsNotLoaded)
{
    QTemporaryDir dir;
    SilentPrompter prompter;
    const auto cannotLoad = [&] {
        return std::count_if(prompter.shown.begin(), prompter.shown.end(), [](const auto& s) {
            return s.icon == PromptIcon::Error &&
                   s.text.rfind("Cannot load the label layout: ", 0) == 0;
        });
    };
    for (const char* last : {"gone.qxd", "damaged.qxd", "sample.qxd"}) {
        SCOPED_TRACE(last);
        prompter.shown.clear();
        auto dm = startIn(dir, prompter);
        QFile sample(QString::fromStdString(dm->QXLayoutPath + "/sample.qxd"));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        const QByteArray whole = sample.readAll();
        QFile damaged(QString::fromStdString(dm->QXLayoutPath + "/damaged.qxd"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(whole.left(whole.size() / 2)); // cut off in the middle
        damaged.close();
        dm->LastQXD = last;
        TQXForm form(*dm);
        form.show();
        QCoreApplication::processEvents();
        const bool isSample = std::string(last) == "sample.qxd";
        EXPECT_EQ(form.layoutLoaded(), isSample);
        EXPECT_EQ(cannotLoad(), std::string(last) == "damaged.qxd" ? 1 : 0);
        EXPECT_TRUE(form.isVisible()); // the program goes on without a layout
        form.close();
    }
}

TEST(MainWindow, SplashAdvancesOneStepAtATime)
{
    SplashWindow splash(4);
    for (int i = 1; i <= 4; ++i) {
        splash.advance();
        EXPECT_EQ(splash.position(), i);
    }
}

// The splitter between the print queue and the log windows: a drag moves it, closing
// keeps its place in qx7.ini and the next start puts it back there.
TEST(MainWindow, TheQueueSplitterKeepsItsPlaceFromStartToStart)
{
    QTemporaryDir dir;
    SilentPrompter prompter;
    auto dm = startIn(dir, prompter);
    int dragged = 0;
    {
        TQXForm form(*dm);
        form.resize(900, 600);
        form.show();
        QCoreApplication::processEvents();
        PrintQueueWindow* queue = form.queueWindow();
        const int before = queue->width();
        // The splitter lies just right of the queue panel; drag it 120 pixels further,
        // with the events a hand on the mouse makes (the window follows each move once
        // the events before it are handled).
        const QPoint from(queue->geometry().right() + 3, queue->geometry().center().y());
        const auto send = [&form](QEvent::Type type, QPoint at) {
            const Qt::MouseButton button =
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease
                                              ? Qt::NoButton
                                              : Qt::MouseButtons(Qt::LeftButton);
            QMouseEvent event(type, QPointF(at), QPointF(form.mapToGlobal(at)), button, held, {});
            QApplication::sendEvent(&form, &event);
            QCoreApplication::processEvents();
        };
        send(QEvent::MouseButtonPress, from);
        for (int dx = 10; dx <= 120; dx += 10)
            send(QEvent::MouseMove, from + QPoint(dx, 0));
        send(QEvent::MouseButtonRelease, from + QPoint(120, 0));
        dragged = queue->width();
        EXPECT_GT(dragged, before + 60);
        form.close();
    }
    IniFile ini(dm->iniPath());
    EXPECT_FALSE(ini.readString("QXForm", "Docks", "").empty());
    // A second start with the same settings: the queue gets its dragged width back.
    TQXForm again(*dm);
    again.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(again.queueWindow()->width(), dragged);
    EXPECT_TRUE(again.queueWindow()->isVisible());
}

} // namespace
} // namespace qx7
