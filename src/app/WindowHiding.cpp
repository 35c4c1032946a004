#include "app/WindowHiding.h"

#include "app/AfterFirstFrame.h"
#include "app/TaskbarHint.h"

#include <QWidget>

void WindowHiding::hide() {
    // Asked now: a notification area may come and go with its panel.
    if (trayAvailable()) {
        m_window->hide();
        return;
    }
    TaskbarHint::skipTaskbar(m_window, false);
    m_window->showMinimized();
}

void WindowHiding::shown() {
    // Asking for the notification area may wait for the session bus: not before the first frame.
    // By then the window manager has mapped the window and takes requests about its state.
    AfterFirstFrame::run(
        m_window, [window = m_window] { TaskbarHint::skipTaskbar(window, trayAvailable()); });
}
