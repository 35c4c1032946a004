#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private X desktop: Xvfb on a free display, openbox for real close boxes and focus, and trayer
// as the notification area. Everything it started is stopped when it is destroyed.
class XDesktop {
public:
    // panelReservesSpace: the tray's panel keeps windows off its strip, as a desktop's panel does.
    explicit XDesktop(QSize screen = QSize(1280, 1024), bool panelReservesSpace = false);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    // Starts the three in order and waits until each answers. False with errorString() if a tool
    // is missing or does not come up.
    bool start();
    QString errorString() const { return m_error; }

    // Starts the tray host again, or stops it: a desktop without a notification area.
    bool setTray(bool on);

    // A Wayland session beside it, as a desktop starts one: weston with Xwayland. Returns the
    // Xwayland display, empty with errorString() if it does not come up.
    QString startWayland();
    QString waylandSocket() const { return m_home.filePath(QStringLiteral("runtime/wayland-e2e")); }

    QString display() const { return m_display; }
    // The environment of an X client on this desktop: DISPLAY set, no session bus (so the tray
    // icon docks through XEmbed), runtime and home folders of its own.
    QProcessEnvironment environment() const;

private:
    bool startServer();
    bool startWindowManager();
    bool startTray();
    std::unique_ptr<QProcess> launch(const QString& program, const QStringList& arguments);
    bool fail(const QString& error);

    QSize m_screen;
    bool m_panelReservesSpace;
    QTemporaryDir m_home;
    QString m_display;
    QString m_error;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_tray;
    std::unique_ptr<QProcess> m_wayland;
};
