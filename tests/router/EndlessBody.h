#pragma once

#include <QTcpSocket>

// An answer whose chunked body has no end: head (status line and headers, each ending in
// "\r\n") and then another 64 KiB chunk whenever the last went out, until the client gives up.
inline void writeEndlessAnswer(QTcpSocket* socket, const QByteArray& head) {
    socket->write(head + "Transfer-Encoding: chunked\r\n\r\n");
    const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
        if (socket->bytesToWrite() < chunk.size())
            socket->write(chunk);
    });
    socket->write(chunk);
}
