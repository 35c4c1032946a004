#include "app/IncomingCalls.h"

#include "app/AfterFirstFrame.h"
#include "app/CallNotifier.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "dialing/LinkDialer.h"
#include "register/PhoneRegister.h"
#include "router/CallMonitorConnection.h"
#include "router/CallMonitorLine.h"
#include "router/CallMonitorMessages.h"
#include "router/CallTracker.h"
#include "router/CallerDirectory.h"
#include "router/RouterSettings.h"
#include "router/Tr64Types.h"
#include "support/RegistryStore.h"
#include "support/UserMessage.h"

#include <QEvent>

using namespace CallMonitorMessages;

IncomingCalls::IncomingCalls(MainWindow* window, LinkDialer* linkDialer, QObject* parent)
    : QObject(parent), m_window(window), m_linkDialer(linkDialer),
      m_connection(new CallMonitorConnection(this)), m_tracker(new CallTracker(this)),
      m_directory(new CallerDirectory(window->phoneRegister(), this)),
      m_notifier(new CallNotifier(window->trayIcon(), this)) {
    connect(m_connection, &CallMonitorConnection::lineReceived, this, &IncomingCalls::onLine);
    connect(m_connection, &CallMonitorConnection::connectionLost, m_tracker,
            &CallTracker::forgetAll);
    connect(m_connection, &CallMonitorConnection::stateChanged, this, [this](const QString& text) {
        updateTrayTip();
        emit stateChanged(text);
    });
    connect(m_tracker, &CallTracker::ringing, this, &IncomingCalls::onRinging);
    connect(m_tracker, &CallTracker::answered, m_notifier, &CallNotifier::closeRinging);
    connect(m_tracker, &CallTracker::abandoned, m_notifier, &CallNotifier::closeRinging);
    for (const auto ended : {&CallTracker::answered, &CallTracker::abandoned})
        connect(m_tracker, ended, this, [this](const QString& id) { m_unannounced.remove(id); });
    connect(m_tracker, &CallTracker::missed, this, &IncomingCalls::onMissed);
    connect(m_notifier, &CallNotifier::callBackRequested, this, &IncomingCalls::callBack);
    connect(m_notifier, &CallNotifier::openRequested, this, &IncomingCalls::journalRequested);
    m_window->installEventFilter(this);
    m_clock.start();
    // Runs only during a burst of calls: an idle program has no timer.
    m_burstOver.setSingleShot(true);
    m_burstOver.setInterval(AnnouncementRate::QuietMs + 100);
    connect(&m_burstOver, &QTimer::timeout, this, &IncomingCalls::announceBurst);
    // Connecting loads the network module, which the first frame does not need.
    AfterFirstFrame::run(this, [this] { applySettings(); });
}

IncomingCalls::~IncomingCalls() {
    m_window->removeEventFilter(this);
}

QString IncomingCalls::stateText() const {
    return m_connection->stateText();
}

void IncomingCalls::applySettings() {
    const RouterSettings settings = RouterSettings::load(RegistryStore());
    m_monitorOn = settings.callMonitor;
    if (m_monitorOn) {
        // The address may name the TR-064 port or be an IPv6 address in brackets; the monitor
        // has its own port on the same host.
        Tr64Target router;
        if (!router.setAddress(settings.address))
            router.host = settings.address.trimmed();
        m_connection->start(router.host, settings.callMonitorPort);
    } else {
        m_connection->stop();
        m_tracker->forgetAll();
    }
    updateTrayTip();
}

bool IncomingCalls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && !m_missedSeenOnPage &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate))
        clearMissedCalls();
    return QObject::eventFilter(watched, event);
}

void IncomingCalls::clearMissedCalls() {
    if (m_missed == 0)
        return;
    m_missed = 0;
    updateTrayTip();
}

void IncomingCalls::onLine(const QByteArray& line) {
    m_tracker->handle(CallEvent::fromLine(line));
}

void IncomingCalls::onRinging(const QString& callId, const QString& number,
                              const QString& ownNumber) {
    if (!m_rate.admit(m_clock.elapsed())) {
        m_unannounced.insert(callId);
        return;
    }
    const QString entry = entryText(number);
    const QString summary =
        number.isEmpty() ? IncomingWithheld : Incoming.arg(entry.isEmpty() ? number : entry);
    m_notifier->showRinging(callId, summary, bodyText(entry, number, ownNumber));
}

void IncomingCalls::onMissed(const QString& callId, const QString& number,
                             const QString& ownNumber) {
    ++m_missed;
    updateTrayTip();
    if (m_unannounced.remove(callId)) {
        ++m_burstMissed;
        m_burstOver.start();
        return;
    }
    const QString entry = entryText(number);
    const QString body = bodyText(entry, number, ownNumber);
    if (number.isEmpty()) {
        m_notifier->showMissed(callId, MissedWithheld, body, QString());
        return;
    }
    const std::optional<QString> stored =
        CallerDirectory::StoredCallerNumber(number, m_window->phoneRegister()->settings);
    m_notifier->showMissed(callId, Missed.arg(entry.isEmpty() ? number : entry), body,
                           stored.value_or(QString()));
}

void IncomingCalls::announceBurst() {
    if (m_rate.inBurst(m_clock.elapsed())) {
        m_burstOver.start();
        return;
    }
    if (m_burstMissed > 0)
        m_notifier->showMissed(QString(), MissedCount.arg(m_burstMissed), QString(), QString());
    m_burstMissed = 0;
}

void IncomingCalls::callBack(const QString& storedNumber) {
    // The register's form "49 89 1234567" as a link: composition, provider and dial hardware
    // then work exactly as for a tel: link from the desktop.
    QString digits = storedNumber;
    digits.remove(QLatin1Char(' '));
    m_linkDialer->dialLink(QStringLiteral("tel:+") + digits);
}

QString IncomingCalls::entryText(const QString& number) {
    const std::optional<CallerDirectory::Caller> caller = m_directory->find(number);
    return caller ? EntryOnCard.arg(caller->name, caller->cardName) : QString();
}

QString IncomingCalls::bodyText(const QString& entry, const QString& number,
                                const QString& ownNumber) {
    if (!entry.isEmpty())
        return number;
    return ownNumber.isEmpty() ? QString() : CalledLine.arg(ownNumber);
}

void IncomingCalls::updateTrayTip() {
    QString tip = UserMessage::ProgramName;
    if (m_missed == 1)
        tip = TrayTipMissedOne;
    else if (m_missed > 1)
        tip = TrayTipMissed.arg(m_missed);
    else if (m_monitorOn)
        tip = TrayTip.arg(m_connection->stateText());
    m_window->trayIcon()->ChangeSysTrayIcon(m_window->windowIcon(), tip);
}
