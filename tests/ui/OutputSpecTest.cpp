// A QX7 log leaves through the wizard as a text file with the fields chosen on "Specify
// fields to be exported" and as Cabrillo; qx7cli reads the same remembered choices and
// writes the same bytes.

#include "convert/specs/OutputSpecFile.h"

#include "WizardFixture.h"

#include <QGroupBox>
#include <QRadioButton>

namespace qx7 {
namespace {

using namespace wizardtest;

class OutputSpec : public ToolsWizard
{
protected:
    // The sample as the QX7 log "mylog", entered as the wizard's input.
    void walkFromMyLog()
    {
        ASSERT_EQ(cli({"--in", "45:" + tmp("sample.adi"), "--out", "42:mylog", "--call", "DL0QX"}),
                  0);
        walkToOutput(LogType::Qx7, {QString::fromStdString(logFile("mylog", ".qx7"))});
    }
    QListWidgetItem* field(const QString& name)
    {
        auto* list = child<QListWidget>("FieldCheckListBox");
        const auto found = list->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }
    // Space on the selected field ticks or unticks it, as in the list.
    void toggle(const QString& name)
    {
        auto* list = child<QListWidget>("FieldCheckListBox");
        list->setCurrentItem(field(name));
        QTest::keyClick(list, Qt::Key_Space);
    }
};

TEST_F(OutputSpec, TextWithChosenFieldsInTheirOrderIsTheSameAsQx7cli)
{
    walkFromMyLog();
    setOutput(LogType::AsciiByDate, "fields.txt");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::OutputSpecPage);
    EXPECT_EQ(wizard->windowTitle(), "QX Tools Wizard - Specify fields to be exported");
    auto* list = child<QListWidget>("FieldCheckListBox");
    ASSERT_EQ(list->count(), 17); // "Mark" is offered only once stored
    EXPECT_EQ(list->item(0)->text(), "Call");
    EXPECT_TRUE(child<QGroupBox>("SeparatorGroupBox")->isVisible());
    EXPECT_EQ(child<QLabel>("DateFormatPanel")->text(), "yyyymmdd");
    for (const char* name :
         {"Sub-Mode", "QSL Manager", "Date QSL sent", "Date QSL received", "Comment", "Freqency",
          "DXCC Number", "X-Band QSOs", "QSL sent", "QSL received", "RST received"})
        toggle(QLatin1String(name));
    EXPECT_EQ(field(QStringLiteral("Comment"))->checkState(), Qt::Unchecked);
    // Dragging "Date" above "Call" (what the list's internal move does).
    QListWidgetItem* date = list->takeItem(list->row(field(QStringLiteral("Date"))));
    list->insertItem(0, date);
    QTest::mouseClick(child<QRadioButton>("CommaRadio"), Qt::LeftButton, {}, QPoint(6, 8));
    child<QComboBox>("TextQualifierComboBox")->setCurrentIndex(1);
    QTest::mouseClick(child<QCheckBox>("HeaderRowCheckBox"), Qt::LeftButton, {}, QPoint(6, 8));
    click("OutputSpecStartButton");
    ASSERT_TRUE(wizard->lastResult().writeOk);
    const std::string wiz = readFile(tmp("fields.txt"));
    ASSERT_GT(wiz.size(), 100u);
    EXPECT_EQ(wiz.substr(0, wiz.find_first_of("\r\n")),
              "\"DATE\",\"CALL\",\"TIME\",\"BAND\",\"MODE\",\"RSTS\"");
    // The choices are remembered for the type, and qx7cli writes by them.
    const OutputSpecOptions stored = readOutputSpec(dm().QXUserPath + "/ascii1.qxeo");
    EXPECT_EQ(stored.delimiter, 44);
    EXPECT_EQ(stored.qualifier, 34);
    EXPECT_EQ(stored.fields.front(), (std::pair<std::string, bool>{"DATE", true}));
    ASSERT_EQ(cli({"--in", "42:mylog", "--out", "19:" + tmp("fieldscli.txt")}), 0);
    EXPECT_TRUE(wiz == readFile(tmp("fieldscli.txt")));
}

TEST_F(OutputSpec, CabrilloGoesStraightToTheRunAndMatchesQx7cli)
{
    walkFromMyLog();
    setOutput(LogType::Cabrillo, "contest.log", "DL0QX");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::ProtocolPage);
    ASSERT_TRUE(wizard->lastResult().writeOk);
    const std::string wiz = readFile(tmp("contest.log"));
    EXPECT_EQ(wiz.rfind("START-OF-LOG: ", 0), 0u);
    EXPECT_NE(wiz.find("CALLSIGN: DL0QX"), std::string::npos);
    ASSERT_EQ(cli({"--in", "42:mylog", "--out", "27:" + tmp("contestcli.log"), "--call", "DL0QX"}),
              0);
    EXPECT_TRUE(wiz == readFile(tmp("contestcli.log")));
}

TEST_F(OutputSpec, BackLeavesTheStoredChoicesAlone)
{
    walkFromMyLog();
    setOutput(LogType::AsciiByCall, "calls.txt");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::OutputSpecPage);
    toggle(QStringLiteral("Call"));
    click("OutputSpecBackButton");
    EXPECT_EQ(wizard->page(), TQXToolsForm::OutputPage);
    EXPECT_FALSE(std::filesystem::exists(dm().QXUserPath + "/ascii2.qxeo"));
    click("StartButton");
    // Shown again as stored: everything ticked.
    EXPECT_EQ(field(QStringLiteral("Call"))->checkState(), Qt::Checked);
}

} // namespace
} // namespace qx7
