// Two real processes of the desktop program: the second start must hand over to the
// first and end before it creates a data module.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString programPath()
{
    return QStringLiteral(QX7_BINARY_DIR "/app/qx7");
}

QProcessEnvironment environmentFor(const QString& instance)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QX7_INSTANCE_NAME", instance);
    env.remove("QX7_HOME");
    return env;
}

bool waitForLine(QProcess& p, const QByteArray& line, int ms)
{
    QByteArray seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        p.waitForReadyRead(100);
        seen += p.readAllStandardOutput();
        if (seen.contains(line))
            return true;
        if (p.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

TEST(SingleInstance, SecondStartRaisesTheFirstAndCreatesNoDataModule)
{
    QTemporaryDir first, second;
    const QString instance = QStringLiteral("qx7-test-%1").arg(QCoreApplication::applicationPid());

    QProcess running;
    running.setProcessEnvironment(environmentFor(instance));
    running.start(programPath(), {"--home", first.path()});
    ASSERT_TRUE(running.waitForStarted(5000));
    ASSERT_TRUE(waitForLine(running, "main window shown", 15000))
        << running.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(first.filePath("qx7.ini")));

    QProcess again;
    again.setProcessEnvironment(environmentFor(instance));
    again.start(programPath(), {"--home", second.path(), "dl1abc.qx7"});
    ASSERT_TRUE(again.waitForFinished(15000));
    EXPECT_EQ(again.exitCode(), 0);
    EXPECT_TRUE(again.readAllStandardError().contains("already running"));
    EXPECT_FALSE(QFile::exists(second.filePath("qx7.ini")))
        << "the second start made a data module";

    // The first one was asked to come to the front.
    QByteArray err;
    QElapsedTimer t;
    t.start();
    while (!err.contains("brought to the front") && t.elapsed() < 10000) {
        running.waitForReadyRead(100);
        err += running.readAllStandardError();
    }
    EXPECT_TRUE(err.contains("brought to the front"));

    running.terminate();
    running.waitForFinished(5000);
    if (running.state() != QProcess::NotRunning)
        running.kill();

    // With the first gone, a new start runs on its own again.
    QProcess later;
    later.setProcessEnvironment(environmentFor(instance));
    later.start(programPath(), {"--home", second.path(), "--quit-when-shown"});
    ASSERT_TRUE(later.waitForFinished(15000));
    EXPECT_TRUE(later.readAllStandardOutput().contains("main window shown"));
    EXPECT_TRUE(QFile::exists(second.filePath("qx7.ini")));
}

} // namespace
