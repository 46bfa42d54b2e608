#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/SplashWindow.h"
#include "ui/TQXForm.h"

#include <QMdiArea>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(MainWindow, SplashAdvancesOneStepAtATime)
{
    SplashWindow splash(4);
    for (int i = 1; i <= 4; ++i) {
        splash.advance();
        EXPECT_EQ(splash.position(), i);
    }
}

} // namespace
} // namespace qx7
