#include "app/WindowCentring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

WindowCentring::WindowCentring(QWidget* window) : QObject(window), m_window(window) {}

void WindowCentring::shown() {
    if (m_centred)
        return;
    m_centred = true;
    centre(QMargins());
    m_window->windowHandle()->installEventFilter(this);
}

bool WindowCentring::eventFilter(QObject* watched, QEvent* event) {
    // By the time the window is exposed, the window manager has framed it.
    QWindow* handle = m_window->windowHandle();
    if (watched == handle && event->type() == QEvent::Expose && !m_frameCentred) {
        const QMargins frame = handle->frameMargins();
        if (!frame.isNull()) {
            m_frameCentred = true;
            centre(frame);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowCentring::centre(const QMargins& frameMargins) {
    const QScreen* screen =
        m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = m_window->geometry().marginsAdded(frameMargins);
    frame.moveCenter(screen->availableGeometry().center());
    QRect client = m_window->geometry();
    client.moveTopLeft(frame.topLeft() + QPoint(frameMargins.left(), frameMargins.top()));
    m_window->setGeometry(client);
}
