// The desktop program: one instance, a splash window while the data module and the
// windows are created, then the message loop.

#include "config/TQXConfigDlg2.h"
#include "core/QxHome.h"
#include "datamodule/TQXDM.h"
#include "labels/render/SystemPrinters.h"
#include "ui/main/Screenshots.h"
#include "ui/main/TQXForm.h"
#include "ui/QtPrompter.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

struct Options
{
    std::optional<std::string> home;
    bool quitWhenShown = false; // for the start-up benchmark and tests
    QString screenshots;        // render the main window into this folder and end
    QStringList passOn;         // logs to open, handed to a running instance too
};

Options parseOptions(const QStringList& args)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--home") && i + 1 < args.size())
            o.home = args[++i].toStdString();
        else if (args[i].startsWith(QLatin1String("--home=")))
            o.home = args[i].mid(7).toStdString();
        else if (args[i] == QLatin1String("--quit-when-shown"))
            o.quitWhenShown = true;
        else if (args[i] == QLatin1String("--screenshots") && i + 1 < args.size())
            o.screenshots = args[++i];
        else
            o.passOn << args[i];
    }
    return o;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QX7 - QSL Labels"));
    QApplication::setApplicationVersion(QStringLiteral(QX7_VERSION_TEXT));
    const Options options = parseOptions(QApplication::arguments());

    // 1. One instance: a second start hands its arguments to the first and ends here,
    // before any data module exists.
    qx7::SingleInstance instance;
    if (options.screenshots.isEmpty() && !instance.becomePrimary(options.passOn)) {
        std::fprintf(stderr, "qx7: already running; the running program was asked to come "
                             "to the front\n");
        return 0;
    }

    // 2.–3.
    auto splash = std::make_unique<qx7::SplashWindow>(4);
    splash->show();
    splash->setAction(QStringLiteral("Initialize Application..."));

    // 4. The data module.
    qx7::QtPrompter prompter;
    qx7::SilentYesPrompter yesPrompter; // pictures are taken without questions
    qx7::DataModuleEnvironment env;
    env.programFolder =
        qx7::resolveQxHome(options.home, QCoreApplication::applicationDirPath().toStdString());
    env.prompter =
        options.screenshots.isEmpty() ? static_cast<qx7::Prompter*>(&prompter) : &yesPrompter;
    env.systemPrinters = qx7::systemPrinterNames;
    qx7::TQXDM dm(std::move(env));
    for (const QString& arg : options.passOn)
        if (arg.contains(QLatin1String(".qx7")))
            dm.addPendingLog(arg.toStdString());
    splash->advance();

    // 5. The main window.
    qx7::TQXForm form(dm);
    prompter.setParent(&form);
    form.setConfigurationOpener([&form, &dm] {
        qx7::TQXConfigDlg2 dialog(dm, &form);
        QObject::connect(&dialog, &qx7::TQXConfigDlg2::settingsApplied, &form,
                         [&form] { form.SetActions(); });
        dialog.exec();
    });
    QObject::connect(&instance, &qx7::SingleInstance::activationRequested, &form,
                     [&form, &dm](const QStringList& args) {
                         for (const QString& arg : args)
                             if (arg.contains(QLatin1String(".qx7")))
                                 dm.addPendingLog(arg.toStdString());
                         std::fprintf(stderr, "qx7: brought to the front by a second start\n");
                         form.bringToFront();
                     });
    splash->advance();

    // 6. The label designer comes with the label issue; the bar advances either way.
    if (dm.PrinterAvailable)
        splash->setAction(QStringLiteral("Initialize Label Designer..."));
    splash->advance();

    // 7. Show the main window and let it settle.
    form.show();
    splash->setAction(QString());
    splash->advance();
    std::printf("qx7: main window shown\n");
    std::fflush(stdout);
    if (!options.screenshots.isEmpty()) {
        splash.reset();
        const bool ok = qx7::takeScreenshots(form, options.screenshots);
        form.close();
        return ok ? 0 : 1;
    }
    if (options.quitWhenShown) {
        splash.reset();
        return 0;
    }
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    // 8. The first activation's work (the offer of a sample log when there is no log
    // yet) runs once the splash is gone and the message loop runs; it leaves the focus
    // in the search field.
    dm.FormActivated = 1;
    splash.reset();
    QTimer::singleShot(0, &form, [&form] { form.FormActivate(); });
    return QApplication::exec();
}
