#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <functional>

namespace Poll {

// Asks again every tenth of a second until the condition holds or the time is up. Events are
// processed meanwhile so QProcess notices children that end.
inline bool until(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
}

// Generous limits: the machines that run these tests also build.
constexpr int StartLimitMs = 60000;
constexpr int ChangeLimitMs = 30000;

} // namespace Poll
