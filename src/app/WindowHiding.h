#pragma once

#include <QSystemTrayIcon>
#include <functional>

class QWidget;

// Where the main window goes when the user puts it away: into the notification area, or, where
// there is none (GNOME without an extension, bare window managers, many Wayland compositors),
// minimised onto the task bar. A window hidden without an icon could only be reached by starting
// the program again.
class WindowHiding {
public:
    explicit WindowHiding(QWidget* window) : m_window(window) {}

    // The close box and "&Ausblenden".
    void hide();
    // After every show: off the task bar only while the tray icon stands in for it.
    void shown();

    // Whether the desktop has a notification area now; a test without one may pretend.
    static inline std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;

private:
    QWidget* m_window;
};
