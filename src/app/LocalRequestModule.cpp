#include "app/LocalRequestModule.h"

#include <QLocalServer>
#include <QLocalSocket>

extern "C" Q_DECL_EXPORT bool kurbelfonListenLocal(const QString& path, QObject* parent,
                                                   LocalRequestHandler onRequest, QString* error) {
    // A socket file left by a crashed run would keep listen() from working.
    QLocalServer::removeServer(path);
    auto* server = new QLocalServer(parent);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server, &QLocalServer::newConnection, server, [server, onRequest] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onRequest] {
                // A request may arrive in pieces: only whole lines count.
                // The answer goes first: a dial request runs a dialog until the call ends.
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    socket->write("ok\n");
                    socket->flush();
                    onRequest(line);
                }
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (server->listen(path))
        return true;
    *error = server->errorString();
    delete server;
    return false;
}

extern "C" Q_DECL_EXPORT LocalSendResult kurbelfonSendLocal(const QString& path,
                                                            const QByteArray& request,
                                                            int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return LocalSendResult::NobodyListens;
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return LocalSendResult::NoAnswer;
    const bool answered = socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return answered ? LocalSendResult::Answered : LocalSendResult::NoAnswer;
}
