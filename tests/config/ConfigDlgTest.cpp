#include "config/ConfigPage.h"
#include "config/TQXConfigDlg2.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
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

// What the settings pages show of the values they keep (not choosers, presets or facts).
std::map<std::string, std::string> shownSettings(const QDialog& dlg)
{
    std::map<std::string, std::string> shown;
    const auto name = [](const QObject* o) { return o->objectName().toStdString(); };
    for (const QCheckBox* c : dlg.findChildren<QCheckBox*>())
        shown["check " + name(c)] = c->isChecked() ? "1" : "0";
    for (const QRadioButton* r : dlg.findChildren<QRadioButton*>())
        shown["radio " + name(r)] = r->isChecked() ? "1" : "0";
    for (const QLineEdit* e : dlg.findChildren<QLineEdit*>())
        if (!e->objectName().isEmpty() && e->objectName() != QLatin1String("folderChoiceEdit"))
            shown["edit " + name(e)] = e->text().toStdString();
    if (const auto* zero = dlg.findChild<QComboBox*>(QStringLiteral("slashedZeroCombo")))
        shown["zero"] = zero->currentText().toStdString();
    for (const char* list : {"bandList", "modeList"})
        if (const auto* l = dlg.findChild<QListWidget*>(QLatin1String(list)))
            for (int i = 0; i < l->count(); ++i)
                shown[std::string(list) + " " + std::to_string(i)] =
                    l->item(i)->checkState() == Qt::Checked ? "1" : "0";
    if (const auto* t = dlg.findChild<QTableWidget*>(QStringLiteral("frequencyTable")))
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                shown["freq " + std::to_string(r) + " " + std::to_string(c)] =
                    t->item(r, c) ? t->item(r, c)->text().toStdString() : "";
    return shown;
}

// Gives every kept value on every page another valid value.
void changeEverySetting(QDialog& dlg)
{
    for (QCheckBox* c : dlg.findChildren<QCheckBox*>())
        c->setChecked(!c->isChecked());
    for (QButtonGroup* g : dlg.findChildren<QButtonGroup*>()) {
        const int n = static_cast<int>(g->buttons().size());
        g->button((g->checkedId() + 1) % n)->setChecked(true);
    }
    const std::map<QString, QString> texts = {{"pageConfEdit", "7"},
                                              {"pseTextEdit", "QSL?"},
                                              {"tnxTextEdit", "THX!"},
                                              {"managerTextEdit", "mgr: "},
                                              {"dateFormatEdit", "dd.mm.yy"}};
    for (const auto& [field, text] : texts) {
        auto* e = dlg.findChild<QLineEdit*>(field);
        ASSERT_NE(e, nullptr) << field.toStdString();
        e->setText(text);
    }
    auto* zero = dlg.findChild<QComboBox*>(QStringLiteral("slashedZeroCombo"));
    ASSERT_NE(zero, nullptr);
    zero->setCurrentText(QStringLiteral("248"));
    for (const char* list : {"bandList", "modeList"}) {
        auto* l = dlg.findChild<QListWidget*>(QLatin1String(list));
        ASSERT_NE(l, nullptr);
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setCheckState(l->item(i)->checkState() == Qt::Checked ? Qt::Unchecked
                                                                              : Qt::Checked);
    }
    auto* freq = dlg.findChild<QTableWidget*>(QStringLiteral("frequencyTable"));
    ASSERT_NE(freq, nullptr);
    for (int r = 0; r < freq->rowCount(); ++r)
        freq->item(r, 1)->setText(QStringLiteral("f%1 MHz").arg(r));
}

TEST_F(ConfigDialog, EveryPageIsReadBackFromTheFileAfterOk)
{
    const auto before = shownSettings(*dlg);
    ASSERT_GT(before.size(), 29u + 47u + 29u * 2u);
    changeEverySetting(*dlg);
    const auto changed = shownSettings(*dlg);
    for (const auto& [what, value] : before) {
        const bool fixed = what.rfind("radio ", 0) == 0 || // a third choice stays unticked
                           (what.rfind("freq ", 0) == 0 && what.back() == '0'); // band names
        if (!fixed) {
            EXPECT_NE(changed.at(what), value) << what << " was not changed by the test";
        }
    }
    click("okButton");
    ASSERT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_TRUE(prompter.failures.empty()) << prompter.failures.front();

    // A fresh start on the same folder reads every value from "qx7.ini".
    dlg.reset();
    dm.reset();
    DataModuleEnvironment env;
    env.programFolder = dir.path().toStdString() + "/";
    env.prompter = &prompter;
    dm = std::make_unique<TQXDM>(std::move(env));
    TQXConfigDlg2 again(*dm);
    const auto reread = shownSettings(again);
    for (const auto& [what, value] : changed)
        EXPECT_EQ(reread.at(what), value) << what;
    EXPECT_EQ(dm->SlashedZero, 248);
    EXPECT_EQ(dm->LabelDateFormat, "dd.mm.yy");
}

TEST_F(ConfigDialog, CancelLeavesEveryPageAsItWas)
{
    const std::string file = iniText();
    const auto before = shownSettings(*dlg);
    changeEverySetting(*dlg);
    click("cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(iniText(), file);
    TQXConfigDlg2 again(*dm);
    EXPECT_EQ(shownSettings(again), before);
}

TEST_F(ConfigDialog, BdePageShowsTheEngineFactsOfThisSession)
{
    ASSERT_TRUE(dlg->showPage(QStringLiteral("BDE")));
    EXPECT_EQ(dlg->currentPage()->helpTopic(), QStringLiteral("config12"));
    QStringList texts;
    for (const QLabel* l : dlg->currentPage()->findChildren<QLabel*>())
        texts << l->text();
    for (const char* caption :
         {"BDE settings (valid only for this QX session)", "BDE version:", "Default driver:",
          "dBase level:", "Language driver:", "Description:", "Code page:"})
        EXPECT_TRUE(texts.contains(QLatin1String(caption))) << caption;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]\\.[0-9]{2}$"))
                    .match(child<QLabel>("engineVersionLabel")->text())
                    .hasMatch())
        << child<QLabel>("engineVersionLabel")->text().toStdString();
    EXPECT_EQ(child<QLabel>("defaultDriverLabel")->text(), QStringLiteral("DBASE"));
    EXPECT_EQ(child<QLabel>("dbaseLevelLabel")->text(), QStringLiteral("dBASE 4.0"));
    EXPECT_EQ(child<QLabel>("langDriverLabel")->text(), QStringLiteral("DBWINUS0"));
    EXPECT_FALSE(child<QLabel>("langDescLabel")->text().isEmpty());
    EXPECT_EQ(child<QLabel>("codePageLabel")->text(), QStringLiteral("1252"));
}

// Drags the named entries of `from` onto `to`, before the entry `row` (-1: below the last).
// True when the list took the drop.
bool dragLogs(QListWidget* from, QListWidget* to, const QStringList& names, int row)
{
    from->clearSelection();
    for (const QString& name : names)
        for (QListWidgetItem* item : from->findItems(name, Qt::MatchExactly))
            item->setSelected(true);
    std::unique_ptr<QMimeData> data(
        from->model()->mimeData(from->selectionModel()->selectedIndexes()));
    if (!data)
        return false;
    const QPoint at = row < 0 ? QPoint(5, to->viewport()->height() - 2)
                              : to->visualItemRect(to->item(row)).topLeft() + QPoint(5, 1);
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(to->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(to->viewport(), &drop);
    return drop.isAccepted();
}

QStringList entries(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

class AutoOpenDrag : public ConfigDialog
{
protected:
    AutoOpenDrag()
    {
        for (const char* log : {"alpha", "bravo", "charlie", "delta"})
            std::ofstream(QDir(QString::fromStdString(dm->QXLogPath))
                              .filePath(QLatin1String(log) + ".qx7")
                              .toStdString())
                << "000=DL1ABC\n";
        dlg = std::make_unique<TQXConfigDlg2>(*dm);
        dlg->resize(720, 500);
        dlg->show();
        EXPECT_TRUE(dlg->showPage(QStringLiteral("Auto Open Logs")));
        QCoreApplication::processEvents();
        available = child<QListWidget>("availableLogList");
        chosen = child<QListWidget>("chosenLogList");
    }
    QListWidget* available = nullptr;
    QListWidget* chosen = nullptr;
};

TEST_F(AutoOpenDrag, DraggedLogsAreWrittenInTheirOrderOnOk)
{
    ASSERT_EQ(entries(available),
              QStringList({"alpha.qx7", "bravo.qx7", "charlie.qx7", "delta.qx7"}));
    EXPECT_FALSE(child<QPushButton>("applyButton")->isEnabled());
    ASSERT_TRUE(dragLogs(available, chosen, {"charlie.qx7"}, -1));
    EXPECT_TRUE(child<QPushButton>("applyButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("excludeButton")->isEnabled());
    // Dropped on the first entry: goes before it.
    ASSERT_TRUE(dragLogs(available, chosen, {"alpha.qx7", "delta.qx7"}, 0));
    EXPECT_EQ(entries(chosen), QStringList({"alpha.qx7", "delta.qx7", "charlie.qx7"}));
    EXPECT_EQ(entries(available), QStringList({"bravo.qx7"}));
    // Within the chosen list a drag changes the order.
    ASSERT_TRUE(dragLogs(chosen, chosen, {"charlie.qx7"}, 0));
    EXPECT_EQ(entries(chosen), QStringList({"charlie.qx7", "alpha.qx7", "delta.qx7"}));
    // Back to the left they go into name order; the left list is not reordered by hand.
    ASSERT_TRUE(dragLogs(chosen, available, {"alpha.qx7"}, -1));
    EXPECT_EQ(entries(available), QStringList({"alpha.qx7", "bravo.qx7"}));
    EXPECT_FALSE(dragLogs(available, available, {"bravo.qx7"}, 0));
    // Text from elsewhere is no log.
    QMimeData text;
    text.setText(QStringLiteral("echo.qx7"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chosen->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());

    click("okButton");
    ASSERT_EQ(dlg->result(), QDialog::Accepted);
    const IniFile ini(dm->iniPath());
    EXPECT_EQ(ini.sectionKeys("OpenLogs").size(), 2u);
    EXPECT_EQ(ini.readString("OpenLogs", "0", ""), "charlie.qx7");
    EXPECT_EQ(ini.readString("OpenLogs", "1", ""), "delta.qx7");

    TQXConfigDlg2 again(*dm);
    EXPECT_EQ(entries(again.findChild<QListWidget*>(QStringLiteral("chosenLogList"))),
              QStringList({"charlie.qx7", "delta.qx7"}));
}

TEST_F(AutoOpenDrag, CancelAfterDraggingWritesNothing)
{
    const std::string before = iniText();
    ASSERT_TRUE(dragLogs(available, chosen, {"bravo.qx7", "delta.qx7"}, -1));
    ASSERT_EQ(chosen->count(), 2);
    click("cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(iniText(), before);
    TQXConfigDlg2 again(*dm);
    EXPECT_EQ(again.findChild<QListWidget*>(QStringLiteral("chosenLogList"))->count(), 0);
}

TEST_F(AutoOpenDrag, AFullListTakesNoMoreDrops)
{
    for (int i = 0; i < 14; ++i)
        std::ofstream(QDir(QString::fromStdString(dm->QXLogPath))
                          .filePath(QStringLiteral("log%1.qx7").arg(100 + i))
                          .toStdString())
            << "000=DL1ABC\n";
    dlg = std::make_unique<TQXConfigDlg2>(*dm);
    dlg->show();
    ASSERT_TRUE(dlg->showPage(QStringLiteral("Auto Open Logs")));
    QCoreApplication::processEvents();
    available = child<QListWidget>("availableLogList");
    chosen = child<QListWidget>("chosenLogList");
    ASSERT_EQ(available->count(), 18);
    // Seventeen dragged at once: sixteen are taken, the last stays on the left.
    QStringList all = entries(available);
    all.removeLast();
    ASSERT_TRUE(dragLogs(available, chosen, all, -1));
    EXPECT_EQ(chosen->count(), 16);
    EXPECT_EQ(available->count(), 2);
    EXPECT_FALSE(dragLogs(available, chosen, {entries(available).first()}, -1));
    EXPECT_EQ(chosen->count(), 16);
    EXPECT_FALSE(child<QPushButton>("includeButton")->isEnabled());
    // Reordering a full list is still possible.
    EXPECT_TRUE(dragLogs(chosen, chosen, {entries(chosen).last()}, 0));
    EXPECT_EQ(chosen->count(), 16);
}

// With QX7_SCREENSHOT_DIR set, the pictures of some pages are kept there.
TEST_F(ConfigDialog, RendersItsPages)
{
    const QString out = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    for (const char* log : {"dl1abc-2023", "dl1abc-2024", "contest-cqww", "portable-ea8"})
        std::ofstream(QDir(QString::fromStdString(dm->QXLogPath))
                          .filePath(QLatin1String(log) + ".qx7")
                          .toStdString())
            << "000=DL1ABC\n";
    dlg = std::make_unique<TQXConfigDlg2>(*dm);
    auto* available = child<QListWidget>("availableLogList");
    available->item(1)->setSelected(true);
    available->item(2)->setSelected(true);
    click("includeButton");
    dlg->show();
    for (const auto& [page, file] :
         {std::pair{"Confirm QSOs", "config-confirm"}, std::pair{"Bands", "config-bands"},
          std::pair{"Folders", "config-folders"}, std::pair{"Slashed Zero", "config-zero"},
          std::pair{"BDE", "config-bde"}, std::pair{"Auto Open Logs", "config-autoopen"}}) {
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
