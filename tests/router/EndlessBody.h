#pragma once

#include <QSslSocket>
#include <QTcpSocket>

// An answer whose chunked body has no end: head (status line and headers, each ending in
// "\r\n") and then another 64 KiB chunk whenever the last went out, until the client gives up.
inline void writeEndlessAnswer(QTcpSocket* socket, const QByteArray& head) {
    socket->write(head + "Transfer-Encoding: chunked\r\n\r\n");
    const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
    // A TLS socket says its bytes were written once they are encrypted: what waits for the wire
    // counts too, or the chunks pile up in memory faster than they leave.
    auto* tls = qobject_cast<QSslSocket*>(socket);
    const auto more = [socket, tls, chunk] {
        if (socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0) < chunk.size())
            socket->write(chunk);
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    if (tls)
        QObject::connect(tls, &QSslSocket::encryptedBytesWritten, socket, more);
    socket->write(chunk);
}
