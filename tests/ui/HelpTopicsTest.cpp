#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QListWidget>
#include <QSet>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(HelpTopics, EveryTopicAWindowAsksForHasAPage)
{
    for (const QString& name : help::topicsWindowsAsk())
        EXPECT_TRUE(help::topicExists(name)) << name.toStdString();
    QSet<QString> names;
    for (const help::Topic& t : help::allTopics()) {
        EXPECT_FALSE(names.contains(QLatin1String(t.name))) << "twice: " << t.name;
        names.insert(QLatin1String(t.name));
        EXPECT_GT(std::string_view(t.html).size(), 80u) << t.name;
    }
    EXPECT_FALSE(help::topicExists(QStringLiteral("no_such_topic")));
}

TEST(HelpTopics, LinksBetweenPagesLeadToPages)
{
    for (const help::Topic& t : help::allTopics()) {
        const QString html = QString::fromUtf8(t.html);
        for (qsizetype at = html.indexOf(QLatin1String("topic:")); at >= 0;
             at = html.indexOf(QLatin1String("topic:"), at + 1)) {
            const QString target = html.mid(at + 6, html.indexOf(u'"', at) - at - 6);
            EXPECT_TRUE(help::topicExists(target)) << t.name << " -> " << target.toStdString();
        }
    }
}

TEST(HelpWindowTest, OpensAtATopicAndFollowsTheList)
{
    HelpWindow* w = HelpWindow::showTopic(QStringLiteral("swl0"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->currentTopic(), QStringLiteral("swl0"));
    auto* browser = w->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QLatin1String("Answering SWL reports")));
    auto* list = w->findChild<QListWidget*>(QStringLiteral("topicList"));
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(0);
    EXPECT_EQ(w->currentTopic(), QStringLiteral("contents"));
    EXPECT_EQ(HelpWindow::showTopic(QStringLiteral("config11")), w); // one window only
    EXPECT_TRUE(browser->toPlainText().contains(QLatin1String("Folders")));
    w->close();
}

} // namespace
} // namespace qx7
