#include "app/CallNotifier.h"

#include "app/TrayIcon.h"
#include "router/CallMonitorMessages.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>
#include <QVariantMap>
#include <algorithm>
#include <utility>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
// "default" is what a click on the notification does; "callback" is shown as a button.
const QString DefaultAction = QStringLiteral("default");
const QString CallBackAction = QStringLiteral("callback");
const QString ShowCallsLabel = QStringLiteral("Anrufe zeigen");
constexpr int ReplyLimitMs = 5000;
constexpr int RingingBalloonMs = 10000;
constexpr int MissedBalloonMs = 30000;
constexpr qsizetype MaxCallBacks = 100;

// Notification services have no accelerators: the "&" would be shown.
QString actionLabel() {
    return QString(CallMonitorMessages::CallBack).remove(QLatin1Char('&'));
}

} // namespace

CallNotifier::CallNotifier(TrayIcon* tray, QObject* parent) : QObject(parent), m_tray(tray) {
    // Without a notification service the balloon is the only place to click: a click on a
    // missed call's balloon calls back, as the notification would (its close box does not).
    if (m_tray)
        connect(m_tray, &TrayIcon::messageClicked, this, [this] {
            const QString number = std::exchange(m_balloonCallBack, {});
            if (!number.isEmpty())
                emit callBackRequested(number);
        });
}

bool CallNotifier::busConnected() {
    // Asked at the first call, not at start: a program whose call monitor stays off never
    // touches the session bus.
    if (m_busChecked)
        return m_busConnected;
    m_busChecked = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_busConnected = bus.isConnected();
    if (m_busConnected) {
        bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                    SLOT(onNotificationClosed(uint, uint)));
        askCapabilities();
    }
    return m_busConnected;
}

void CallNotifier::showRinging(const QString& callId, const QString& summary, const QString& body) {
    if (!busConnected()) {
        balloon(summary, body, RingingBalloonMs);
        return;
    }
    const quint64 serial = m_nextSerial++;
    m_ringing.insert(callId, serial);
    m_shown.insert(serial, Shown{});
    notify(0, summary, body, {}, [this, serial, summary, body](std::optional<uint> id) {
        if (!id)
            balloon(summary, body, RingingBalloonMs);
        onShown(serial, id);
    });
}

void CallNotifier::showMissed(const QString& callId, const QString& summary, const QString& body,
                              const QString& callBackNumber) {
    // A service that shows no buttons and no clicks would leave no way to call back; the
    // balloon's click does.
    const bool balloonCallsBack = !callBackNumber.isEmpty() && m_withoutActions && m_tray &&
                                  QSystemTrayIcon::supportsMessages();
    if (!busConnected() || balloonCallsBack) {
        closeRinging(callId);
        balloon(summary, body, MissedBalloonMs, callBackNumber);
        return;
    }
    const auto show = [this, summary, body, callBackNumber](Shown& ringing) {
        // A click opens the list of calls; the button calls back.
        QStringList actions{DefaultAction, ShowCallsLabel};
        if (!callBackNumber.isEmpty())
            actions << CallBackAction << actionLabel();
        notify(ringing.notificationId, summary, body, actions,
               [this, summary, body, callBackNumber](std::optional<uint> id) {
                   if (!id) {
                       balloon(summary, body, MissedBalloonMs, callBackNumber);
                   } else if (!callBackNumber.isEmpty()) {
                       // A service that never says a notification was closed must not make
                       // the list grow with every call.
                       while (m_callBacks.size() >= MaxCallBacks)
                           m_callBacks.remove(
                               *std::min_element(m_callBacks.keyBegin(), m_callBacks.keyEnd()));
                       m_callBacks.insert(*id, callBackNumber);
                   }
               });
    };
    if (m_ringing.contains(callId)) {
        whenShown(callId, show);
        return;
    }
    Shown none;
    show(none);
}

void CallNotifier::askCapabilities() {
    const QDBusMessage message =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, ReplyLimitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<QStringList> reply = *finished;
                finished->deleteLater();
                if (!reply.isError())
                    m_withoutActions = !reply.value().contains(QStringLiteral("actions"));
            });
}

void CallNotifier::closeRinging(const QString& callId) {
    whenShown(callId, [this](Shown& ringing) {
        if (ringing.notificationId != 0)
            closeNotification(ringing.notificationId);
    });
}

void CallNotifier::whenShown(const QString& callId, std::function<void(Shown&)> step) {
    const quint64 serial = m_ringing.take(callId);
    const auto shown = m_shown.find(serial);
    if (shown == m_shown.end())
        return;
    if (shown->waiting) {
        shown->next = std::move(step);
        return;
    }
    Shown done = *shown;
    m_shown.erase(shown);
    step(done);
}

void CallNotifier::onShown(quint64 serial, std::optional<uint> notificationId) {
    const auto shown = m_shown.find(serial);
    if (shown == m_shown.end())
        return;
    shown->waiting = false;
    shown->notificationId = notificationId.value_or(0);
    if (!shown->next)
        return;
    Shown done = *shown;
    m_shown.erase(shown);
    done.next(done);
}

void CallNotifier::notify(uint replacesId, const QString& summary, const QString& body,
                          const QStringList& actions, Reply done) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("kurbelfon")},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    // The summary is plain text by the protocol; the body holds only the router's digits.
    // Expiry 0: a call's notification stays until the call decides it.
    message << QStringLiteral("Kurbelfon") << replacesId << QStringLiteral("kurbelfon") << summary
            << body << actions << hints << 0;
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, ReplyLimitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                done(reply.isError() ? std::nullopt : std::optional<uint>(reply.value()));
            });
}

void CallNotifier::closeNotification(uint notificationId) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface,
                                                          QStringLiteral("CloseNotification"));
    message << notificationId;
    QDBusConnection::sessionBus().asyncCall(message, ReplyLimitMs);
}

void CallNotifier::onActionInvoked(uint notificationId, const QString& actionKey) {
    if (actionKey == DefaultAction) {
        closeNotification(notificationId);
        emit openRequested();
        return;
    }
    if (actionKey != CallBackAction)
        return;
    // One click, one call: the number is taken.
    const QString number = m_callBacks.take(notificationId);
    if (number.isEmpty())
        return;
    closeNotification(notificationId);
    emit callBackRequested(number);
}

void CallNotifier::onNotificationClosed(uint notificationId, uint /*reason*/) {
    m_callBacks.remove(notificationId);
}

void CallNotifier::balloon(const QString& summary, const QString& body, int durationMs,
                           const QString& callBackNumber) {
    if (!m_tray || !QSystemTrayIcon::supportsMessages())
        return;
    // A newer balloon replaces the one a click would have meant.
    m_balloonCallBack = callBackNumber;
    // The balloon's labels guess rich text from a "<"; a name from a vCard must stay text.
    const auto plain = [](QString text) { return text.replace(QLatin1Char('<'), QChar(0x2039)); };
    m_tray->systemTrayIcon()->showMessage(plain(summary), plain(body), QSystemTrayIcon::Information,
                                          durationMs);
}
