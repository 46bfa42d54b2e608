// Renders the windows on a small sample home. With QX7_SCREENSHOT_DIR set the pictures
// are kept there (docs/screenshots is made this way); otherwise they are only checked.

#include "ui/help/HelpWindow.h"
#include "ui/log/QsoDragData.h"
#include "ui/manager/TQXManagerDlg.h"
#include "ui/swl/SwlWindow.h"

#include "WindowTestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

void keep(QWidget& w, const char* name)
{
    w.show();
    QCoreApplication::processEvents();
    const QPixmap picture = w.grab();
    EXPECT_FALSE(picture.isNull()) << name;
    EXPECT_GT(picture.width(), 300) << name;
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(picture.save(QDir(dir).filePath(QLatin1String(name) + ".png"))) << name;
    }
}

TEST(WindowScreenshots, RenderOnASampleHome)
{
    SilentPrompter prompter;
    testing::WindowTestHome home(prompter);
    home.write("managers.txt", "W1AW;K1AAA;20000101;;\nVP8XY;G4ABC;20010315;;\n"
                               "ZD8Z;VE3HO;1999;;\n3Y0J;LA7GIA;20230101;;\nFT5ZM;F6KOP;;;\n"
                               "VK0EK;K8LJG;2016;;\nW1AW;K2BBB;20100101;;\n");
    {
        TQXManagerDlg dlg(*home.dm);
        dlg.setFileChooser([&](QWidget*, FileRequest&) {
            return QString::fromStdString(home.file("managers.txt"));
        });
        dlg.importTextFile();
        keep(dlg, "manager");
    }
    {
        SwlWindow swl(*home.dm);
        std::unique_ptr<QMimeData> data(
            makeQsoDrag({"DL1ABC",
                         {{"JA1XYZ", "20240315", "1203", "20m", "SSB", ""},
                          {"VK2ABC", "20240316", "0810", "20m", "FT8", ""},
                          {"PY2XX", "20240401", "2244", "40m", "CW", ""}}}));
        swl.dropQsos(data.get());
        swl.findChild<QLineEdit*>(QStringLiteral("swlCallEdit"))
            ->setText(QStringLiteral("ONL12345"));
        keep(swl, "swl");
    }
    HelpWindow help;
    help.openTopic(QStringLiteral("qsl_manager"));
    keep(help, "help");
}

} // namespace
} // namespace qx7
