// The Tools Wizard walked with mouse and keys; every conversion it runs is run again
// the way qx7cli runs it, and both outputs must be the same bytes.

#include "ui/wizard/TQXToolsForm.h"

#include "convert/engine/ConversionMacro.h"
#include "convert/engine/LogTypes.h"
#include "core/IniFile.h"
#include "UiFixture.h"
#include "WizardFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

using namespace wizardtest;
namespace fs = std::filesystem;

TEST_F(ToolsWizard, AdifIntoAQx7LogGivesTheSameLogAsQx7cli)
{
    EXPECT_EQ(wizard->windowTitle(), "QX Tools Wizard");
    const std::string sample = tmp("sample.adi");
    walkToOutput(LogType::Adif, {QString::fromStdString(sample)});
    EXPECT_EQ(wizard->windowTitle(), "QX Tools Wizard - Choose Output Log");
    // QX7 logs are the preselected output; the name and call are proposed.
    EXPECT_EQ(wizard->outputType(), LogType::Qx7);
    EXPECT_EQ(child<QLineEdit>("FileNameEdit")->text(), "sample.qx7");
    EXPECT_EQ(child<QPushButton>("StartButton")->text(), "&Start Conversion");
    typeInto("CallEdit", "dl0qx");
    EXPECT_EQ(child<QLineEdit>("CallEdit")->text(), "DL0QX");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::ProtocolPage);
    EXPECT_EQ(wizard->windowTitle(), "QX Tools Wizard - Converting...");
    const RunResult r = wizard->lastResult();
    ASSERT_TRUE(r.writeOk);
    EXPECT_GT(r.written, 10);
    EXPECT_TRUE(wizard->protocolText().contains("Finished."));
    EXPECT_TRUE(wizard->protocolText().contains(QString::number(r.written) + " QSOs written"));
    EXPECT_FALSE(child<QPushButton>("CancelButton")->isVisible());

    ASSERT_EQ(cli({"--in", "45:" + sample, "--out", "42:viacli", "--call", "DL0QX"}), 0);
    ASSERT_GT(readFile(logFile("sample", ".dbf")).size(), 1000u);
    EXPECT_TRUE(readFile(logFile("sample", ".dbf")) == readFile(logFile("viacli", ".dbf")));
    EXPECT_TRUE(readFile(logFile("sample", ".qx7")) == readFile(logFile("viacli", ".qx7")));
}

TEST_F(ToolsWizard, AdifWithOptionsAndProblemsGivesTheSameFilesAsQx7cli)
{
    // Every 7th QSO has no call; QSOs past the range and sent cards are left out.
    writeTmp("mixed.adi", makeAdif(60, 7) + makeAdif(5, 0, "Y"));
    walkToOutput(LogType::Adif, {QString::fromStdString(tmp("mixed.adi"))});
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "65 QSOs");
    const std::string out = tmp("wiz.adi");
    chooseType("OutputLogTypeBox", LogType::Adif);
    EXPECT_EQ(child<QPushButton>("StartButton")->text(), "&Next >>");
    // The proposed name is the input itself: the wizard does not write over it.
    EXPECT_EQ(child<QLineEdit>("FileNameEdit")->text(), "mixed.adi");
    const std::string before = readFile(tmp("mixed.adi"));
    click("StartButton");
    EXPECT_EQ(wizard->page(), TQXToolsForm::OutputPage);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text,
              "The output file is one of the input logs!\nChoose another filename.");
    EXPECT_TRUE(readFile(tmp("mixed.adi")) == before);
    typeInto("FileNameEdit", "wiz.adi");
    QTest::keyClicks(child<QLineEdit>("DateToEdit"), "20240101");
    tick(child<QCheckBox>("NotSentCheckBox"));
    tick(child<QCheckBox>("ReplaceCheckBox"));
    ASSERT_TRUE(child<QCheckBox>("NotSentCheckBox")->isChecked());
    ASSERT_TRUE(child<QCheckBox>("ReplaceCheckBox")->isChecked());
    click("StartButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    EXPECT_TRUE(wizard->protocolText().contains(" read errors."));
    // The error log names the QSOs without a call, and the button opens it once.
    const std::string errorLog = wizard->lastResult().errorLogPath;
    EXPECT_EQ(errorLog, tmp("wiz_error.txt"));
    EXPECT_NE(readFile(errorLog).find("wrong call "), std::string::npos);
    click("ViewErrorLogButton");
    EXPECT_EQ(viewed.toStdString(), errorLog);
    EXPECT_FALSE(child<QPushButton>("ViewErrorLogButton")->isVisible());

    ASSERT_EQ(cli({"--in", "45:" + tmp("mixed.adi"), "--out", "45:" + tmp("cli.adi"), "--to",
                   "20240101", "--not-sent-only", "--replace-reports"}),
              0);
    const std::string wiz = readFile(out), viaCli = readFile(tmp("cli.adi"));
    EXPECT_FALSE(wiz.empty());
    EXPECT_TRUE(wiz == viaCli) << wiz.size() << " bytes against " << viaCli.size();
    // The 5 sent QSOs and the bad ones are not in it.
    EXPECT_EQ(wizard->lastResult().written, 60 - 60 / 7);
}

TEST_F(ToolsWizard, ExistingQx7LogAsksTheWriteModeAndMergesAsQx7cli)
{
    writeTmp("one.adi", makeAdif(30));
    writeTmp("two.adi", makeAdif(40));
    ASSERT_EQ(cli({"--in", "45:" + tmp("one.adi"), "--out", "42:merged", "--call", "DL0QX"}), 0);
    ASSERT_EQ(cli({"--in", "45:" + tmp("one.adi"), "--out", "42:cli", "--call", "DL0QX"}), 0);
    walkToOutput(LogType::Adif, {QString::fromStdString(tmp("two.adi"))});
    setOutput(LogType::Qx7, "merged.qx7", "DL0QX");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::WriteModePage);
    EXPECT_EQ(wizard->windowTitle(), "QX Tools Wizard - Write Mode");
    tick(child<QRadioButton>("WriteMode1"));
    ASSERT_TRUE(child<QRadioButton>("WriteMode1")->isChecked());
    click("WriteModeStartButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    ASSERT_EQ(cli({"--in", "45:" + tmp("two.adi"), "--out", "42:cli", "--call", "DL0QX",
                   "--write-mode", "1"}),
              0);
    // The 30 QSOs both logs hold stay as they were; the 10 new ones are added.
    EXPECT_EQ(wizard->lastResult().written, 10);
    EXPECT_TRUE(readFile(logFile("merged", ".dbf")) == readFile(logFile("cli", ".dbf")));
    // The chosen mode is remembered on closing.
    wizard->close();
    EXPECT_EQ(IniFile(dm().iniPath()).readInteger("Convert", "WriteMode", -1), 1);
    EXPECT_EQ(IniFile(dm().iniPath()).readString("Convert", "OutputLogCall", ""), "DL0QX");
}

TEST_F(ToolsWizard, CancelledRunWritesNothing)
{
    writeTmp("big.adi", makeAdif(3000));
    walkToOutput(LogType::Adif, {QString::fromStdString(tmp("big.adi"))});
    setOutput(LogType::Adif, "never.adi");
    int reports = 0;
    wizard->setProgressHook([&](int) {
        // Cancel is pressed while the log is being read.
        if (++reports == 2 && wizard->isRunning())
            QTest::mouseClick(child<QPushButton>("CancelButton"), Qt::LeftButton);
    });
    click("StartButton");
    EXPECT_GE(reports, 2);
    EXPECT_TRUE(wizard->lastResult().aborted);
    EXPECT_FALSE(fs::exists(tmp("never.adi")));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "Import aborted.");
    EXPECT_EQ(wizard->page(), TQXToolsForm::InputPage);
    EXPECT_TRUE(wizard->protocolText().contains("Import aborted."));
    EXPECT_FALSE(wizard->protocolText().contains("Writing:"));
}

TEST_F(ToolsWizard, InputListRefusesDoublesWrongExtensionsAndFlagsBadLogs)
{
    writeTmp("good.adi", makeAdif(12));
    writeTmp("bad.adi", makeAdif(12, 4));
    writeTmp("log.txt", makeAdif(3));
    click("ChooseNextButton");
    EXPECT_FALSE(child<QPushButton>("InputNextButton")->isEnabled());
    addLogs(LogType::Adif,
            {QString::fromStdString(tmp("good.adi")), QString::fromStdString(tmp("log.txt")),
             QString::fromStdString(tmp("GOOD.adi").substr(0)),
             QString::fromStdString(tmp("bad.adi"))});
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.front().text, "Wrong file extension: txt\nChange it to: adi");
    auto* list = child<QListWidget>("FileList");
    // good.adi once (a second name differing only in case is the same file).
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "24 QSOs");

    // Analysing the bad log counts its errors without writing, and disables it.
    list->setCurrentRow(1);
    ASSERT_EQ(list->currentItem()->text(), "bad.adi");
    click("AnalyzeButton");
    EXPECT_EQ(prompter.shown.back().text, "3 error(s)!");
    EXPECT_FALSE(list->item(1)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(fs::exists(tmp("bad_error.txt")));
    list->setCurrentRow(0);
    click("AnalyzeButton");
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);

    list->setCurrentRow(0);
    click("RemoveItemButton");
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "12 QSOs");
    click("ClearListButton");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "0 QSOs");
    EXPECT_FALSE(child<QPushButton>("InputNextButton")->isEnabled());
}

TEST_F(ToolsWizard, PreviewShowsTheFirstQsosWithTheirProblems)
{
    std::string text = makeAdif(30, 4);
    // One QSO on a band no table knows, at the top of the file.
    text.insert(text.find("<eoh>") + 6,
                adifField("call", "OK1XY") + adifField("qso_date", "20240102") +
                    adifField("time_on", "2460") + adifField("band", "11m") +
                    adifField("mode", "SSB") + "<eor>\n");
    writeTmp("preview.adi", text);
    click("ChooseNextButton");
    addLogs(LogType::Adif, {QString::fromStdString(tmp("preview.adi"))});
    auto* grid = child<QTableWidget>("PreviewGrid");
    ASSERT_EQ(grid->rowCount(), 20);
    const auto cell = [grid](int r, int c) { return grid->item(r, c)->text().toStdString(); };
    EXPECT_EQ(cell(0, 0), "OK1XY");
    EXPECT_EQ(cell(0, 3), "11M"); // as read, upper-cased
    EXPECT_EQ(cell(0, 5), "wrong time unknown band");
    EXPECT_EQ(cell(1, 0), "DL0AB0");
    EXPECT_EQ(cell(1, 1), "20240101");
    EXPECT_EQ(cell(1, 2), "0000");
    EXPECT_EQ(cell(1, 4), "SSB");
    EXPECT_EQ(cell(1, 5), "");
    EXPECT_EQ(cell(4, 0), ""); // every 4th QSO has no call
    EXPECT_EQ(cell(4, 5), "wrong call");
    // Nothing was written or kept by looking.
    EXPECT_FALSE(fs::exists(tmp("preview_error.txt")));
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "31 QSOs");
}

TEST_F(ToolsWizard, DroppedFilesAreListedWithTheTypeTheirContentShows)
{
    // An ADIF log saved as .txt is still an ADIF log.
    writeTmp("export.txt", makeAdif(5));
    writeTmp("contest.log", "START-OF-LOG: 3.0\nCALLSIGN: DL0QX\nEND-OF-LOG:\n");
    writeTmp("unknown.xyz", "nothing to see");
    EXPECT_EQ(TQXToolsForm::guessLogType(QString::fromStdString(tmp("export.txt"))), LogType::Adif);
    EXPECT_EQ(TQXToolsForm::guessLogType(QString::fromStdString(tmp("contest.log"))),
              LogType::Cabrillo);
    EXPECT_EQ(TQXToolsForm::guessLogType(QString::fromStdString(tmp("unknown.xyz"))), 0);

    click("ChooseNextButton");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(tmp("export.txt"))),
                  QUrl::fromLocalFile(QString::fromStdString(tmp("unknown.xyz")))});
    // A file manager's drag: enter, then drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(wizard.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(wizard.get(), &drop);
    EXPECT_EQ(child<QListWidget>("FileList")->count(), 1);
    EXPECT_EQ(wizard->inputType(), LogType::Adif);
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "5 QSOs");
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "Unknown log type: " + tmp("unknown.xyz"));
}

TEST_F(ToolsWizard, MacroSavedInTheWizardRunsAsQx7cliRunsIt)
{
    writeTmp("a.adi", makeAdif(20));
    writeTmp("b.adi", makeAdif(25, 6));
    walkToOutput(LogType::Adif,
                 {QString::fromStdString(tmp("a.adi")), QString::fromStdString(tmp("b.adi"))});
    setOutput(LogType::Adif, "macro-out.adi");
    const QString macroFile = QString::fromStdString(dm().QXUserPath + "/weekly.qxm");
    wizard->setFileChooser(
        [&](const QString&, const QString& proposal, const QString& filter, bool save) {
            EXPECT_TRUE(save);
            EXPECT_TRUE(proposal.endsWith("macro.qxm"));
            EXPECT_EQ(filter, "QX Macros (*.qxm)");
            return QStringList{macroFile};
        });
    click("SaveMacroButton");
    ASSERT_TRUE(fs::exists(macroFile.toStdString()));
    click("StartButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    const std::string firstRun = readFile(tmp("macro-out.adi"));
    fs::remove(tmp("macro-out.adi"));

    // Next conversion, then the macro page.
    click("NextConversionButton");
    click("InputBackButton");
    child<QListWidget>("TaskList")->setCurrentRow(1);
    click("ChooseNextButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::MacrosPage);
    auto* macros = child<QListWidget>("MacroList");
    ASSERT_EQ(macros->count(), 1);
    EXPECT_EQ(macros->item(0)->text(), "weekly");
    EXPECT_EQ(child<QLabel>("MacroOutputLabel")->text().toStdString(), tmp("macro-out.adi"));
    click("PerformMacroButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    const std::string fromWizard = readFile(tmp("macro-out.adi"));
    EXPECT_FALSE(fromWizard.empty());
    // A macro run keeps every report as it came (no options), the first run cut them.
    EXPECT_EQ(fromWizard.size() >= firstRun.size(), true);

    fs::remove(tmp("macro-out.adi"));
    std::ostringstream out, err;
    NullProgress quiet;
    ConversionEngine engine(dm(), quiet, prompter);
    ASSERT_EQ(runMacroArgs(engine, dm(), {"run", "weekly"}, out, err), 0) << err.str();
    EXPECT_TRUE(readFile(tmp("macro-out.adi")) == fromWizard);

    // Deleting asks first, then the list is empty.
    click("NextConversionButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::MacrosPage);
    click("DeleteMacroButton");
    EXPECT_FALSE(fs::exists(macroFile.toStdString()));
    EXPECT_EQ(macros->count(), 0);
}

TEST_F(ToolsWizard, DamagedOrStaleMacrosNameTheirFile)
{
    const std::string damaged = dm().QXUserPath + "/damaged.qxm";
    std::ofstream(damaged) << "\x01\x02 not an ini file";
    writeTmp("gone.adi", makeAdif(3));
    TQXLogSpec in = makeLogSpec(tmp("gone.adi"), LogType::Adif);
    TQXLogSpec out = makeLogSpec(tmp("stale-out.adi"), LogType::Adif);
    ASSERT_TRUE(writeMacro(dm().QXUserPath + "/stale.qxm", {in}, out));
    fs::remove(tmp("gone.adi"));

    child<QListWidget>("TaskList")->setCurrentRow(1);
    click("ChooseNextButton");
    auto* macros = child<QListWidget>("MacroList");
    ASSERT_EQ(macros->count(), 2);
    macros->setCurrentRow(0); // damaged
    click("PerformMacroButton");
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "The macro file is damaged: " + damaged);
    EXPECT_EQ(wizard->page(), TQXToolsForm::MacrosPage);
    macros->setCurrentRow(1); // stale
    click("PerformMacroButton");
    EXPECT_NE(prompter.shown.back().text.find(tmp("gone.adi")), std::string::npos);
    EXPECT_FALSE(fs::exists(tmp("stale-out.adi")));
}

TEST(ToolsWizardMain, CtrlTOpensTheWizardWithTheOpenLogs)
{
    SilentPrompter prompter;
    UiHome home(prompter);
    ASSERT_TRUE(home.makeSampleLog("mylog"));
    auto form = uitest::showForm(*home.dm, {"mylog"});
    QAction* action = form->action("ToolsWindowAction");
    ASSERT_TRUE(action->isEnabled());
    QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
    QCoreApplication::processEvents();
    auto* wizard = form->findChild<TQXToolsForm*>();
    ASSERT_NE(wizard, nullptr);
    ASSERT_EQ(wizard->run().logs().size(), 1u);
    EXPECT_EQ(wizard->run().logs().front().FileName,
              logPaths(home.dm->QXLogPath, "mylog").descriptor);
    EXPECT_GT(wizard->run().totalQsos(), 10);
    // The open log cannot be the output.
    QTest::mouseClick(wizard->findChild<QPushButton*>("ChooseNextButton"), Qt::LeftButton);
    QTest::mouseClick(wizard->findChild<QPushButton*>("InputNextButton"), Qt::LeftButton);
    auto* file = wizard->findChild<QLineEdit*>("FileNameEdit");
    file->setText("mylog.qx7");
    QTest::mouseClick(wizard->findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    EXPECT_EQ(wizard->page(), TQXToolsForm::OutputPage);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text,
              "This log is still open!\nClose the log first or choose another filename.");
    wizard->close();
}

} // namespace
} // namespace qx7
