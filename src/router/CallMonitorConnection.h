#pragma once

#include "router/TcpLine.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

// The connection to the router's call monitor: whole lines out of the byte stream, and a
// connection that comes back by itself after the router restarted or the network dropped,
// with pauses that grow from 2 s to 60 s so that a router that refuses costs nothing.
class CallMonitorConnection : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Connecting, Connected, Waiting };
    // Longer lines are no call monitor lines: they are discarded and counted.
    static constexpr int MaxLineLength = 1000;
    static constexpr int FirstPauseSeconds = 2;
    static constexpr int LastPauseSeconds = 60;
    static constexpr int ConnectLimitMs = 15000;

    explicit CallMonitorConnection(QObject* parent = nullptr);
    ~CallMonitorConnection() override;

    // The pause before the next attempt after this many failed ones in a row (1, 2, ...).
    static int pauseSeconds(int failures);

    void start(const QString& host, quint16 port);
    void stop();

    State state() const { return m_state; }
    QString stateText() const { return m_stateText; }
    int discardedLines() const { return m_discarded; }

signals:
    // One line without its line end.
    void lineReceived(const QByteArray& line);
    void stateChanged(const QString& text);
    // A connection that was up is gone.
    void connectionLost();

private:
    // The connection from the network module, made at the first attempt; null without it.
    TcpLine* line();
    void connectNow();
    void onConnected();
    void fail(const QString& reason);
    void readLines();
    void setState(State state, const QString& text);
    static QString reasonFor(TcpLine::Failure failure);

    std::unique_ptr<TcpLine> m_line;
    QString m_moduleError;
    QTimer m_retry;
    QTimer m_connectLimit;
    QString m_host;
    quint16 m_port = 0;
    State m_state = State::Off;
    QString m_stateText;
    int m_failures = 0;
    QByteArray m_buffer;
    bool m_discarding = false;
    int m_discarded = 0;
};
