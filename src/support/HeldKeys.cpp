#include "support/HeldKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <xcb/xcb.h>

HeldKeys* HeldKeys::instance() {
    // Dies with the application; tests make several in turn.
    static QPointer<HeldKeys> watcher;
    if (!watcher)
        watcher = new HeldKeys(QCoreApplication::instance());
    return watcher;
}

HeldKeys::HeldKeys(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool HeldKeys::isRepeat(const QKeyEvent* event) const {
    if (event->isAutoRepeat())
        return true;
    // Other platforms flag their repeats; an event made up in the program has no time stamp.
    const quint32 time = quint32(event->timestamp());
    return event->type() == QEvent::KeyPress && time != 0 &&
           m_releasedAt.value(event->nativeScanCode()) == time;
}

bool HeldKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) == XCB_KEY_RELEASE) {
        const auto* release = static_cast<const xcb_key_release_event_t*>(message);
        m_releasedAt[release->detail] = release->time;
    }
    return false;
}
