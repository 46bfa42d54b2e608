// The small conversion dialogs: the date format with its self-test, the band/frequency
// choice, and the ADIF comment field, alone and opened from the windows that use them.

#include "ui/wizard/TQXToolsAdifForm.h"
#include "ui/wizard/TQXToolsBandForm.h"
#include "ui/wizard/TQXToolsDateForm.h"

#include "WizardFixture.h"

#include <QApplication>
#include <QRadioButton>
#include <QTimer>

namespace qx7 {
namespace {

using namespace wizardtest;

// Works the next modal dialog of type D as soon as it is shown.
template <class D>
void whenShown(std::function<void(D&)> work)
{
    QTimer::singleShot(0, [work] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        work(*d);
    });
}

TEST(DateFormatForm, SelfTestWritesAndReadsBackTheLastDayOf2001)
{
    TQXToolsDateForm dlg(QStringLiteral("dd.mm.yy"));
    EXPECT_EQ(dlg.windowTitle(), "Date Format");
    EXPECT_EQ(dlg.writtenText(), "31.12.01");
    EXPECT_EQ(dlg.readText(), "31.Dec.2001");
    EXPECT_TRUE(dlg.formatWorks());
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("DateFormatEdit"));
    struct Row
    {
        const char* typed;
        const char* format; // what the edit keeps
        const char* written;
        bool works;
    };
    const Row rows[] = {
        {"yyyy-mmm-dd", "yyyy-mmm-dd", "2001-Dec-31", true},
        {"ddmmyyyy", "ddmmyyyy", "31122001", true},
        {"yyyymmdd hh", "yyyymmdd ", "20011231 ", true}, // h cannot be typed
        {"mm.yy", "mm.yy", "12.01", false},              // no day: nothing to read
        {"xyz", "y", nullptr, false},
    };
    for (const Row& row : rows) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromLatin1(row.typed));
        EXPECT_EQ(dlg.format(), row.format) << row.typed;
        if (row.written) {
            EXPECT_EQ(dlg.writtenText(), row.written) << row.typed;
        }
        EXPECT_EQ(dlg.formatWorks(), row.works) << row.typed;
        if (!row.works) {
            EXPECT_EQ(dlg.readText(), "- Conversion error -") << row.typed;
        }
    }
}

TEST(DateFormatForm, OkGivesTheEditedFormatAndEscTheOldOne)
{
    whenShown<TQXToolsDateForm>([](TQXToolsDateForm& d) {
        auto* edit = d.findChild<QLineEdit*>(QStringLiteral("DateFormatEdit"));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("dd/mm/yyyy"));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    EXPECT_EQ(TQXToolsDateForm::edit(QStringLiteral("yyyymmdd")), "dd/mm/yyyy");
    whenShown<TQXToolsDateForm>([](TQXToolsDateForm& d) {
        auto* edit = d.findChild<QLineEdit*>(QStringLiteral("DateFormatEdit"));
        QTest::keyClicks(edit, QStringLiteral("dd"));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(TQXToolsDateForm::edit(QStringLiteral("yyyymmdd")), "yyyymmdd");
}

TEST(BandForm, TheChoiceIsTheBandModePlusOne)
{
    TQXToolsBandForm dlg(0);
    EXPECT_EQ(dlg.windowTitle(), "Band/frequency field contains");
    EXPECT_TRUE(dlg.findChild<QRadioButton*>(QStringLiteral("BandChoice1"))->isChecked());
    EXPECT_EQ(dlg.findChild<QRadioButton*>(QStringLiteral("BandChoice2"))->text(),
              "&frequency information only  (MHz)");
    whenShown<TQXToolsBandForm>([](TQXToolsBandForm& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("BandChoice2")), Qt::LeftButton,
                          {}, QPoint(6, 8));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    EXPECT_EQ(TQXToolsBandForm::edit(-1), 1);
    whenShown<TQXToolsBandForm>([](TQXToolsBandForm& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("BandChoice0")), Qt::LeftButton,
                          {}, QPoint(6, 8));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(TQXToolsBandForm::edit(0), 0);
}

class AdifOptions : public ToolsWizard
{};

TEST_F(AdifOptions, TheChosenFieldIsTheCommentAtOnceAndOkKeepsIt)
{
    // An ADIF log whose NAME field should become the comment.
    writeTmp("names.adi", "<eoh>\n" + adifField("call", "DL1ABC") +
                              adifField("qso_date", "20240105") + adifField("time_on", "1203") +
                              adifField("band", "20m") + adifField("mode", "SSB") +
                              adifField("name", "Hans Meier") + adifField("comment", "tnx") +
                              "<eor>\n");
    click("ChooseNextButton");
    chooseType("InputLogTypeBox", LogType::Adif);
    EXPECT_FALSE(child<QPushButton>("SpecificationsButton")->isVisible());
    ASSERT_TRUE(child<QPushButton>("AdifOptionsButton")->isVisible());
    whenShown<TQXToolsAdifForm>([](TQXToolsAdifForm& d) {
        EXPECT_EQ(d.windowTitle(), "ADIF Import Options");
        auto* combo = d.findChild<QComboBox*>(QStringLiteral("AdifComboBox"));
        EXPECT_EQ(combo->currentText(), "<COMMENT> Comment field for QSO");
        const int name = combo->findText(QStringLiteral("<NAME> Name"));
        ASSERT_GT(name, 0);
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < name; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    });
    click("AdifOptionsButton");
    // Cancel writes nothing, but the choice counts until the program ends.
    EXPECT_EQ(dm().AdifCommentTag, "<NAME>");
    EXPECT_NE(IniFile(dm().iniPath()).readString("Convert", "AdifComment", "-"), "<NAME>");
    whenShown<TQXToolsAdifForm>([](TQXToolsAdifForm& d) {
        auto* combo = d.findChild<QComboBox*>(QStringLiteral("AdifComboBox"));
        EXPECT_EQ(combo->currentText(), "<NAME> Name");
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    click("AdifOptionsButton");
    EXPECT_EQ(IniFile(dm().iniPath()).readString("Convert", "AdifComment", "-"), "<NAME>");

    addLogs(LogType::Adif, {QString::fromStdString(tmp("names.adi"))});
    click("InputNextButton");
    setOutput(LogType::Adif, "named.adi");
    click("StartButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    const std::string out = readFile(tmp("named.adi"));
    EXPECT_NE(out.find("<comment:10>Hans Meier "), std::string::npos) << out;
    ASSERT_EQ(cli({"--in", "45:" + tmp("names.adi"), "--out", "45:" + tmp("namedcli.adi")}), 0);
    EXPECT_TRUE(out == readFile(tmp("namedcli.adi")));
}

} // namespace
} // namespace qx7
