#include "app/DialogFocusReturn.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

DialogFocusReturn::DialogFocusReturn(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool DialogFocusReturn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        if (widget->windowType() == Qt::Dialog && widget->parentWidget() &&
            widget->parentWidget()->window() == m_window)
            // Once the dialog is gone from the screen, not while it still hides.
            QTimer::singleShot(0, this, &DialogFocusReturn::activateWindow);
    }
    return QObject::eventFilter(watched, event);
}

void DialogFocusReturn::activateWindow() {
    // Another dialog, or a menu, keeps the keyboard; a hidden window wants none.
    if (!m_window->isVisible() || m_window->isMinimized() || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return;
    m_window->activateWindow();
}
