#include "ui/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qx7 {

namespace {

constexpr int kConnectTimeoutMs = 3000;

QString lockPath(const QString& name)
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists())
        runtime = QDir::tempPath();
    return runtime + QLatin1Char('/') + name + QStringLiteral("-%1.lock").arg(::getuid());
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    if (m_lockFd >= 0)
        ::close(m_lockFd); // releases the lock
}

QString SingleInstance::instanceName()
{
    const QString custom = qEnvironmentVariable("QX7_INSTANCE_NAME");
    return custom.isEmpty() ? QStringLiteral("QX7 - QSL Labels") : custom;
}

bool SingleInstance::becomePrimary(const QStringList& arguments)
{
    const QString name = instanceName();
    m_lockFd =
        ::open(QFile::encodeName(lockPath(name)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) {
        // We hold the lock, so a socket file left behind by a crash is stale.
        QLocalServer::removeServer(name);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(name);
        return true;
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
    // The first instance may still be starting: retry until its socket listens.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kConnectTimeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write(arguments.join(QLatin1Char('\n')).toUtf8() + "\n\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return false;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->peek(socket->bytesAvailable());
            if (!data.endsWith("\n\n"))
                return; // wait for the whole message
            const QString text = QString::fromUtf8(socket->readAll()).trimmed();
            emit activationRequested(text.isEmpty() ? QStringList{}
                                                    : text.split(QLatin1Char('\n')));
        });
    }
}

} // namespace qx7
