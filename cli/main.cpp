// qx7cli: every capability of the program without windows.

#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>

namespace {

// Qt's start-up chatter (runtime folder, platform plugin) is noise on a terminal.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg ||
        text.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::cerr << text.toStdString() << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietMessages);
    // Label output and the printer list need QtGui; no display is needed for either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Taken before Qt sees them: QGuiApplication removes its own options ("--reverse").
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return qx7::cli::runCli(args, std::cout, std::cerr,
                            QCoreApplication::applicationDirPath().toStdString());
}
