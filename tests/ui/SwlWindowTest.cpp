#include "ui/swl/SwlWindow.h"

#include "ui/help/HelpWindow.h"
#include "ui/log/QsoDragData.h"
#include "WindowTestHome.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qx7 {
namespace {

using testing::WatchingPrompter;
using testing::WindowTestHome;

QsoDrag twoQsosOf(const QString& ownCall)
{
    return {ownCall,
            {{"JA1XYZ", "20240315", "1203", "20m", "SSB", ""},
             {"VK2ABC", "20240316", "0810", "20m", "FT8", ""}}};
}

class SwlWindowTest : public ::testing::Test
{
protected:
    SwlWindowTest() : home(prompter), window(*home.dm) {}

    template <class W>
    W* child(const char* name)
    {
        auto* w = window.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Drops the drag on the grid as a log grid's drag would; true when it was taken.
    bool drop(const QsoDrag& drag)
    {
        std::unique_ptr<QMimeData> data(makeQsoDrag(drag));
        QWidget* target = child<QTableView>("swlGrid")->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                             Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropEvent);
        return dropEvent.isAccepted();
    }
    QAbstractItemModel* grid() { return child<QTableView>("swlGrid")->model(); }

    WatchingPrompter prompter;
    WindowTestHome home;
    SwlWindow window;
};

TEST_F(SwlWindowTest, DroppedQsosAreQueuedForTheListener)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Answer SWL QSL's"));
    auto* queue = child<QPushButton>("printQueueButton");
    auto* clear = child<QPushButton>("clearButton");
    EXPECT_FALSE(queue->isEnabled());
    EXPECT_FALSE(clear->isEnabled());

    ASSERT_TRUE(drop(twoQsosOf("DL1ABC")));
    EXPECT_EQ(window.reportCount(), 2);
    EXPECT_EQ(window.swlOwnCall(), QStringLiteral("DL1ABC"));
    EXPECT_EQ(grid()->index(1, 0).data().toString(), QStringLiteral("VK2ABC"));
    EXPECT_EQ(grid()->index(1, 5).data().toString(), QStringLiteral("DL1ABC"));
    // The own call of the reports cannot be edited by hand while it is fixed.
    EXPECT_FALSE(grid()->flags(grid()->index(0, 5)) & Qt::ItemIsEditable);
    EXPECT_TRUE(clear->isEnabled());
    EXPECT_FALSE(queue->isEnabled()); // no listener yet

    auto* call = child<QLineEdit>("swlCallEdit");
    call->setFocus();
    QTest::keyClicks(call, "onl12345");
    EXPECT_EQ(call->text(), QStringLiteral("ONL12345"));
    ASSERT_TRUE(queue->isEnabled());
    QTest::mouseClick(queue, Qt::LeftButton);
    EXPECT_EQ(home.dm->LabelsInQueue(), 1);
    EXPECT_EQ(window.reportCount(), 0);
    EXPECT_TRUE(call->text().isEmpty());
    EXPECT_FALSE(queue->isEnabled());
    dbase::Table& q = home.dm->printQueue().QXPQTable();
    q.first();
    EXPECT_EQ(q.text("NUMQSOS"), "2");
    EXPECT_TRUE(prompter.failures.empty());
}

TEST_F(SwlWindowTest, ReportsOfAnotherOwnCallAreRefusedUntilCleared)
{
    ASSERT_TRUE(drop(twoQsosOf("DL1ABC")));
    EXPECT_FALSE(drop(twoQsosOf("OE1XYZ")));
    EXPECT_EQ(window.reportCount(), 2);
    // Not a QSO drag at all.
    QMimeData text;
    text.setText(QStringLiteral("JA1XYZ"));
    EXPECT_FALSE(window.dropQsos(&text));

    QTest::mouseClick(child<QPushButton>("clearButton"), Qt::LeftButton);
    EXPECT_EQ(window.reportCount(), 0);
    EXPECT_TRUE(window.swlOwnCall().isEmpty());
    EXPECT_TRUE(drop(twoQsosOf("OE1XYZ")));
    EXPECT_EQ(window.swlOwnCall(), QStringLiteral("OE1XYZ"));
}

TEST(QsoDragFormat, ReadsBackWhatALogGridPuts)
{
    std::unique_ptr<QMimeData> data(makeQsoDrag(twoQsosOf("DL1ABC")));
    const auto back = readQsoDrag(data.get());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->ownCall, QStringLiteral("DL1ABC"));
    ASSERT_EQ(back->qsos.size(), 2u);
    EXPECT_EQ(back->qsos[1].mode, QStringLiteral("FT8"));
    QMimeData broken;
    broken.setData(QString::fromLatin1(kQsoMimeType), "QSO\tonly two");
    EXPECT_FALSE(readQsoDrag(&broken).has_value());
    EXPECT_TRUE(swlTakesDropOf(true, {}, QStringLiteral("X")));
    EXPECT_TRUE(swlTakesDropOf(false, QStringLiteral("dl1abc"), QStringLiteral("DL1ABC")));
    EXPECT_FALSE(swlTakesDropOf(false, QStringLiteral("DL1ABC"), QStringLiteral("OE1XYZ")));
}

TEST_F(SwlWindowTest, HelpOpensTheSwlTopic)
{
    QTest::mouseClick(child<QPushButton>("helpButton"), Qt::LeftButton);
    ASSERT_NE(HelpWindow::instance(), nullptr);
    EXPECT_EQ(HelpWindow::instance()->currentTopic(), QStringLiteral("swl0"));
    HelpWindow::instance()->close();
}

} // namespace
} // namespace qx7
