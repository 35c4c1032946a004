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
    connect(m_tracker, &CallTracker::missed, this, &IncomingCalls::onMissed);
    connect(m_notifier, &CallNotifier::callBackRequested, this, &IncomingCalls::callBack);
    m_window->installEventFilter(this);
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
        m_connection->start(settings.address, settings.callMonitorPort);
    } else {
        m_connection->stop();
        m_tracker->forgetAll();
    }
    updateTrayTip();
}

bool IncomingCalls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && m_missed > 0 &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)) {
        m_missed = 0;
        updateTrayTip();
    }
    return QObject::eventFilter(watched, event);
}

void IncomingCalls::onLine(const QByteArray& line) {
    m_tracker->handle(CallEvent::fromLine(line));
}

void IncomingCalls::onRinging(const QString& callId, const QString& number) {
    m_notifier->showRinging(
        callId, number.isEmpty() ? IncomingWithheld : Incoming.arg(callerText(number)), number);
}

void IncomingCalls::onMissed(const QString& callId, const QString& number) {
    ++m_missed;
    updateTrayTip();
    if (number.isEmpty()) {
        m_notifier->showMissed(callId, MissedWithheld, number, QString());
        return;
    }
    const std::optional<QString> stored =
        CallerDirectory::StoredCallerNumber(number, m_window->phoneRegister()->settings);
    m_notifier->showMissed(callId, Missed.arg(callerText(number)), number,
                           stored.value_or(QString()));
}

void IncomingCalls::callBack(const QString& storedNumber) {
    // The register's form "49 89 1234567" as a link: composition, provider and dial hardware
    // then work exactly as for a tel: link from the desktop.
    QString digits = storedNumber;
    digits.remove(QLatin1Char(' '));
    m_linkDialer->dialLink(QStringLiteral("tel:+") + digits);
}

QString IncomingCalls::callerText(const QString& number) {
    const std::optional<CallerDirectory::Caller> caller = m_directory->find(number);
    return caller ? EntryOnCard.arg(caller->name, caller->cardName) : number;
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
