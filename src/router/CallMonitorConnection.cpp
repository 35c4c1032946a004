#include "router/CallMonitorConnection.h"

#include "router/CallMonitorMessages.h"
#include "support/ProgramModule.h"

#include <QIODevice>

CallMonitorConnection::CallMonitorConnection(QObject* parent)
    : QObject(parent), m_stateText(CallMonitorMessages::Off) {
    m_retry.setSingleShot(true);
    m_connectLimit.setSingleShot(true);
    m_connectLimit.setInterval(ConnectLimitMs);
    connect(&m_retry, &QTimer::timeout, this, &CallMonitorConnection::connectNow);
    connect(&m_connectLimit, &QTimer::timeout, this,
            [this] { fail(CallMonitorMessages::NoAnswer); });
}

CallMonitorConnection::~CallMonitorConnection() {
    // A socket closed while connected reports it; nothing must come of that now.
    m_state = State::Off;
    m_line.reset();
}

TcpLine* CallMonitorConnection::line() {
    if (m_line)
        return m_line.get();
    m_line =
        ProgramModule::createPart<TcpLine>(QStringLiteral("Netzwerkanbindung"), &m_moduleError);
    if (!m_line)
        return nullptr;
    connect(m_line->device(), &QIODevice::readyRead, this, &CallMonitorConnection::readLines);
    m_line->onEvents({[this] { onConnected(); },
                      [this](TcpLine::Failure failure) { fail(reasonFor(failure)); },
                      [this] { fail(CallMonitorMessages::ClosedByRouter); }});
    return m_line.get();
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
    if (m_line)
        m_line->abort();
    m_buffer.clear();
    m_discarding = false;
}

void CallMonitorConnection::connectNow() {
    m_retry.stop();
    // Aborting an open connection reports a disconnect, which is no failure here.
    m_state = State::Off;
    if (m_line)
        m_line->abort();
    setState(State::Connecting, CallMonitorMessages::Connecting);
    m_buffer.clear();
    m_discarding = false;
    if (!line()) {
        fail(m_moduleError);
        return;
    }
    m_connectLimit.start();
    m_line->connectToHost(m_host, m_port);
}

void CallMonitorConnection::onConnected() {
    m_connectLimit.stop();
    m_failures = 0;
    m_line->keepAlive();
    setState(State::Connected, CallMonitorMessages::Connected);
}

void CallMonitorConnection::fail(const QString& reason) {
    if (m_state == State::Off || m_state == State::Waiting)
        return;
    const bool wasConnected = m_state == State::Connected;
    m_connectLimit.stop();
    const int pause = pauseSeconds(++m_failures);
    setState(State::Waiting, CallMonitorMessages::Waiting.arg(pause).arg(reason));
    if (m_line)
        m_line->abort();
    m_retry.start(pause * 1000);
    if (wasConnected)
        emit connectionLost();
}

void CallMonitorConnection::readLines() {
    m_buffer += m_line->device()->readAll();
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

QString CallMonitorConnection::reasonFor(TcpLine::Failure failure) {
    switch (failure) {
    case TcpLine::Failure::Refused:
        return CallMonitorMessages::Refused;
    case TcpLine::Failure::ClosedByPeer:
        return CallMonitorMessages::ClosedByRouter;
    case TcpLine::Failure::HostNotFound:
        return CallMonitorMessages::HostNotFound;
    case TcpLine::Failure::TimedOut:
        return CallMonitorMessages::NoAnswer;
    case TcpLine::Failure::NetworkDown:
        return CallMonitorMessages::NetworkDown;
    case TcpLine::Failure::Other:
        break;
    }
    return CallMonitorMessages::OtherError;
}
