#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class TrayIcon;

// Incoming and missed calls as desktop notifications (org.freedesktop.Notifications), or as the
// tray icon's balloon where no notification service answers. A ringing call's notification goes
// when the call is picked up and becomes the missed call's when nobody did.
class CallNotifier : public QObject {
    Q_OBJECT
public:
    explicit CallNotifier(TrayIcon* tray, QObject* parent = nullptr);

    // summary and body: plain text.
    void showRinging(const QString& callId, const QString& summary, const QString& body);
    // callBackNumber empty: nothing to call back (a withheld number).
    void showMissed(const QString& callId, const QString& summary, const QString& body,
                    const QString& callBackNumber);
    void closeRinging(const QString& callId);

signals:
    void callBackRequested(const QString& number);
    // A click on a missed call's notification itself (its button calls back).
    void openRequested();

private slots:
    void onActionInvoked(uint notificationId, const QString& actionKey);
    void onNotificationClosed(uint notificationId, uint reason);

private:
    // One ringing call's notification. Its id is known only once the service answered; what
    // the call asks for meanwhile waits in `next`.
    struct Shown {
        uint notificationId = 0;
        bool waiting = true;
        std::function<void(Shown&)> next;
    };
    using Reply = std::function<void(std::optional<uint>)>;

    bool busConnected();
    // Once, when the bus is first used: whether the service shows buttons and takes clicks.
    void askCapabilities();
    void notify(uint replacesId, const QString& summary, const QString& body,
                const QStringList& actions, Reply done);
    void closeNotification(uint notificationId);
    void whenShown(const QString& callId, std::function<void(Shown&)> step);
    void onShown(quint64 serial, std::optional<uint> notificationId);
    void balloon(const QString& summary, const QString& body, int durationMs,
                 const QString& callBackNumber = QString());

    TrayIcon* m_tray;
    bool m_busChecked = false;
    bool m_busConnected = false;
    bool m_withoutActions = false; // the service said it has no "actions"
    quint64 m_nextSerial = 1;
    QHash<QString, quint64> m_ringing; // call id -> serial
    QHash<quint64, Shown> m_shown;     // serial -> its notification
    QHash<uint, QString> m_callBacks;  // missed call's notification -> number to call back
    QString m_balloonCallBack;         // the last balloon's, when it was a missed call's
};
