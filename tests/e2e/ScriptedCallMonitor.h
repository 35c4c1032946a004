#pragma once

#include "Poll.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// A router's call monitor for tests: a TCP server on 127.0.0.1 that replays lines, split or in a
// flood, drops the connection and refuses new ones. Runs on the test's thread; its waits process
// events, so a program under test in the same process keeps running.
class ScriptedCallMonitor {
public:
    // port 0: any free one.
    bool listen(quint16 port = 0) {
        if (!m_server.listen(QHostAddress::LocalHost, port))
            return false;
        m_port = m_server.serverPort();
        return true;
    }
    quint16 port() const { return m_port; }

    bool waitForClient(int timeoutMs) {
        return Poll::until(
            [this] {
                if (QTcpSocket* next = m_server.nextPendingConnection()) {
                    delete m_client;
                    m_client = next;
                    ++m_connections;
                }
                return m_client && m_client->state() == QAbstractSocket::ConnectedState;
            },
            timeoutMs);
    }
    int connections() const { return m_connections; }

    bool send(const QByteArray& bytes) {
        if (!m_client || m_client->write(bytes) != bytes.size())
            return false;
        while (m_client->bytesToWrite() > 0) {
            if (!m_client->waitForBytesWritten(Poll::ChangeLimitMs))
                return false;
        }
        return true;
    }
    // Each part in a read of its own at the far end.
    bool sendSplit(const QList<QByteArray>& parts) {
        for (const QByteArray& part : parts) {
            if (!send(part))
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    // The connection goes, as when the router restarts; new ones are still taken.
    void drop() {
        delete m_client;
        m_client = nullptr;
    }
    // No more connections: the program sees "connection refused".
    void close() {
        drop();
        m_server.close();
    }

private:
    QTcpServer m_server;
    QTcpSocket* m_client = nullptr;
    quint16 m_port = 0;
    int m_connections = 0;
};
