// The label designer's Help: the wizard, the options, the print options and every element
// dialog have a Help button, the designer a Help menu; each opens the topic of its window.

#include "core/Prompter.h"
#include "ui/designer/ElementDialogs.h"
#include "ui/designer/TQXDesigner.h"
#include "ui/designer/TQXDesOptionsForm.h"
#include "ui/designer/TQXDesPrintOptionsForm.h"
#include "ui/designer/TQXDesSettingsForm.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include "HelpPress.h"

#include <QAction>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qx7 {
namespace {

using namespace helptest;

// The designer's wizard and dialogs have a Help button on the page they explain; the
// designer's Help menu opens its three pages, F1 the first.
TEST(HelpButtons, DesignerDialogsOpenTheirOwnTopics)
{
    SilentPrompter prompter;
    LabelLayout layout;
    const struct
    {
        std::function<std::unique_ptr<QWidget>()> make;
        const char* topic;
    } dialogs[] = {
        {[&] {
             return std::make_unique<TQXDesSettingsForm>(
                 layout, TQXDesSettingsForm::Mode::NewLayout, prompter);
         },
         "qxdes_newlayout"},
        {[&] {
             return std::make_unique<TQXDesSettingsForm>(layout, TQXDesSettingsForm::Mode::Settings,
                                                         prompter);
         },
         "qxdes_newlayout"},
        {[] { return std::make_unique<TQXDesOptionsForm>(DesignerOptions{}); }, "qxdes_options"},
        {[&] {
             return std::make_unique<TQXDesPrintOptionsForm>(
                 layout.Page, std::vector<std::string>{"PDF file"}, "PDF file");
         },
         "f12"},
        {[] { return std::make_unique<FrameDialog>(Frame{}, Color{}); }, "qxdes_elements"},
    };
    for (const auto& d : dialogs) {
        const std::unique_ptr<QWidget> w = d.make();
        const std::string name = w->metaObject()->className();
        w->show();
        QPushButton* help = helpButtonOf(*w);
        ASSERT_NE(help, nullptr) << name;
        EXPECT_TRUE(help->isVisible()) << name;
        EXPECT_EQ(topicOpenedBy([help] { help->click(); }), QLatin1String(d.topic)) << name;
        EXPECT_TRUE(help::topicsWindowsAsk().contains(QLatin1String(d.topic)));
    }
    // Every element kind's dialog.
    for (ElementKind kind : {ElementKind::Text, ElementKind::DataField, ElementKind::Expression,
                             ElementKind::Memo, ElementKind::Shape, ElementKind::Image}) {
        LayoutElement e;
        e.kind = kind;
        const std::unique_ptr<ElementDialog> dialog =
            makeElementDialog(e, ElementDialogContext{&prompter, {}}, nullptr);
        QPushButton* help = helpButtonOf(*dialog);
        ASSERT_NE(help, nullptr) << elementKindName(kind);
        EXPECT_EQ(topicOpenedBy([help] { help->click(); }), QLatin1String("qxdes_elements"));
    }

    TQXDesigner designer;
    designer.show();
    for (const char* topic : {"qxdes_intro", "qxdes_newlayout", "qxdes_elements"}) {
        auto* action = designer.findChild<QAction*>(QStringLiteral("help-%1").arg(topic));
        ASSERT_NE(action, nullptr) << topic;
        EXPECT_EQ(topicOpenedBy([action] { action->trigger(); }), QLatin1String(topic));
        EXPECT_TRUE(help::topicExists(QLatin1String(topic)));
    }
    EXPECT_EQ(designer.findChild<QAction*>("help-qxdes_intro")->shortcut(),
              QKeySequence(Qt::Key_F1));
    HelpWindow::instance()->close();
}

} // namespace
} // namespace qx7
