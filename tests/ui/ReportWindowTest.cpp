// The statistics and footer lines windows on a log window: the statistics equal what
// `qx7cli stats` counts, the report can be saved, Cancel stops the count; footer lines
// typed in the editor are stored with the log and read back, and never more than nine.

#include "UiFixture.h"

#include "core/IniFile.h"
#include "core/Progress.h"
#include "datamodule/QueueLabelSource.h"
#include "labels/LabelFlow.h"
#include "labels/render/PdfSheetOutput.h"
#include "labels_render/PdfText.h"
#include "ui/report/StatisticsChart.h"
#include "ui/report/TQXFooterLinesForm.h"
#include "ui/report/TQXStatisticsForm.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

using uitest::Qso;
using uitest::UiHome;

class ReportWindows : public ::testing::Test
{
protected:
    ReportWindows() : home(prompter) {}
    TQXDM& dm() { return *home.dm; }
    // qx7cli on a copy of the logs in a home of its own: the window's data module keeps
    // the batch-input tables of this home open, as the running program would.
    std::string cli(const QStringList& args)
    {
        const auto run = [&](const QStringList& a) {
            QProcess p;
            p.start(QStringLiteral(QX7_BINARY_DIR "/cli/qx7cli"),
                    QStringList{"--home", cliHome.path()} + a);
            EXPECT_TRUE(p.waitForFinished(60000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            return p.readAllStandardOutput().toStdString();
        };
        run({"settings"});
        const std::string logs = cliHome.path().toStdString() + "/logs";
        std::filesystem::create_directories(logs);
        for (const auto& e : std::filesystem::directory_iterator(dm().QXLogPath))
            std::filesystem::copy_file(e.path(), logs + "/" + e.path().filename().string(),
                                       std::filesystem::copy_options::overwrite_existing);
        return run(args);
    }
    static std::vector<std::string> splitLines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);)
            lines.push_back(l);
        return lines;
    }

    uitest::YesPrompter prompter;
    UiHome home;
    QTemporaryDir cliHome;
};

TEST_F(ReportWindows, StatisticsEqualWhatTheCommandLineCounts)
{
    ASSERT_TRUE(home.makeSampleLog());
    const std::vector<std::string> expected = splitLines(cli({"stats", "sample", "--report"}));
    const std::string plain = cli({"stats", "sample"});
    ASSERT_GT(expected.size(), 10u);

    LabelLayout layout;
    dm().loadLayout(dm().LastQXD, layout); // as the main window does at start
    ASSERT_TRUE(dm().OpenPrintQueue());
    TMDIChild log(dm(), "sample");
    ASSERT_FALSE(log.openFailed());
    log.moveTo(100); // the count covers the whole log wherever the cursor is
    TQXStatisticsForm form(dm(), log);
    form.show();
    for (int i = 0; i < 600 && !form.finished(); ++i)
        QTest::qWait(50);
    ASSERT_TRUE(form.finished());
    EXPECT_EQ(form.reportLines(), expected);
    EXPECT_NE(plain.find("Labels needed: " + std::to_string(dm().LabelsNeeded) + "\n"),
              std::string::npos);
    EXPECT_NE(plain.find("QSOs: 320\n"), std::string::npos);
    EXPECT_EQ(form.findChild<QPushButton*>("CloseButton")->text(), "&Close");
    EXPECT_EQ(form.reportPane()->toPlainText().split('\n').size(),
              static_cast<qsizetype>(expected.size()));

    const std::string txt = dm().QXTmpPath + "/stats.txt";
    const std::string png = dm().QXTmpPath + "/stats.png";
    int asked = 0;
    form.setFileChooser([&](const QString&, const QString& proposed, const QString& filter) {
        ++asked;
        EXPECT_TRUE(proposed.endsWith(filter.contains("png") ? "sample.png" : "sample.txt"));
        return QString::fromStdString(filter.contains("png") ? png : txt);
    });
    QTest::mouseClick(form.findChild<QPushButton*>("SaveTextButton"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QPushButton*>("SaveChartButton"), Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    std::ifstream in(txt);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_EQ(splitLines(saved.str()), expected);
    EXPECT_EQ(QImage(QString::fromStdString(png)).width(), 960);
}

TEST_F(ReportWindows, SelectedRowsAreCountedAloneAndCancelStopsTheCount)
{
    home.makeLog("small",
                 {Qso("DL1AA", "20240101", "20m", "CW"), Qso("DL1AB", "20240101", "20m", "CW"),
                  Qso("DL1AC", "20240102", "40m", "SSB")});
    ASSERT_TRUE(dm().OpenPrintQueue());
    TMDIChild log(dm(), "small");
    // Two rows: one row that is only the current one is no selection.
    log.grid()->selectionModel()->select(
        QItemSelection(log.model()->index(0, 0), log.model()->index(1, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    {
        TQXStatisticsForm form(dm(), log);
        ASSERT_TRUE(form.runCount());
        const auto& lines = form.reportLines();
        EXPECT_EQ(lines[5], "            CW    band");
        EXPECT_EQ(lines[7], "   20m       2       2");
        EXPECT_EQ(lines[9], "  mode       2       2");
    }
    log.Unselect();
    // Escape pressed as soon as the run lets the window breathe: no report, the scan says
    // the run was stopped.
    TQXStatisticsForm form(dm(), log);
    QTimer::singleShot(0, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_FALSE(form.runCount());
    EXPECT_FALSE(form.finished());
    EXPECT_EQ(prompter.shown.back().text, kStatisticsAborted);
}

TEST_F(ReportWindows, FooterLinesTypedAreStoredWithTheLogAndNeverMoreThanNine)
{
    home.makeLog("foot", {Qso("DL1AA")});
    TMDIChild log(dm(), "foot");
    {
        TQXFooterLinesForm form(dm(), log);
        form.show();
        QPlainTextEdit* editor = form.editor();
        EXPECT_EQ(editor->toPlainText(), "Tnx QSO");
        QTest::mouseClick(form.findChild<QPushButton*>("ClearButton"), Qt::LeftButton);
        QTest::keyClicks(editor, "Tnx for the QSO");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "73 de DL0QX");
        EXPECT_EQ(form.findChild<QLabel*>("LineNumber")->text(), "2");
        EXPECT_EQ(form.findChild<QLabel*>("LineLength")->text(), "11");
        EXPECT_EQ(form.findChild<QLabel*>("CursorPosition")->text(), "12");
        QTest::mouseClick(form.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    }
    const std::vector<std::string> two{"Tnx for the QSO", "73 de DL0QX"};
    EXPECT_EQ(log.LogFooterLines(), two);
    EXPECT_EQ(readLogDescriptor(logPaths(dm().QXLogPath, "foot").descriptor).footerLines, two);
    EXPECT_EQ(readLogDescriptor(logPaths(dm().QXLogPath, "foot").descriptor).stationCall, "DL0QX");

    TQXFooterLinesForm form(dm(), log);
    form.show();
    QPlainTextEdit* editor = form.editor();
    editor->moveCursor(QTextCursor::End);
    for (int i = 3; i <= 10; ++i) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "line " + QByteArray::number(i));
    }
    EXPECT_EQ(editor->blockCount(), 9);
    EXPECT_EQ(prompter.shown.back().text, "Not more than 9 footer lines!");
    EXPECT_EQ(editor->document()->lastBlock().text(), "line 9line 10");
    // Without stored defaults "Get default" gives nine empty lines, stored as nine records.
    QTest::mouseClick(form.findChild<QPushButton*>("GetDefaultButton"), Qt::LeftButton);
    EXPECT_EQ(form.lines(), std::vector<std::string>(9));
    QTest::keyClicks(editor, "QSL via bureau");
    QTest::mouseClick(form.findChild<QPushButton*>("SaveDefaultButton"), Qt::LeftButton);
    EXPECT_EQ(IniFile(dm().iniPath()).readString("FooterLines", "0", "?"), "QSL via bureau");
    EXPECT_EQ(IniFile(dm().iniPath()).readString("FooterLines", "8", "?"), "");
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(log.LogFooterLines(), two);
    EXPECT_EQ(cli({"footer", "foot"}), "Tnx for the QSO\n73 de DL0QX\n");
}

TEST_F(ReportWindows, FooterLinesTypedInTheWindowArePrintedOnTheLabel)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    home.makeLog("foot", {Qso("DL1AA")});
    auto form = uitest::showForm(dm(), {"foot"});
    TMDIChild* log = form->activeLogWindow();
    ASSERT_NE(log, nullptr);
    {
        TQXFooterLinesForm footer(dm(), *log);
        footer.show();
        QTest::mouseClick(footer.findChild<QPushButton*>("ClearButton"), Qt::LeftButton);
        QTest::keyClicks(footer.editor(), "Pse QSL direct");
        QTest::keyClick(footer.editor(), Qt::Key_Return);
        QTest::keyClicks(footer.editor(), "Gudrun-73");
        QTest::mouseClick(footer.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    }
    form->fillRun(false, true);
    ASSERT_EQ(dm().LabelsInQueue(), 1);
    dbase::Table& q = dm().printQueue().QXPQTable();
    q.first();
    EXPECT_EQ(q.text("FOOTER1"), "Pse QSL direct");
    EXPECT_EQ(q.text("FOOTER2"), "Gudrun-73");

    // The label as the "PDF file" printer prints it with the shipped layout.
    LabelLayout layout;
    ASSERT_TRUE(dm().loadLayout(dm().LastQXD, layout).has_value());
    auto source = openQueueLabelSource(dm());
    ASSERT_NE(source, nullptr);
    const std::string pdf = home.dir.filePath("labels.pdf").toStdString();
    PdfSheetOutput output(layout, dm().QXLayoutPath, pdf, 300);
    NullProgress progress;
    const LabelRunResult r = runLabels(*source, layout.Page, output, progress);
    ASSERT_FALSE(r.failed) << r.error;
    const PdfText text = readWithPdftotext(pdf);
    EXPECT_NE(findWord(text, "Gudrun-73"), nullptr);
    EXPECT_NE(findWord(text, "direct"), nullptr);
    EXPECT_NE(findWord(text, "DL1AA"), nullptr);
}

TEST_F(ReportWindows, TheChartShowsEveryCountedBand)
{
    ScanStatistics s;
    s.LogSize = 3;
    s.BandTotals[7] = 2;
    s.BandTotals[5] = 1;
    s.ModeBandCounts[4].total = 3;
    s.ModeBandCounts[4].perBand[7] = 2;
    s.ModeBandCounts[4].perBand[5] = 1;
    StatisticsChart chart;
    chart.setStatistics(s);
    const QImage image = chart.render(QSize(600, 300));
    // Some pixels are neither white nor grey nor black: the bars are drawn.
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            coloured += c.saturation() > 60;
        }
    EXPECT_GT(coloured, 200);
}

} // namespace
} // namespace qx7
