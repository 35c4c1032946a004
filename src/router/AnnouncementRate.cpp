#include "router/AnnouncementRate.h"

#include <algorithm>

bool AnnouncementRate::inBurst(qint64 nowMs) const {
    return m_counting && nowMs - m_lastCounted < QuietMs;
}

bool AnnouncementRate::admit(qint64 nowMs) {
    const bool full = m_count == PerSecond && nowMs - m_admitted.front() < QuietMs;
    if (inBurst(nowMs) || full) {
        m_counting = true;
        m_lastCounted = nowMs;
        return false;
    }
    m_counting = false;
    if (m_count == PerSecond)
        std::rotate(m_admitted.begin(), m_admitted.begin() + 1, m_admitted.end());
    else
        ++m_count;
    m_admitted.at(m_count - 1) = nowMs;
    return true;
}
