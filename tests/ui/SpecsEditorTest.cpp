// The specification editor walked from the Tools Wizard: a CSV log and a fixed-width log
// get their specification with "Analyze file", the break editor and the field mapping,
// are converted to ADIF, and qx7cli gives the same bytes with the saved specification.

#include "ui/wizard/BreaksPaintBox.h"
#include "ui/wizard/TQXToolsSpecsForm.h"

#include "convert/specs/ImportSpecFile.h"

#include "WizardFixture.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>

namespace qx7 {
namespace {

using namespace wizardtest;
namespace fs = std::filesystem;

constexpr const char* kCsv = "Station,QSO Date,Time,Band,Mode,Sent,Rcvd,Remarks\n"
                             "DL1ABC,20240105,1203,20m,SSB,59,57,first\n"
                             "JA1XYZ,20240106,0815,40m,CW,599,579,\n"
                             "VK2AB,20240107,2310,15m,FT8,,,late one\n"
                             "DL9BAD,20240108,2460,11m,SSB,59,59,bad\n";

class SpecsEditor : public ToolsWizard
{
protected:
    template <class W>
    static W* in(QWidget& form, const char* name)
    {
        auto* w = form.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void press(QWidget& form, const char* name)
    {
        auto* b = in<QPushButton>(form, name);
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Chooses a field in the mapping as a user does with the keyboard.
    static void assign(QWidget& form, int row, const QString& field)
    {
        auto* grid = in<QTableWidget>(form, "MapStringGrid");
        grid->setCurrentCell(row, 2);
        auto* combo = in<QComboBox>(form, "FieldsComboBox");
        const int index = combo->findText(field);
        ASSERT_GE(index, 0) << field.toStdString();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(grid->item(row, 2)->text(), field);
    }
    static void name(QWidget& form, const QString& text)
    {
        auto* edit = in<QLineEdit>(form, "SpecNameEdit");
        QApplication::setActiveWindow(&form);
        edit->setFocus();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    // Adds the file as "Add Log..." does; the editor opens and `drive` works it.
    void addWithEditor(int type, const std::string& file,
                       std::function<void(TQXToolsSpecsForm&)> drive)
    {
        bool opened = false;
        wizard->setSpecEditorDriver([&](TQXToolsSpecsForm& form) {
            opened = true;
            EXPECT_TRUE(
                form.windowTitle().startsWith("ASCII and CSV File Import Specifications ["));
            drive(form);
        });
        addLogs(type, {QString::fromStdString(file)});
        EXPECT_TRUE(opened);
    }
};

TEST_F(SpecsEditor, CsvSpecificationMadeInTheEditorConvertsAsQx7cliDoes)
{
    writeTmp("club.csv", kCsv);
    click("ChooseNextButton");
    chooseType("InputLogTypeBox", 34);
    EXPECT_TRUE(child<QPushButton>("SpecificationsButton")->isVisible());
    EXPECT_FALSE(child<QPushButton>("AdifOptionsButton")->isVisible());
    addWithEditor(34, tmp("club.csv"), [&](TQXToolsSpecsForm& form) {
        EXPECT_FALSE(in<QPushButton>(form, "NextButton")->isEnabled());
        name(form, "clubcsv");
        press(form, "NextButton");
        EXPECT_EQ(form.step(), TQXToolsSpecsForm::TextTypeStep);
        EXPECT_TRUE(in<QPlainTextEdit>(form, "SampleMemo")->toPlainText().startsWith("Station,"));
        press(form, "AnalyzeFileButton");
        EXPECT_TRUE(in<QRadioButton>(form, "CommaRadio")->isChecked());
        EXPECT_TRUE(in<QRadioButton>(form, "DelimitedRadio")->isChecked());
        EXPECT_TRUE(in<QCheckBox>(form, "CaptionsCheckBox")->isChecked());
        EXPECT_EQ(in<QComboBox>(form, "TextQualifierComboBox")->currentIndex(), 0);
        press(form, "NextButton");
        auto* grid = in<QTableWidget>(form, "CsvStringGrid");
        ASSERT_EQ(grid->columnCount(), 8);
        EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "QSO Date");
        EXPECT_EQ(grid->rowCount(), 4);
        EXPECT_EQ(grid->item(0, 0)->text(), "DL1ABC");
        press(form, "NextButton");
        ASSERT_EQ(form.step(), TQXToolsSpecsForm::MappingStep);
        auto* map = in<QTableWidget>(form, "MapStringGrid");
        ASSERT_EQ(map->rowCount(), 8);
        // The guesses: the call from its values, the rest from the header texts.
        EXPECT_EQ(map->item(0, 2)->text(), "Call");
        EXPECT_EQ(map->item(1, 2)->text(), "Date");
        EXPECT_EQ(map->item(6, 2)->text(), "RST received");
        EXPECT_EQ(map->item(7, 2)->text(), "- none -");
        EXPECT_EQ(map->item(7, 0)->text(), "first");
        EXPECT_TRUE(in<QPushButton>(form, "OKButton")->isEnabled());
        EXPECT_TRUE(in<QPushButton>(form, "DateFormatButton")->isEnabled());
        // Without a call column the specification cannot be finished.
        assign(form, 0, "- none -");
        EXPECT_FALSE(in<QPushButton>(form, "OKButton")->isEnabled());
        assign(form, 0, "Call");
        assign(form, 7, "Comment");
        assign(form, 6, "- none -");
        press(form, "OKButton");
    });
    EXPECT_EQ(child<QLineEdit>("SpecNameField")->text(), "clubcsv");
    EXPECT_EQ(IniFile(dm().iniPath()).readString("ImportSpec", "34", ""), "clubcsv");
    const IniFile spec(dm().QXUserPath + "/clubcsv.qxia");
    EXPECT_EQ(spec.readInteger("Options", "Delimiter", -1), 44);
    EXPECT_EQ(spec.readInteger("Options", "HeaderRows", -1), 1);
    EXPECT_EQ(spec.readString("Options", "DateFormat", ""), "yyyymmdd");
    EXPECT_EQ(spec.readString("Fields", "Field7", ""), "nil;0");
    EXPECT_EQ(spec.readString("Fields", "Field8", ""), "COMM;0");
    // The preview shows the QSOs as the specification reads them, the bad one flagged.
    auto* preview = child<QTableWidget>("PreviewGrid");
    ASSERT_EQ(preview->rowCount(), 4);
    EXPECT_EQ(preview->item(1, 0)->text(), "JA1XYZ");
    EXPECT_FALSE(preview->item(3, 5)->text().isEmpty());

    click("InputNextButton");
    setOutput(LogType::Adif, "clubwiz.adi");
    click("StartButton");
    const RunResult r = wizard->lastResult();
    ASSERT_TRUE(r.writeOk);
    EXPECT_EQ(r.written, 3);
    ASSERT_EQ(cli({"--in", "34:" + tmp("club.csv"), "--spec", "clubcsv", "--out",
                   "45:" + tmp("clubcli.adi")}),
              0);
    const std::string wiz = readFile(tmp("clubwiz.adi"));
    EXPECT_NE(wiz.find("<call:6>DL1ABC <qso_date:8>20240105 <time_on:4>1203 <band:3>20M "
                       "<mode:3>SSB <rst_sent:2>59 "),
              std::string::npos)
        << wiz;
    EXPECT_NE(wiz.find("<comment:5>first "), std::string::npos);
    EXPECT_EQ(wiz.find("<rst_rcvd:"), std::string::npos);
    EXPECT_TRUE(wiz == readFile(tmp("clubcli.adi")));
}

TEST_F(SpecsEditor, FixedWidthBreaksSetMovedAndDeletedWithTheMouse)
{
    // Date and time run together: the guess gives one column that a break must split.
    writeTmp("fixed.txt", "DL1ABC    202401051203 20m SSB\n"
                          "JA1XY     202401060815 40m CW \n"
                          "K1A       202401072310 15m FM \n");
    click("ChooseNextButton");
    addWithEditor(LogType::TextFile, tmp("fixed.txt"), [&](TQXToolsSpecsForm& form) {
        name(form, "fixedlog");
        press(form, "NextButton");
        press(form, "AnalyzeFileButton");
        EXPECT_TRUE(in<QRadioButton>(form, "FixedWidthRadio")->isChecked());
        EXPECT_TRUE(in<QRadioButton>(form, "NoneRadio")->isChecked());
        EXPECT_FALSE(in<QCheckBox>(form, "CaptionsCheckBox")->isChecked());
        press(form, "NextButton");
        ASSERT_EQ(form.step(), TQXToolsSpecsForm::ColumnsStep);
        auto* box = in<BreaksPaintBox>(form, "BreaksPaintBox");
        ASSERT_TRUE(box->isVisible());
        EXPECT_EQ(form.draft().breaks(), (std::vector<int>{10, 23, 27, 30}));
        const int y = 30;
        // A click sets a break (one position too far), dragging moves it into place.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(19), y));
        EXPECT_EQ(form.draft().breaks(), (std::vector<int>{10, 19, 23, 27, 30}));
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(19), y));
        QTest::mouseMove(box, QPoint(box->xOfPosition(18), y));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(18), y));
        EXPECT_EQ(form.draft().breaks(), (std::vector<int>{10, 18, 23, 27, 30}));
        // A stray break is double-clicked away.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(5), y));
        ASSERT_EQ(form.draft().breaks().front(), 5);
        QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(5), y));
        EXPECT_EQ(form.draft().breaks(), (std::vector<int>{10, 18, 23, 27, 30}));
        // The ruler numbers lie wholly inside the box, however wide it is, and only a
        // number that would not fit is left out.
        for (const int extra : {0, 7, 13, 21}) {
            box->setFixedWidth(box->xOfPosition(100) + extra);
            const auto numbers = box->rulerNumbers();
            ASSERT_FALSE(numbers.empty());
            for (const auto& [at, text] : numbers)
                EXPECT_TRUE(box->rect().contains(at)) << text.toStdString() << " " << extra;
            const QString next = QString::number(numbers.back().second.toInt() + 10);
            EXPECT_GT(box->xOfPosition(next.toInt()) + 2 +
                          box->fontMetrics().horizontalAdvance(next),
                      box->width())
                << extra;
        }
        box->setMinimumWidth(0);
        box->setMaximumWidth(QWIDGETSIZE_MAX);
        press(form, "NextButton");
        auto* map = in<QTableWidget>(form, "MapStringGrid");
        ASSERT_EQ(map->rowCount(), 5);
        EXPECT_EQ(map->item(1, 0)->text(), "20240105");
        // Without a header the fields come from the values.
        for (int row = 0; row < 5; ++row)
            EXPECT_NE(map->item(row, 2)->text(), "- none -") << row;
        press(form, "OKButton");
    });
    const IniFile spec(dm().QXUserPath + "/fixedlog.qxia");
    EXPECT_EQ(spec.readInteger("Options", "TextType", -1), 1);
    EXPECT_EQ(spec.readInteger("Options", "Delimiter", -1), 0);
    EXPECT_EQ(spec.readString("Fields", "Field1", ""), "CALL;10");
    EXPECT_EQ(spec.readString("Fields", "Field2", ""), "DATE;8");
    EXPECT_EQ(spec.readString("Fields", "Field3", ""), "TIME;5");
    click("InputNextButton");
    setOutput(LogType::Adif, "fixedwiz.adi");
    click("StartButton");
    ASSERT_EQ(wizard->lastResult().written, 3);
    ASSERT_EQ(cli({"--in", "3:" + tmp("fixed.txt"), "--spec", "fixedlog", "--out",
                   "45:" + tmp("fixedcli.adi")}),
              0);
    EXPECT_TRUE(readFile(tmp("fixedwiz.adi")) == readFile(tmp("fixedcli.adi")));
    EXPECT_NE(readFile(tmp("fixedwiz.adi")).find("<call:5>JA1XY <qso_date:8>20240106 "),
              std::string::npos);
}

TEST_F(SpecsEditor, AnUnfinishedSpecificationAsksBeforeClosingAndAMissingFileIsNamed)
{
    writeTmp("half.csv", kCsv);
    click("ChooseNextButton");
    addWithEditor(34, tmp("half.csv"), [&](TQXToolsSpecsForm& form) {
        name(form, "half");
        press(form, "CancelButton");
        // The prompter answers Yes, the first button: the editor closes unsaved.
        EXPECT_EQ(prompter.shown.back().text,
                  "Wizard is not complete. If you quit the wizard now, the new import will not "
                  "be finished. Abort wizard?");
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_FALSE(fs::exists(dm().QXUserPath + "/half.qxia"));
    EXPECT_TRUE(child<QLineEdit>("SpecNameField")->text().isEmpty());
    // Converting without a specification names the log instead of writing a half file.
    TQXLogSpec gone = makeLogSpec(tmp("nothere.csv"), 34);
    EXPECT_FALSE(EditImportSpec(dm(), SpecKind::Text, gone, wizard.get(),
                                [](TQXToolsSpecsForm&) { FAIL() << "editor opened"; }));
    EXPECT_EQ(prompter.shown.back().text, "Log file " + tmp("nothere.csv") + " not found!");
}

TEST_F(SpecsEditor, ASavedSpecificationIsChosenByNameAndOtherSymbolWithoutOneStoresNone)
{
    writeTmp("a.csv", kCsv);
    ASSERT_TRUE(writeImportSpec(dm().QXUserPath + "/Stored.qxia", SpecKind::Text, [] {
        TQXLogSpec s;
        s.TextType = 0;
        s.Delimiter = ',';
        s.HeaderRows = 1;
        s.DateFormat = "yyyymmdd";
        s.FieldMap = {"CALL;0", "DATE;0", "TIME;0", "BAND;0", "MODE;0"};
        return s;
    }()));
    click("ChooseNextButton");
    addWithEditor(34, tmp("a.csv"), [&](TQXToolsSpecsForm& form) {
        EXPECT_EQ(in<QListWidget>(form, "SpecsListBox")->count(), 1);
        name(form, "stored"); // any case finds it
        EXPECT_EQ(in<QLineEdit>(form, "SpecNameEdit")->text(), "Stored");
        EXPECT_TRUE(in<QPushButton>(form, "OKButton")->isEnabled());
        press(form, "NextButton");
        EXPECT_TRUE(in<QRadioButton>(form, "CommaRadio")->isChecked());
        // "Other symbol:" with nothing typed is no delimiter.
        QTest::mouseClick(in<QRadioButton>(form, "OtherRadio"), Qt::LeftButton, {}, QPoint(6, 8));
        ASSERT_TRUE(in<QRadioButton>(form, "OtherRadio")->isChecked());
        EXPECT_EQ(form.draft().delimiter, '\0');
        press(form, "OKButton");
    });
    EXPECT_EQ(IniFile(dm().QXUserPath + "/Stored.qxia").readInteger("Options", "Delimiter", -1), 0);
}

TEST_F(SpecsEditor, DbaseLogMappedByItsFieldNamesConvertsAsQx7cliDoes)
{
    home.makeLog("dbsrc", {uitest::Qso("DL1ABC"),
                           uitest::Qso("JA1XYZ", "20240102", "40m", "CW", "Y", "JA1MGR")});
    const std::string table = dm().QXLogPath + "/dbsrc.dbf";
    click("ChooseNextButton");
    addWithEditor(38, table, [&](TQXToolsSpecsForm& form) {
        name(form, "mydbf");
        press(form, "NextButton");
        // dBase tables go straight to the mapping, one row per field.
        ASSERT_EQ(form.step(), TQXToolsSpecsForm::MappingStep);
        auto* map = in<QTableWidget>(form, "MapStringGrid");
        ASSERT_GE(map->rowCount(), 5);
        EXPECT_EQ(map->item(0, 1)->text(), "CALL");
        EXPECT_EQ(map->item(0, 0)->text(), "DL1ABC");
        EXPECT_EQ(map->item(0, 2)->text(), "Call");
        EXPECT_TRUE(in<QPushButton>(form, "OKButton")->isEnabled());
        assign(form, 10, "- none -"); // the manager stays behind
        press(form, "OKButton");
    });
    const IniFile spec(dm().QXUserPath + "/mydbf.qxid");
    EXPECT_EQ(spec.readString("Fields", "CALL", ""), "CALL");
    EXPECT_EQ(spec.readString("Fields", "QMGR", "-"), "");
    EXPECT_EQ(spec.readString("Options", "DateFormat", ""), "yyyymmdd");
    click("InputNextButton");
    setOutput(LogType::Adif, "dbwiz.adi");
    click("StartButton");
    ASSERT_EQ(wizard->lastResult().written, 2);
    ASSERT_EQ(cli({"--in", "38:" + table, "--spec", "mydbf", "--out", "45:" + tmp("dbcli.adi")}),
              0);
    const std::string wiz = readFile(tmp("dbwiz.adi"));
    EXPECT_NE(wiz.find("<call:6>JA1XYZ <qso_date:8>20240102 "), std::string::npos) << wiz;
    EXPECT_EQ(wiz.find("JA1MGR"), std::string::npos);
    EXPECT_TRUE(wiz == readFile(tmp("dbcli.adi")));
}

TEST_F(SpecsEditor, PresetDbaseSpecificationIsLoadedWithoutTheEditorWhenItExists)
{
    home.makeLog("qn", {uitest::Qso("DL1ABC")});
    home.makeLog("qn2", {uitest::Qso("JA1XYZ")});
    std::ofstream(dm().QXUserPath + "/QN2QN.qxid")
        << "[Options]\nDateFormat=yyyymmdd\n[Fields]\nCALL=CALL\nDATE=DATE\n";
    click("ChooseNextButton");
    wizard->setSpecEditorDriver([](TQXToolsSpecsForm&) { FAIL() << "the editor opened"; });
    addLogs(8, {QString::fromStdString(dm().QXLogPath + "/qn.dbf")});
    ASSERT_EQ(child<QListWidget>("FileList")->count(), 1);
    std::filesystem::remove(dm().QXUserPath + "/QN2QN.qxid");
    bool opened = false;
    addWithEditor(8, dm().QXLogPath + "/qn2.dbf", [&](TQXToolsSpecsForm& form) {
        opened = true;
        // The built-in name is proposed.
        EXPECT_EQ(in<QLineEdit>(form, "SpecNameEdit")->text(), "QN2QN");
        form.reject();
    });
    EXPECT_TRUE(opened);
}

} // namespace
} // namespace qx7
