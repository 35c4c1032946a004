#pragma once

#include "router/CallMonitorLine.h"

#include <QHash>
#include <QObject>
#include <functional>

// The calls the router reports, by their id: an incoming call rings, is picked up or missed,
// and ends. Each call is announced once, however often the router repeats its lines.
class CallTracker : public QObject {
    Q_OBJECT
public:
    // A router has a handful of lines; more open calls than this are a flood, not calls.
    static constexpr int MaxOpenCalls = 32;
    // Ends the router never sent: a telephone rings for a minute or two, and few calls last
    // half a day. Checked as events come, so an idle program never wakes for it.
    static constexpr qint64 RingingLimitMs = 5 * 60 * 1000;
    static constexpr qint64 OpenLimitMs = 12 * 60 * 60 * 1000;

    explicit CallTracker(QObject* parent = nullptr);

    void handle(const CallEvent& event);
    int openCalls() const { return int(m_calls.size()); }
    // The connection went away: what was open will never hear its end.
    void forgetAll();
    // Milliseconds of a steady clock; tests move time on by hand.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

signals:
    // number: as the router gave it, empty when withheld; ownNumber: the line that was called.
    void ringing(const QString& id, const QString& number, const QString& ownNumber);
    void answered(const QString& id);
    void missed(const QString& id, const QString& number, const QString& ownNumber);
    // An outgoing call; number: as dialled.
    void dialed(const QString& id, const QString& number);
    // A picked-up or outgoing call ended after this many seconds connected.
    void ended(const QString& id, int durationSeconds);
    // A ringing call whose end will not be reported (the connection was lost, or it was
    // forgotten).
    void abandoned(const QString& id);

private:
    enum class State { Ringing, Answered, Outgoing };
    struct Call {
        State state = State::Ringing;
        QString number;
        QString ownNumber;
        qint64 since = 0;
        quint64 order = 0; // which came first, where the clock cannot tell
    };
    void start(const CallEvent& event, qint64 now);
    void forget(QString id); // a copy: the key in the table goes with the call
    void forgetStale(qint64 now);

    QHash<QString, Call> m_calls;
    std::function<qint64()> m_clock;
    quint64 m_started = 0;
};
