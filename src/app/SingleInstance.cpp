#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>

namespace {
// One request a line: "show", or "dial " and the percent-encoded link (so it holds no line
// break). An older program ignores a request it does not know.
const QByteArray ShowRequest = QByteArrayLiteral("show\n");
const QByteArray DialRequest = QByteArrayLiteral("dial ");
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
                // A request may arrive in pieces: only whole lines count.
                // The answer goes first: a dial request runs a dialog until the call ends.
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    socket->write("ok\n");
                    socket->flush();
                    handleRequest(line);
                }
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_socketPath);
    return true;
}

void SingleInstance::handleRequest(const QByteArray& line) {
    if (line.startsWith(DialRequest))
        emit linkReceived(QUrl::fromPercentEncoding(line.mid(DialRequest.size())));
    else if (line.contains("show"))
        emit activationRequested();
}

bool SingleInstance::activateRunning() {
    return sendRequest(ShowRequest);
}

bool SingleInstance::handOverLink(const QString& link) {
    return sendRequest(DialRequest + QUrl::toPercentEncoding(link) + '\n');
}

bool SingleInstance::sendRequest(const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(TimeoutMs))
        return false;
    socket.write(request);
    if (!socket.waitForBytesWritten(TimeoutMs))
        return false;
    const bool answered = socket.waitForReadyRead(TimeoutMs);
    socket.disconnectFromServer();
    return answered;
}
