#include "app/CallHistory.h"

#include "app/CallJournalModel.h"
#include "app/CallJournalPage.h"
#include "app/IncomingCalls.h"
#include "app/MainWindow.h"
#include "app/RouterCall.h"
#include "app/TrayIcon.h"
#include "register/EntryEditor.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "router/CallJournal.h"
#include "router/CallMonitorMessages.h"
#include "router/CallerDirectory.h"
#include "router/RouterCallList.h"
#include "router/RouterMessages.h"

#include <QDateTime>
#include <QEvent>
#include <QInputDialog>

namespace {
const QString ListRead = QStringLiteral("Anrufliste des Routers gelesen: %1");
const QString Reading = QStringLiteral("Die Anrufliste des Routers wird gelesen …");
const QString NoPassword = QStringLiteral(
    "Die Anrufliste des Routers wurde nicht gelesen: es ist kein Kennwort gespeichert. "
    "„Aktualisieren“ fragt danach.");
const QString CertificateNotConfirmed = QStringLiteral(
    "Die Anrufliste des Routers wurde nicht gelesen: sein Zertifikat ist noch nicht bestätigt. "
    "„Aktualisieren“ fragt danach.");
const QString NoCallListRight = QStringLiteral(
    "Der Router-Benutzer darf die Anrufliste nicht lesen: ihm fehlt im Router das Recht "
    "„Sprachnachrichten, Faxnachrichten, FRITZ!App Fon und Anrufliste“.");
const QString NotRead =
    QStringLiteral("Die Anrufliste des Routers konnte nicht gelesen werden: %1");
const QString Withheld =
    QStringLiteral("Die Rufnummer wurde unterdrückt: ein Rückruf ist nicht möglich.");
const QString NoOutsideNumber =
    QStringLiteral("„%1“ ist keine Nummer, die sich von hier aus wählen lässt.");
const QString MonitorOnly = QStringLiteral("Anrufe, die der Anrufmonitor sieht, stehen trotzdem "
                                           "in der Liste.");
} // namespace

CallHistory::CallHistory(MainWindow* window, IncomingCalls* incoming, QObject* parent)
    : QObject(parent), m_window(window), m_incoming(incoming),
      m_directory(new CallerDirectory(window->phoneRegister(), this)),
      m_journal(
          new CallJournal(window->registerFile().folder() + QStringLiteral("Anrufliste.db"), this)),
      m_page(new CallJournalPage(window)) {
    PhoneRegister* phoneRegister = window->phoneRegister();
    m_journal->setComparable([phoneRegister](const QString& number) {
        return CallerDirectory::StoredCallerNumber(number, phoneRegister->settings)
            .value_or(number);
    });
    m_page->model()->setNameOf([this](const QString& number) {
        const std::optional<CallerDirectory::Caller> caller = m_directory->find(number);
        return caller ? CallMonitorMessages::EntryOnCard.arg(caller->name, caller->cardName)
                      : QString();
    });
    window->addCallsPage(m_page);

    m_journal->follow(incoming->tracker());
    connect(m_journal, &CallJournal::changed, this, &CallHistory::showEntries);
    connect(m_journal, &CallJournal::problem, this, [this](const QString& text) {
        if (text != m_journal->storeProblem())
            m_setAside = text;
        showStatus();
    });
    connect(m_journal, &CallJournal::monitorCallEnded, this, [this] {
        // Hidden, the page reads the list when it is shown next: no timer runs meanwhile.
        if (pageSeen())
            m_readAfterCall.start();
    });
    m_readAfterCall.setSingleShot(true);
    m_readAfterCall.setInterval(ReadAfterCallMs);
    connect(&m_readAfterCall, &QTimer::timeout, this, [this] {
        if (pageSeen())
            read(false);
    });

    connect(window, &MainWindow::callsPageShown, this, &CallHistory::onPageShown);
    // The window shown again on the page it was hidden on.
    window->installEventFilter(this);
    connect(m_page, &CallJournalPage::refreshRequested, this, [this] { read(true); });
    connect(m_page, &CallJournalPage::callBackRequested, this, &CallHistory::callBack);
    connect(m_page, &CallJournalPage::takeIntoCardRequested, this, &CallHistory::takeIntoCard);
    connect(incoming, &IncomingCalls::journalRequested, window, &MainWindow::ShowCallsPage);
    // A left click on the tray icon shows the window; with missed calls unseen, on their page.
    connect(window->trayIcon(), &TrayIcon::showWindowRequested, this, [this] {
        if (m_window->callsTabShown() && m_journal->unseenMissed() > 0)
            m_window->ShowCallsPage();
    });
    connect(window->routerCall(), &RouterCall::settingsChanged, this, &CallHistory::applySettings);
    applySettings(window->routerCall()->settings());
}

void CallHistory::applySettings(const RouterSettings& settings) {
    const bool present = settings.dialThroughRouter || settings.callMonitor;
    m_window->setCallsTabShown(present);
    m_incoming->setMissedSeenOnPage(present);
}

bool CallHistory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show &&
        m_window->CurrentTab() == MainWindow::CallsTab)
        QTimer::singleShot(0, this, [this] {
            if (pageSeen())
                onPageShown();
        });
    return QObject::eventFilter(watched, event);
}

bool CallHistory::pageSeen() const {
    return m_window->isVisible() && !m_window->isMinimized() &&
           m_window->CurrentTab() == MainWindow::CallsTab;
}

void CallHistory::onPageShown() {
    // The journal is opened here, not at the start: the first frame does not wait for QtSql.
    m_fresh.clear();
    m_journal->open();
    showEntries();
    m_page->focusNewest();
    seeMissedCalls();
    read(false);
}

void CallHistory::seeMissedCalls() {
    m_journal->markMissedSeen();
    m_incoming->clearMissedCalls();
}

void CallHistory::showEntries() {
    if (pageSeen()) {
        for (const JournalEntry& entry : m_journal->entries()) {
            if (!entry.seen)
                m_fresh.insert(entry.key);
        }
    }
    m_page->model()->setFresh(m_fresh);
    m_page->setEntries(m_journal->entries());
    if (pageSeen() && m_journal->unseenMissed() > 0)
        seeMissedCalls();
    showStatus();
}

void CallHistory::showStatus() {
    QStringList lines;
    for (const QString& problem : {m_journal->storeProblem(), m_setAside}) {
        if (!problem.isEmpty())
            lines << problem;
    }
    if (!m_notice.isEmpty())
        lines << m_notice;
    if (!m_readState.isEmpty())
        lines << m_readState;
    m_page->showStatus(lines.join(QLatin1Char('\n')));
}

void CallHistory::read(bool asked) {
    m_notice.clear();
    if (m_reading)
        return;
    RouterCall* router = m_window->routerCall();
    if (!router->settings().dialThroughRouter && !router->settings().callMonitor)
        return;
    m_readState = Reading;
    showStatus();
    router->withTarget(
        asked,
        [this, asked](const Tr64Target& target) {
            auto* reading = new RouterCallList(target, this);
            m_reading = reading;
            reading->read(CallsToRead, [this, reading, asked](const Tr64Result& result,
                                                              const CallListReader::Result& list) {
                reading->deleteLater();
                onRead(result, list, asked);
            });
        },
        [this] {
            m_readState = NoPassword;
            showStatus();
        });
}

void CallHistory::onRead(const Tr64Result& result, const CallListReader::Result& list, bool asked) {
    if (result.ok()) {
        m_journal->open();
        m_journal->mergeRouterList(list.calls);
        m_readState =
            ListRead.arg(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
        showEntries();
        return;
    }
    // A certificate is offered for trust only when the user asked for the list.
    if (result.error != RouterError::CertificateUnknown || asked) {
        if (m_window->routerCall()->retryAfter(result, m_window)) {
            read(true);
            return;
        }
    }
    if (result.error == RouterError::CertificateUnknown) {
        m_readState = CertificateNotConfirmed;
    } else if (result.error == RouterError::NotAllowed) {
        m_readState = NoCallListRight;
    } else {
        m_readState = NotRead.arg(
            RouterMessages::forError(result, m_window->routerCall()->settings().address, QString())
                .replace(QLatin1Char('\r'), QLatin1Char(' ')));
    }
    m_readState += QLatin1Char(' ') + MonitorOnly;
    showStatus();
}

void CallHistory::callBack(const JournalCall& call) {
    m_notice.clear();
    if (call.number.isEmpty()) {
        m_notice = Withheld;
    } else if (const auto stored = CallerDirectory::StoredCallerNumber(
                   call.number, m_window->phoneRegister()->settings)) {
        m_incoming->callBack(*stored);
    } else {
        m_notice = NoOutsideNumber.arg(call.number);
    }
    showStatus();
}

void CallHistory::takeIntoCard(const JournalCall& call) {
    PhoneRegister* phoneRegister = m_window->phoneRegister();
    const std::optional<QString> stored =
        CallerDirectory::StoredCallerNumber(call.number, phoneRegister->settings);
    QStringList cards;
    for (int card = 1; card <= PhoneRegister::CardCount; ++card)
        cards << phoneRegister->cardNames[card - 1];
    m_window->setModalDialogOpen(true);
    bool ok = false;
    const QString cardName =
        QInputDialog::getItem(m_window, QStringLiteral("In Karte übernehmen"),
                              QStringLiteral("Auf welche Karte?"), cards, 0, false, &ok);
    const int card = int(cards.indexOf(cardName)) + 1;
    EntryEditor editor(phoneRegister->settings, m_window);
    editor.setEntry(call.routerName, stored.value_or(call.number), 1);
    const bool accepted = ok && card > 0 && editor.exec() == QDialog::Accepted;
    m_window->setModalDialogOpen(false);
    if (!accepted || editor.name().isEmpty() || editor.number().isEmpty())
        return;
    phoneRegister->card(card)->addLine(
        MakeEntryLine(editor.name(), editor.number(), editor.zeroFlag()));
    m_window->SaveRegisterFile();
    showEntries(); // the new name shows in the rows at once
}
