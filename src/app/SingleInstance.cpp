#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray ShowRequest = QByteArrayLiteral("show\n");
constexpr int TimeoutMs = 5000;
} // namespace

SingleInstance::SingleInstance(const QString& runtimeFolder, QObject* parent)
    : QObject(parent), m_lockPath(QDir(runtimeFolder).filePath(QStringLiteral("kurbelfon.lock"))),
      m_socketPath(QDir(runtimeFolder).filePath(QStringLiteral("kurbelfon.socket"))) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    QDir().mkpath(QFileInfo(m_lockPath).path());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a lock left by a crashed run is taken over
    if (!m_lock->tryLock(100))
        return false;

    // A socket file left by a crashed run would keep listen() from working.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show"))
                    emit activationRequested();
                socket->write("ok\n");
                socket->flush();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_socketPath);
    return true;
}

bool SingleInstance::activateRunning() {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(TimeoutMs))
        return false;
    socket.write(ShowRequest);
    if (!socket.waitForBytesWritten(TimeoutMs))
        return false;
    const bool answered = socket.waitForReadyRead(TimeoutMs);
    socket.disconnectFromServer();
    return answered;
}
