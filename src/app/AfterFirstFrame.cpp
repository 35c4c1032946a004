#include "app/AfterFirstFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {
// Should no window ever be drawn (no screen to draw on), the work still gets done.
constexpr int LatestStartMs = 3000;
} // namespace

AfterFirstFrame::AfterFirstFrame() : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(LatestStartMs, this, &AfterFirstFrame::runAll);
}

void AfterFirstFrame::run(QObject* context, std::function<void()> work) {
    static QPointer<AfterFirstFrame> instance;
    if (!instance)
        instance = new AfterFirstFrame();
    instance->m_waiting.push_back({context, std::move(work)});
    if (instance->m_drawn)
        QTimer::singleShot(0, instance, &AfterFirstFrame::runAll);
}

bool AfterFirstFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_drawn) {
        m_drawn = true;
        QCoreApplication::instance()->removeEventFilter(this);
        // Queued: the painting this event starts is put on the screen first.
        QTimer::singleShot(0, this, &AfterFirstFrame::runAll);
    }
    return QObject::eventFilter(watched, event);
}

void AfterFirstFrame::runAll() {
    m_drawn = true;
    QCoreApplication::instance()->removeEventFilter(this);
    // Work may add work.
    while (!m_waiting.empty()) {
        std::vector<Work> now;
        now.swap(m_waiting);
        for (Work& item : now) {
            if (item.context)
                item.work();
        }
    }
}
