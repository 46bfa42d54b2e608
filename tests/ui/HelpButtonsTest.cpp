// Every window's Help button, F1 and the Help menu open a topic that has a page: the
// topics are collected by pressing the buttons, not from a list kept beside the windows.

#include "UiFixture.h"

#include "ui/edit/TQXQslDateDlg.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include "HelpPress.h"
#include "ui/logfiles/TQXNewLogForm.h"
#include "ui/logfiles/TQXOpenLogForm.h"
#include "ui/manager/TQXManagerDlg.h"
#include "ui/report/TQXFooterLinesForm.h"
#include "ui/report/TQXLogGridSetupForm.h"
#include "ui/report/TQXStatisticsForm.h"
#include "ui/swl/SwlWindow.h"

#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qx7 {
namespace {

using namespace uitest;

using namespace helptest;

TEST(HelpButtons, EveryWindowOpensATopicThatHasAPage)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("one", {{"QA1ABC"}, {"QB2X"}});
    TMDIChild log(*home.dm, "one");
    std::optional<Date> sent, rcvd;

    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<SwlWindow>(*home.dm));
    windows.push_back(std::make_unique<TQXManagerDlg>(*home.dm));
    windows.push_back(std::make_unique<TQXNewLogForm>(*home.dm));
    windows.push_back(std::make_unique<TQXOpenLogForm>(*home.dm, 0));
    windows.push_back(std::make_unique<TQXQslDateDlg>(sent, rcvd));
    windows.push_back(std::make_unique<TQXStatisticsForm>(*home.dm, log));
    windows.push_back(std::make_unique<TQXLogGridSetupForm>(*home.dm, log));
    windows.push_back(std::make_unique<TQXFooterLinesForm>(*home.dm, log));

    QSet<QString> asked;
    for (const auto& w : windows) {
        const std::string name = w->metaObject()->className();
        QPushButton* help = helpButtonOf(*w);
        ASSERT_NE(help, nullptr) << name;
        const QString topic = topicOpenedBy([help] { help->click(); });
        ASSERT_FALSE(topic.isEmpty()) << name << " opened no topic";
        EXPECT_TRUE(help::topicExists(topic)) << name << ": " << topic.toStdString();
        EXPECT_TRUE(help::topicsWindowsAsk().contains(topic)) << topic.toStdString();
        asked << topic;
    }

    // The Help menu of the main window.
    auto form = showForm(*home.dm, {});
    for (const char* action : {"HelpAction1", "HelpAction2", "HelpAction3", "HelpFindAction"}) {
        const QString topic = topicOpenedBy([&] { form->action(action)->trigger(); });
        ASSERT_FALSE(topic.isEmpty()) << action;
        EXPECT_TRUE(help::topicExists(topic)) << action << ": " << topic.toStdString();
        asked << topic;
    }
    // Each window has a topic of its own (the log-search topic belongs to the date dialog).
    EXPECT_EQ(asked.size(), static_cast<qsizetype>(windows.size()) + 2);
    HelpWindow::instance()->close();
}

} // namespace
} // namespace qx7
