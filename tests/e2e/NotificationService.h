#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class XDesktop;

// A desktop's notification service in a private D-Bus session: dbus-daemon, dunst on the given
// desktop, and dbus-monitor writing down every call to org.freedesktop.Notifications.
class NotificationService {
public:
    // daemon: "dunst", or another service such as notify-osd (which shows no buttons).
    explicit NotificationService(const QString& daemon = QStringLiteral("dunst"));
    ~NotificationService();
    NotificationService(const NotificationService&) = delete;
    NotificationService& operator=(const NotificationService&) = delete;

    bool start(const XDesktop& desktop);
    QString errorString() const { return m_error; }
    QString busAddress() const { return m_address; }

    // What programs asked of the service so far, as dbus-monitor printed it.
    QString sent() const;
    // dunstctl's "count displayed"; -1 when it cannot tell.
    int displayed() const;
    // A click on the newest notification: its default action.
    bool invokeAction() const;
    // Closes whatever an earlier test left on the screen.
    bool closeAll() const;
    // A click on the newest notification's button with this label, through dunst's menu.
    bool invokeButton(const QString& label) const;

private:
    bool dunstctl(const QStringList& arguments, QByteArray* output = nullptr) const;
    std::unique_ptr<QProcess> launch(const QString& program, const QStringList& arguments);
    bool fail(const QString& error);
    bool serviceOwned() const;

    QString m_daemon;
    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
    QString m_address;
    QString m_error;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_dunst;
    std::unique_ptr<QProcess> m_monitor;
};
