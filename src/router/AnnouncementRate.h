#pragma once

#include <QtGlobal>
#include <array>

// How many calls are announced one by one: a router that reports dozens of calls a second (a
// flood, or lost ends coming back at once) would bury the desktop in notifications. Past a few a
// second, calls are only counted until a second passes without one; the caller then says how
// many in one notification.
class AnnouncementRate {
public:
    static constexpr int PerSecond = 3;
    static constexpr qint64 QuietMs = 1000;

    // True: announce this call now; false: it is counted into the burst.
    bool admit(qint64 nowMs);
    bool inBurst(qint64 nowMs) const;

private:
    std::array<qint64, PerSecond> m_admitted{}; // the last ones announced, oldest first
    int m_count = 0;
    qint64 m_lastCounted = 0;
    bool m_counting = false;
};
