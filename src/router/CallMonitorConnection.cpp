#include "router/CallMonitorConnection.h"

#include "router/CallMonitorMessages.h"

#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

// A router that vanished without a word (power cut, cable) is noticed within about two minutes
// instead of the system's two hours.
void keepAlive(QTcpSocket* socket) {
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int descriptor = int(socket->socketDescriptor());
    const int idleSeconds = 60, intervalSeconds = 15, probes = 4;
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
}

} // namespace

CallMonitorConnection::CallMonitorConnection(QObject* parent)
    : QObject(parent), m_socket(new QTcpSocket(this)), m_stateText(CallMonitorMessages::Off) {
    m_retry.setSingleShot(true);
    m_connectLimit.setSingleShot(true);
    m_connectLimit.setInterval(ConnectLimitMs);
    connect(&m_retry, &QTimer::timeout, this, &CallMonitorConnection::connectNow);
    connect(&m_connectLimit, &QTimer::timeout, this,
            [this] { fail(CallMonitorMessages::NoAnswer); });
    connect(m_socket, &QTcpSocket::connected, this, &CallMonitorConnection::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &CallMonitorConnection::readLines);
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { fail(reasonFor(error)); });
    connect(m_socket, &QTcpSocket::disconnected, this,
            [this] { fail(CallMonitorMessages::ClosedByRouter); });
}

int CallMonitorConnection::pauseSeconds(int failures) {
    int pause = FirstPauseSeconds;
    for (int i = 1; i < failures && pause < LastPauseSeconds; ++i)
        pause *= 2;
    return qMin(pause, LastPauseSeconds);
}

void CallMonitorConnection::start(const QString& host, quint16 port) {
    if (m_state != State::Off && host == m_host && port == m_port)
        return;
    m_host = host;
    m_port = port;
    m_failures = 0;
    connectNow();
}

void CallMonitorConnection::stop() {
    m_retry.stop();
    m_connectLimit.stop();
    // Off first: aborting a connected socket reports a disconnect, which must not schedule more.
    setState(State::Off, CallMonitorMessages::Off);
    m_socket->abort();
    m_buffer.clear();
    m_discarding = false;
}

void CallMonitorConnection::connectNow() {
    m_retry.stop();
    // Aborting an open connection reports a disconnect, which is no failure here.
    m_state = State::Off;
    m_socket->abort();
    setState(State::Connecting, CallMonitorMessages::Connecting);
    m_buffer.clear();
    m_discarding = false;
    m_connectLimit.start();
    m_socket->connectToHost(m_host, m_port);
}

void CallMonitorConnection::onConnected() {
    m_connectLimit.stop();
    m_failures = 0;
    keepAlive(m_socket);
    setState(State::Connected, CallMonitorMessages::Connected);
}

void CallMonitorConnection::fail(const QString& reason) {
    if (m_state == State::Off || m_state == State::Waiting)
        return;
    const bool wasConnected = m_state == State::Connected;
    m_connectLimit.stop();
    const int pause = pauseSeconds(++m_failures);
    setState(State::Waiting, CallMonitorMessages::Waiting.arg(pause).arg(reason));
    m_socket->abort();
    m_retry.start(pause * 1000);
    if (wasConnected)
        emit connectionLost();
}

void CallMonitorConnection::readLines() {
    m_buffer += m_socket->readAll();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', start);
        if (end < 0)
            break;
        qsizetype length = end - start;
        if (length > 0 && m_buffer.at(end - 1) == '\r')
            --length;
        if (m_discarding || length > MaxLineLength) {
            m_discarding = false;
            ++m_discarded;
        } else if (length > 0) {
            emit lineReceived(m_buffer.mid(start, length));
            // A slot may have stopped the monitor, which empties the buffer.
            if (m_state != State::Connected)
                return;
        }
        start = end + 1;
    }
    m_buffer.remove(0, start);
    // The rest of an overlong line is skipped up to its line end without being kept.
    if (m_buffer.size() > MaxLineLength) {
        m_buffer.clear();
        m_discarding = true;
    }
}

void CallMonitorConnection::setState(State state, const QString& text) {
    m_state = state;
    if (text == m_stateText)
        return;
    m_stateText = text;
    emit stateChanged(text);
}

QString CallMonitorConnection::reasonFor(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return CallMonitorMessages::Refused;
    case QAbstractSocket::RemoteHostClosedError:
        return CallMonitorMessages::ClosedByRouter;
    case QAbstractSocket::HostNotFoundError:
        return CallMonitorMessages::HostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return CallMonitorMessages::NoAnswer;
    case QAbstractSocket::NetworkError:
        return CallMonitorMessages::NetworkDown;
    default:
        return CallMonitorMessages::OtherError;
    }
}
