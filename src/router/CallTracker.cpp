#include "router/CallTracker.h"

#include <utility>

CallTracker::CallTracker(QObject* parent) : QObject(parent) {}

void CallTracker::handle(const CallEvent& event) {
    switch (event.type) {
    case CallEvent::Ring:
    case CallEvent::Call:
        if (m_calls.contains(event.id) || m_calls.size() >= MaxOpenCalls)
            return;
        if (event.type == CallEvent::Call) {
            m_calls.insert(event.id, {State::Outgoing, event.number});
            return;
        }
        m_calls.insert(event.id, {State::Ringing, event.number});
        emit ringing(event.id, event.number);
        return;
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
        const Call ended = *call;
        m_calls.erase(call);
        if (ended.state == State::Ringing)
            emit missed(event.id, ended.number);
        return;
    }
    case CallEvent::Invalid:
    case CallEvent::Unknown:
        return;
    }
}

void CallTracker::forgetAll() {
    const QHash<QString, Call> calls = std::exchange(m_calls, {});
    for (auto call = calls.cbegin(); call != calls.cend(); ++call) {
        if (call->state == State::Ringing)
            emit abandoned(call.key());
    }
}
