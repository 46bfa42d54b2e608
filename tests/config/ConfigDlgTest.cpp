#include "config/ConfigPage.h"
#include "config/TQXConfigDlg2.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

class ConfigDialog : public ::testing::Test
{
protected:
    ConfigDialog()
    {
        DataModuleEnvironment env;
        env.programFolder = dir.path().toStdString() + "/";
        env.prompter = &prompter;
        dm = std::make_unique<TQXDM>(std::move(env));
        dlg = std::make_unique<TQXConfigDlg2>(*dm);
    }
    template <class W>
    W* child(const char* name)
    {
        auto* w = dlg->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    std::string iniText()
    {
        std::ifstream in(dm->iniPath(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TQXDM> dm;
    std::unique_ptr<TQXConfigDlg2> dlg;
};

TEST_F(ConfigDialog, OkWritesEveryPageAndTheDataModuleTakesItAtOnce)
{
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Configuration"));
    EXPECT_FALSE(child<QPushButton>("applyButton")->isEnabled());
    ASSERT_TRUE(dlg->showPage(QStringLiteral("Handling")));
    child<QCheckBox>("confirmF2Check")->click();
    EXPECT_TRUE(child<QPushButton>("applyButton")->isEnabled());
    auto* pages = child<QLineEdit>("pageConfEdit");
    pages->selectAll();
    QTest::keyClick(pages, Qt::Key_Delete); // an empty field means no prompt
    child<QRadioButton>("indexOnQXPQ_1")->click();
    child<QRadioButton>("sortTyp_0")->click();
    auto* pse = child<QLineEdit>("pseTextEdit");
    pse->clear();
    QTest::keyClicks(pse, "PLEASE"); // six characters at most
    EXPECT_EQ(pse->text(), QStringLiteral("PLEASE"));
    child<QCheckBox>("importDupesCheck")->click();
    auto* freq = child<QTableWidget>("frequencyTable");
    ASSERT_GE(freq->rowCount(), 14);
    freq->item(13, 1)->setText(QStringLiteral("144 MHz")); // 2m
    child<QPushButton>("defaultButton")->click();          // bands page: the HF default

    click("okButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_FALSE(dm->ConfirmF2);
    EXPECT_EQ(dm->PageConf, 0);
    EXPECT_EQ(dm->IndexOnQXPQ, 1);
    EXPECT_EQ(dm->SortTyp, 1);
    EXPECT_EQ(dm->PseText, "PLEASE");
    EXPECT_TRUE(dm->ImportDupes);

    const IniFile ini(dm->iniPath());
    EXPECT_EQ(ini.readString("System", "ConfirmF2", ""), "0");
    EXPECT_EQ(ini.readString("Sort", "PageConf", ""), "0");
    EXPECT_EQ(ini.readString("Sort", "IndexOnQXPQ", ""), "1");
    EXPECT_EQ(ini.readString("Sort", "SortTyp", ""), "1");
    EXPECT_EQ(ini.readString("Print", "PseText", ""), "PLEASE");
    EXPECT_EQ(ini.readString("Convert", "ImportDupes", ""), "1");
    EXPECT_EQ(ini.readString("FreqFormats", "2m", ""), "144 MHz");
    // All 29 band and 47 mode keys are written.
    EXPECT_EQ(ini.sectionKeys("BandComboBox2").size(), 29u);
    EXPECT_EQ(ini.sectionKeys("ModeComboBox").size(), 47u);
    EXPECT_EQ(ini.readString("BandComboBox2", "2", ""), "1");  // 160m
    EXPECT_EQ(ini.readString("BandComboBox2", "14", ""), "0"); // 2m
    EXPECT_EQ(dm->VisibleBands.size(), 9u);

    // A new dialog reads the values back.
    TQXConfigDlg2 again(*dm);
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("confirmF2Check"))->isChecked());
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("pageConfEdit"))->text(),
              QStringLiteral("0"));
    EXPECT_TRUE(again.findChild<QRadioButton*>(QStringLiteral("indexOnQXPQ_1"))->isChecked());
}

TEST_F(ConfigDialog, CancelWritesNothingAndApplyOnlyChangesTheSession)
{
    const std::string before = iniText();
    child<QCheckBox>("mergeLabelsCheck")->click();
    click("cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_TRUE(dm->MergeLabels);
    EXPECT_EQ(iniText(), before);

    TQXConfigDlg2 second(*dm);
    second.findChild<QCheckBox*>(QStringLiteral("mergeLabelsCheck"))->click();
    QTest::mouseClick(second.findChild<QPushButton*>(QStringLiteral("applyButton")),
                      Qt::LeftButton);
    EXPECT_FALSE(dm->MergeLabels);
    EXPECT_FALSE(second.findChild<QPushButton*>(QStringLiteral("applyButton"))->isEnabled());
    QTest::mouseClick(second.findChild<QPushButton*>(QStringLiteral("cancelButton")),
                      Qt::LeftButton);
    EXPECT_EQ(iniText(), before);
}

TEST_F(ConfigDialog, AFolderThatIsGoneIsRefusedByNameAndNothingIsWritten)
{
    const std::string before = iniText();
    ASSERT_TRUE(dlg->showPage(QStringLiteral("Folders")));
    child<QListWidget>("folderKindList")->setCurrentRow(1); // Logs
    const QString missing = dir.path() + QStringLiteral("/no/such/folder");
    child<QLineEdit>("folderChoiceEdit")->setText(missing);
    const std::string warning = "Changes will become effective after the next programm start.\r\n"
                                "Files will not automatically be moved to the new folder!";
    prompter.expect(warning, PromptButton::Ok);
    prompter.expect("The folder \"" + QDir::toNativeSeparators(missing).toStdString() +
                        "\" does not exist.",
                    PromptButton::Ok);
    click("setFolderButton");
    EXPECT_TRUE(child<QLabel>("newFolderLabel")->text().isEmpty());

    // A folder that existed when it was chosen but is gone at OK.
    const QString logs = dir.path() + QStringLiteral("/newlogs");
    ASSERT_TRUE(QDir().mkpath(logs));
    child<QLineEdit>("folderChoiceEdit")->setText(logs);
    prompter.expect(warning, PromptButton::Ok);
    click("setFolderButton");
    EXPECT_EQ(child<QLabel>("newFolderLabel")->text(), QDir::toNativeSeparators(logs + "/"));
    ASSERT_TRUE(QDir(logs).removeRecursively());
    child<QCheckBox>("importDupesCheck")->click();
    prompter.expect("The folder \"" + QDir::toNativeSeparators(logs + "/").toStdString() +
                        "\" does not exist.",
                    PromptButton::Ok);
    click("okButton");
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_EQ(iniText(), before);
    EXPECT_FALSE(dm->ImportDupes); // nothing applied either
    EXPECT_TRUE(dm->QXLogPathNew.empty());
}

TEST_F(ConfigDialog, ConfirmAllExceptYDisablesTheOtherRulesAndSlashedZeroStaysInRange)
{
    auto* exceptY = child<QCheckBox>("cfmAllExceptYCheck");
    exceptY->click();
    for (const char* name : {"cfmAgnQCheck", "cfmAllQCheck", "cfmNewBCheck", "cfmNewMCheck"})
        EXPECT_FALSE(child<QCheckBox>(name)->isEnabled()) << name;
    exceptY->click();
    EXPECT_TRUE(child<QCheckBox>("cfmAgnQCheck")->isEnabled());

    ASSERT_TRUE(dlg->showPage(QStringLiteral("Slashed Zero")));
    auto* zero = child<QComboBox>("slashedZeroCombo");
    zero->lineEdit()->setFocus();
    zero->lineEdit()->selectAll();
    QTest::keyClicks(zero->lineEdit(), "300");
    QTest::keyClick(zero->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(zero->currentText(), QStringLiteral("216"));
    // Double-clicking a cell takes its code: row 13, column 0 is 13 * 16 + 32 = 240.
    auto* grid = child<QTableWidget>("characterGrid");
    emit grid->cellDoubleClicked(13, 0);
    EXPECT_EQ(zero->currentText(), QStringLiteral("240"));
    EXPECT_EQ(grid->currentRow(), 13);
    click("applyButton");
    EXPECT_EQ(dm->SlashedZero, 240);
}

TEST_F(ConfigDialog, HelpOpensTheTopicOfEveryPage)
{
    auto* tree = child<QTreeWidget>("configTree");
    QStringList seen;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        tree->setCurrentItem(*it);
        ConfigPage* page = dlg->currentPage();
        ASSERT_NE(page, nullptr) << (*it)->text(0).toStdString();
        click("helpButton");
        ASSERT_NE(HelpWindow::instance(), nullptr);
        EXPECT_EQ(HelpWindow::instance()->currentTopic(), page->helpTopic());
        EXPECT_TRUE(help::topicExists(page->helpTopic())) << page->helpTopic().toStdString();
        EXPECT_TRUE(help::topicsWindowsAsk().contains(page->helpTopic()));
        seen << page->helpTopic();
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("config15"))); // Bands/Frequencies
    EXPECT_TRUE(seen.contains(QStringLiteral("config00")));
    HelpWindow::instance()->close();
}

TEST_F(ConfigDialog, AutoOpenLogsTakeSixteenAndAreWrittenInOrder)
{
    for (int i = 0; i < 17; ++i)
        std::ofstream(QDir(QString::fromStdString(dm->QXLogPath))
                          .filePath(QStringLiteral("log%1.qx7").arg(100 + i))
                          .toStdString())
            << "000=DL1ABC\n";
    TQXConfigDlg2 fresh(*dm);
    auto* includeAll = fresh.findChild<QPushButton*>(QStringLiteral("includeAllButton"));
    auto* include = fresh.findChild<QPushButton*>(QStringLiteral("includeButton"));
    auto* chosen = fresh.findChild<QListWidget*>(QStringLiteral("chosenLogList"));
    ASSERT_TRUE(includeAll && include && chosen);
    includeAll->click();
    EXPECT_EQ(chosen->count(), 16);
    EXPECT_FALSE(include->isEnabled());
    EXPECT_FALSE(includeAll->isEnabled());
    fresh.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    const IniFile ini(dm->iniPath());
    EXPECT_EQ(ini.sectionKeys("OpenLogs").size(), 16u);
    EXPECT_EQ(ini.readString("OpenLogs", "0", ""), "log100.qx7");
    EXPECT_EQ(ini.readString("OpenLogs", "15", ""), "log115.qx7");
}

// With QX7_SCREENSHOT_DIR set, the pictures of two pages are kept there.
TEST_F(ConfigDialog, RendersItsPages)
{
    const QString out = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    dlg->show();
    for (const auto& [page, file] :
         {std::pair{"Confirm QSOs", "config-confirm"}, std::pair{"Bands", "config-bands"},
          std::pair{"Folders", "config-folders"}, std::pair{"Slashed Zero", "config-zero"}}) {
        ASSERT_TRUE(dlg->showPage(QString::fromLatin1(page)));
        QCoreApplication::processEvents();
        const QPixmap picture = dlg->grab();
        EXPECT_FALSE(picture.isNull());
        if (!out.isEmpty()) {
            QDir().mkpath(out);
            EXPECT_TRUE(picture.save(QDir(out).filePath(QLatin1String(file) + ".png")));
        }
    }
}

} // namespace
} // namespace qx7
