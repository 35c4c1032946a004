#pragma once

class QWidget;

// The tray icon stands in for a taskbar button: the window stays off the taskbar, and the icon
// asks for the window as a taskbar would. Qt has no flag for either on X11, so both are asked of
// the window manager directly.
class TaskbarHint {
public:
    // Call whenever the window is shown; does nothing off X11. skip false puts it back.
    static void skipTaskbar(QWidget* window, bool skip = true);
    // Brings the window to the front with the keyboard, also out of "show desktop".
    static void activate(QWidget* window);
};
