#pragma once

#include "router/CallMonitorLine.h"

#include <QHash>
#include <QObject>

// The calls the router reports, by their id: an incoming call rings, is picked up or missed,
// and ends. Each call is announced once, however often the router repeats its lines.
class CallTracker : public QObject {
    Q_OBJECT
public:
    // A router has a handful of lines; more open calls than this are a flood, not calls.
    static constexpr int MaxOpenCalls = 32;

    explicit CallTracker(QObject* parent = nullptr);

    void handle(const CallEvent& event);
    int openCalls() const { return int(m_calls.size()); }
    // The connection went away: what was open will never hear its end.
    void forgetAll();

signals:
    // number: as the router gave it, empty when withheld.
    void ringing(const QString& id, const QString& number);
    void answered(const QString& id);
    void missed(const QString& id, const QString& number);
    // A ringing call whose end will not be reported (the connection was lost).
    void abandoned(const QString& id);

private:
    enum class State { Ringing, Answered, Outgoing };
    struct Call {
        State state = State::Ringing;
        QString number;
    };
    QHash<QString, Call> m_calls;
};
