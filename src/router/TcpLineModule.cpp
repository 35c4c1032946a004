#include "router/TcpLine.h"

#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

TcpLine::Failure failureOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TcpLine::Failure::Refused;
    case QAbstractSocket::RemoteHostClosedError:
        return TcpLine::Failure::ClosedByPeer;
    case QAbstractSocket::HostNotFoundError:
        return TcpLine::Failure::HostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return TcpLine::Failure::TimedOut;
    case QAbstractSocket::NetworkError:
        return TcpLine::Failure::NetworkDown;
    default:
        return TcpLine::Failure::Other;
    }
}

class QtTcpLine : public TcpLine {
public:
    QIODevice* device() override { return &m_socket; }

    void onEvents(Events events) override {
        QObject::connect(&m_socket, &QTcpSocket::connected, &m_socket, events.connected);
        QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_socket,
                         [failed = events.failed](QAbstractSocket::SocketError error) {
                             failed(failureOf(error));
                         });
        QObject::connect(&m_socket, &QTcpSocket::disconnected, &m_socket, events.disconnected);
    }

    void connectToHost(const QString& host, quint16 port) override {
        m_socket.connectToHost(host, port);
    }

    void abort() override { m_socket.abort(); }

    void keepAlive() override {
        m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
        const int descriptor = int(m_socket.socketDescriptor());
        const int idleSeconds = 60, intervalSeconds = 15, probes = 4;
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds,
                     sizeof intervalSeconds);
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
    }

private:
    QTcpSocket m_socket;
};

} // namespace

extern "C" Q_DECL_EXPORT TcpLine* kurbelfonCreateTcpLine() {
    return new QtTcpLine;
}
