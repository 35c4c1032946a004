#include "app/WindowCentring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

WindowCentring::WindowCentring(QWidget* window) : QObject(window), m_window(window) {
    // The size is set here; the layout would lower the minimum to what the contents need.
    if (window->layout())
        window->layout()->setSizeConstraint(QLayout::SetNoConstraint);
}

void WindowCentring::shown() {
    if (m_centred)
        return;
    m_centred = true;
    m_natural = m_window->size();
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
    const QRect room = screen->availableGeometry();
    const QSize frameSize(frameMargins.left() + frameMargins.right(),
                          frameMargins.top() + frameMargins.bottom());
    const QSize size =
        m_natural.boundedTo(room.size() - frameSize).expandedTo(m_window->minimumSizeHint());
    if (size != m_window->size())
        m_window->setFixedSize(size);
    QRect frame(QPoint(), size + frameSize);
    frame.moveCenter(room.center());
    if (frame.width() > room.width())
        frame.moveLeft(room.left());
    if (frame.height() > room.height())
        frame.moveTop(room.top());
    m_window->setGeometry(
        QRect(frame.topLeft() + QPoint(frameMargins.left(), frameMargins.top()), size));
}
