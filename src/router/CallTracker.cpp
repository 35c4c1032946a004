#include "router/CallTracker.h"

#include <QElapsedTimer>
#include <QStringList>
#include <memory>
#include <utility>

CallTracker::CallTracker(QObject* parent) : QObject(parent) {
    m_clock = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
}

void CallTracker::handle(const CallEvent& event) {
    const qint64 now = m_clock();
    forgetStale(now);
    switch (event.type) {
    case CallEvent::Ring:
    case CallEvent::Call: {
        // Only a RING repeated while its id still rings is the same call; a reused id whose
        // call was picked up or whose end got lost starts a new one.
        const auto call = m_calls.constFind(event.id);
        if (call != m_calls.cend() && call->state == State::Ringing &&
            event.type == CallEvent::Ring)
            return;
        start(event, now);
        return;
    }
    case CallEvent::Connect: {
        const auto call = m_calls.find(event.id);
        if (call == m_calls.end() || call->state != State::Ringing)
            return;
        call->state = State::Answered;
        emit answered(event.id);
        return;
    }
    case CallEvent::Disconnect: {
        const auto call = m_calls.find(event.id);
        if (call == m_calls.end())
            return;
        const Call closed = *call;
        m_calls.erase(call);
        if (closed.state == State::Ringing)
            emit missed(event.id, closed.number, closed.ownNumber);
        else
            emit ended(event.id, event.durationSeconds);
        return;
    }
    case CallEvent::Invalid:
    case CallEvent::Unknown:
        return;
    }
}

void CallTracker::start(const CallEvent& event, qint64 now) {
    forget(event.id);
    // Full: lost ends must not shut out the next real call, so the oldest open call goes.
    if (m_calls.size() >= MaxOpenCalls) {
        auto oldest = m_calls.cbegin();
        for (auto call = m_calls.cbegin(); call != m_calls.cend(); ++call) {
            if (call->order < oldest->order)
                oldest = call;
        }
        forget(oldest.key());
    }
    const bool incoming = event.type == CallEvent::Ring;
    m_calls.insert(event.id, {incoming ? State::Ringing : State::Outgoing, event.number,
                              event.ownNumber, now, ++m_started});
    if (incoming)
        emit ringing(event.id, event.number, event.ownNumber);
    else
        emit dialed(event.id, event.number);
}

void CallTracker::forget(QString id) {
    const auto call = m_calls.constFind(id);
    if (call == m_calls.cend())
        return;
    const bool wasRinging = call->state == State::Ringing;
    m_calls.erase(call);
    if (wasRinging)
        emit abandoned(id);
}

void CallTracker::forgetStale(qint64 now) {
    QStringList stale;
    for (auto call = m_calls.cbegin(); call != m_calls.cend(); ++call) {
        const qint64 limit = call->state == State::Ringing ? RingingLimitMs : OpenLimitMs;
        if (now - call->since > limit)
            stale << call.key();
    }
    for (const QString& id : stale)
        forget(id);
}

void CallTracker::forgetAll() {
    const QHash<QString, Call> calls = std::exchange(m_calls, {});
    for (auto call = calls.cbegin(); call != calls.cend(); ++call) {
        if (call->state == State::Ringing)
            emit abandoned(call.key());
    }
}
