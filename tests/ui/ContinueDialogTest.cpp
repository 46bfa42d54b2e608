// The page prompt of a scan as a real dialog, answered from a timer as a user would.

#include "ui/QtPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

// Clicks the button with `caption` once the dialog is up, ticking the check box first
// when asked to.
void answerLater(const QString& caption, bool tick)
{
    QTimer::singleShot(50, [caption, tick] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || box->objectName() != QLatin1String("TQXContinueDlg"))
                continue;
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Confirm"));
            EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Yes"));
            box->checkBox()->setChecked(tick);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == caption)
                    b->click();
        }
    });
}

TEST(ContinueDialog, FourAnswersAndTheCheckBox)
{
    QtPrompter prompter;
    const std::string text = "48 labels = 2 page(s) in print queue. Continue?";
    answerLater(QStringLiteral("&Print Labels"), true);
    ContinueChoice c = prompter.askContinue(text);
    EXPECT_EQ(c.answer, PromptButton::PrintLabels);
    EXPECT_TRUE(c.dontShowAgain);
    answerLater(QStringLiteral("&No"), false);
    c = prompter.askContinue(text);
    EXPECT_EQ(c.answer, PromptButton::No);
    EXPECT_FALSE(c.dontShowAgain);
    answerLater(QStringLiteral("&Cancel"), false);
    EXPECT_EQ(prompter.askContinue(text).answer, PromptButton::Cancel);
    answerLater(QStringLiteral("&Yes"), false);
    EXPECT_EQ(prompter.askContinue(text).answer, PromptButton::Yes);
}

} // namespace
} // namespace qx7
