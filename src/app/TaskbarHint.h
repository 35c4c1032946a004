#pragma once

class QWidget;

// Keeps the window off the taskbar: the tray icon stands in for a taskbar button. Qt has
// no flag for it on X11, so it is asked of the window manager directly.
class TaskbarHint {
public:
    // Call whenever the window is shown; does nothing off X11.
    static void skipTaskbar(QWidget* window);
};
