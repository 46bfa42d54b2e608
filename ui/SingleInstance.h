#pragma once
// One running program per user. The first start holds a lock file and listens on the
// local socket "QX7 - QSL Labels"; a later start finds the lock taken, asks the first
// through the socket to come to the front (passing its arguments) and exits.
// QX7_INSTANCE_NAME overrides the name, so that tests can run side by side.

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace qx7 {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString instanceName();
    // True when this process is the first one; false after handing the arguments to the
    // running one (or when it could not be reached).
    bool becomePrimary(const QStringList& arguments);

signals:
    void activationRequested(const QStringList& arguments);

private:
    void acceptConnection();
    int m_lockFd = -1;
    QLocalServer m_server;
};

} // namespace qx7
