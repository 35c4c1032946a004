#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The windows of one X display as the user sees them, asked and driven through xdotool, wmctrl,
// xprop and xwininfo.
class XWindows {
public:
    using Id = quint64;

    explicit XWindows(const QString& display);

    // Top-level windows whose title is exactly `title`; only those of process `pid` if it is not
    // 0, only mapped ones if `visibleOnly`.
    QList<Id> find(const QString& title, qint64 pid, bool visibleOnly = true) const;
    // The first mapped window of `pid` with this title and window type ("DIALOG" for a message
    // box, "NORMAL" for a main window), else 0.
    Id shown(const QString& title, const QString& type, qint64 pid) const;
    bool shows(const QString& title, const QString& type, qint64 pid) const {
        return shown(title, type, pid) != 0;
    }
    // The same, asked until it appears or `timeoutMs` have passed.
    Id waitFor(const QString& title, const QString& type, qint64 pid, int timeoutMs) const;

    // The _NET_WM_WINDOW_TYPE names without their prefix, e.g. {"DIALOG"}.
    QStringList types(Id window) const;
    // The _NET_WM_STATE names without their prefix, e.g. {"SKIP_TASKBAR"}.
    QStringList states(Id window) const;
    bool isMapped(Id window) const;
    // The client area on the screen, and the same with the window manager's frame around it.
    QRect geometry(Id window) const;
    QRect frameGeometry(Id window) const;
    // From WM_NORMAL_HINTS; empty if the program set none.
    QSize minimumSize(Id window) const;
    QSize maximumSize(Id window) const;
    QSize screenSize() const;
    // The screen less the panels, as the window manager announces it.
    QRect workArea() const;

    // As the close box does: the window manager asks the window to close.
    bool close(Id window) const;
    // Until the window manager reports it as the active window.
    bool activate(Id window) const;
    // A key as xdotool names it ("Return", "alt+F4"), typed into the window.
    bool pressKey(Id window, const QString& key) const;
    // The same, typed into whatever window has the keyboard now.
    bool typeKey(const QString& key) const;
    Id activeWindow() const;
    bool minimize(Id window) const;
    // The mapped window of `pid` no larger than an icon in the tray's panel; 0 for none.
    Id trayIcon(qint64 pid) const;
    // A mouse button (1 left, 3 right) clicked at `at`, or at the window's centre.
    bool click(Id window, int button, QPoint at = {}) const;
    bool screenshot(const QString& pngPath) const;

    // Runs an X tool against this display; true if it ends with exit code 0.
    bool tool(const QString& program, const QStringList& arguments,
              QByteArray* output = nullptr) const;

private:
    QString xwininfo(Id window) const;
    QSize normalHintSize(Id window, const QString& which) const;
    QString xprop(Id window, const QString& property) const;
    QStringList atomNames(Id window, const QString& property) const;

    QString m_display;
};
