// Pictures of the conversion dialogs and the wizard's export field page. With
// QX7_SCREENSHOT_DIR set they are kept there (docs/screenshots is made this way).

#include "ui/wizard/TQXToolsAdifForm.h"
#include "ui/wizard/TQXToolsBandForm.h"
#include "ui/wizard/TQXToolsDateForm.h"
#include "ui/wizard/TQXToolsSpecsForm.h"

#include "WizardFixture.h"

#include <QDir>
#include <QPixmap>

namespace qx7 {
namespace {

using namespace wizardtest;

void keep(QWidget& w, const char* name)
{
    w.show();
    QCoreApplication::processEvents();
    const QPixmap picture = w.grab();
    EXPECT_FALSE(picture.isNull()) << name;
    EXPECT_GT(picture.width(), 250) << name;
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(picture.save(QDir(dir).filePath(QLatin1String(name) + ".png"))) << name;
    }
}

class ToolsScreenshots : public ToolsWizard
{};

TEST_F(ToolsScreenshots, SpecificationEditorAndOptionDialogs)
{
    writeTmp("club.csv", "Station,QSO Date,Time,Band,Mode,Sent,Rcvd,Remarks\n"
                         "DL1ABC,20240105,1203,20m,SSB,59,57,first\n"
                         "JA1XYZ,20240106,0815,40m,CW,599,579,\n"
                         "VK2AB,20240107,2310,15m,FT8,,,late one\n");
    writeTmp("fixed.txt", "DL1ABC    20240105 1203 20m SSB\n"
                          "JA1XY     20240106 0815 40m CW \n"
                          "K1A       20240107 2310 15m FM \n");
    const auto press = [](QWidget& form, const char* name) {
        form.findChild<QPushButton*>(QLatin1String(name))->click();
    };
    TQXLogSpec csv = makeLogSpec(tmp("club.csv"), 34);
    EditImportSpec(dm(), SpecKind::Text, csv, nullptr, [&](TQXToolsSpecsForm& form) {
        form.findChild<QLineEdit*>(QStringLiteral("SpecNameEdit"))->setText("clubcsv");
        keep(form, "spec-editor-name");
        press(form, "NextButton");
        press(form, "AnalyzeFileButton");
        keep(form, "spec-editor-text-type");
        press(form, "NextButton");
        keep(form, "spec-editor-delimited");
        press(form, "NextButton");
        keep(form, "spec-editor-mapping");
        form.reject();
    });
    TQXLogSpec fixed = makeLogSpec(tmp("fixed.txt"), 3);
    EditImportSpec(dm(), SpecKind::Text, fixed, nullptr, [&](TQXToolsSpecsForm& form) {
        form.findChild<QLineEdit*>(QStringLiteral("SpecNameEdit"))->setText("fixed");
        press(form, "NextButton");
        press(form, "AnalyzeFileButton");
        press(form, "NextButton");
        keep(form, "spec-editor-breaks");
        form.reject();
    });
    TQXToolsDateForm date(QStringLiteral("dd.mm.yyyy"));
    keep(date, "date-format");
    TQXToolsDateForm bad(QStringLiteral("mm.yy"));
    keep(bad, "date-format-error");
    TQXToolsBandForm band(-1);
    keep(band, "band-format");
    TQXToolsAdifForm adif(dm());
    keep(adif, "adif-options");

    ASSERT_EQ(cli({"--in", "45:" + tmp("sample.adi"), "--out", "42:mylog", "--call", "DL0QX"}), 0);
    walkToOutput(LogType::Qx7, {QString::fromStdString(logFile("mylog", ".qx7"))});
    setOutput(LogType::AsciiByDate, "fields.txt");
    click("StartButton");
    ASSERT_EQ(wizard->page(), TQXToolsForm::OutputSpecPage);
    keep(*wizard, "tools-wizard-export-fields");
}

} // namespace
} // namespace qx7
