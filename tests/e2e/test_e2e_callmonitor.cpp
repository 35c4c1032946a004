// The router's calls on the desktop: a scripted call monitor rings, the real notification
// service (dunst on a private session bus) shows who calls, a click calls a missed call back
// on the scripted modem, and a lost call monitor comes back without a busy loop.
#include "E2eTestCase.h"
#include "JournalFile.h"
#include "NotificationService.h"
#include "Poll.h"
#include "ScriptedCallMonitor.h"
#include "router/AnnouncementRate.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QFile>
#include <unistd.h>

namespace {

using namespace ProgramNames;

const QByteArray CardsRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",0\r\n"
                      "2,\"Muster, Anna\",\"49 89 1234567\",0\r\n");
const QByteArray Time = "08.12.26 10:15:02;";

double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / ::sysconf(_SC_CLK_TCK);
}

} // namespace

class TestE2eCallMonitor : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(startDesktop());
        QVERIFY2(m_notifications.start(*m_desktop), qPrintable(m_notifications.errorString()));
    }
    void init() { QVERIFY(m_notifications.closeAll()); }
    void cleanup() { endRun(); }

    void callsFromTheCardsAndCallingBack() {
        ScriptedModem modem;
        QVERIFY(newRun(CardsRegister, &modem));
        QProcess* program = startWithMonitor();
        QVERIFY(program);
        QVERIFY2(m_router.waitForClient(Poll::StartLimitMs), "the program did not connect");

        QVERIFY(m_router.send(Time + "RING;0;0891234567;5551234;SIP0;\r\n"));
        QVERIFY2(waitForSent("\"Anruf von Muster, Anna (B\u00FCro 2)"),
                 qPrintable(m_notifications.sent()));
        QVERIFY(Poll::until([&] { return m_notifications.displayed() == 1; }, Poll::ChangeLimitMs));
        QVERIFY(m_router.send(Time + "DISCONNECT;0;0;\r\n"));
        QVERIFY(waitForSent("Verpasster Anruf von Muster, Anna (B\u00FCro 2)"));
        QCOMPARE(m_notifications.displayed(), 1);

        // "Zurückrufen": the local call as a tel: link dials it.
        QVERIFY(m_notifications.invokeButton(QStringLiteral("Zur\u00FCckrufen")));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), QByteArray("ATDT1234567;H\r"));
        const qint64 pid = program->processId();
        QVERIFY(m_windows->waitFor(QStringLiteral("Anwahl"), MessageBox, pid, Poll::ChangeLimitMs));
        QVERIFY(modem.send("\r\nOK\r\n"));
        QVERIFY(Poll::until([&] { return m_notifications.displayed() == 0; }, Poll::ChangeLimitMs));

        // Picked up: the notification goes.
        QVERIFY(m_router.send(Time + "RING;1;;5551234;SIP0;\r\n"));
        QVERIFY(waitForSent("Anruf mit unterdr\u00FCckter Rufnummer"));
        QVERIFY(Poll::until([&] { return m_notifications.displayed() == 1; }, Poll::ChangeLimitMs));
        QVERIFY(m_router.send(Time + "CONNECT;1;10;;\r\n"));
        QVERIFY(Poll::until([&] { return m_notifications.displayed() == 0; }, Poll::ChangeLimitMs));

        // A flood of 10,000 lines in about a second: one call, one notification, and the window
        // still answers a second start meanwhile.
        QProcess* second = m_run->start();
        QVERIFY(second);
        const QByteArray ring = Time + "RING;7;0301234567#;5551234;SIP0;\r\n";
        for (int chunk = 0; chunk < 10; ++chunk) {
            QByteArray lines;
            for (int i = 0; i < 1000; ++i)
                lines += i % 4 == 0   ? ring
                         : i % 4 == 1 ? Time + "CALL;8;10;5551234;0891234567;SIP0;\r\n"
                         : i % 4 == 2 ? QByteArray("\x01\xff;RING;;;\r\n")
                                      : Time + "TRANSFER;7;\r\n";
            QVERIFY(m_router.send(lines));
            QTest::qWait(100);
        }
        QVERIFY(ProgramRun::waitForEnd(second, Poll::ChangeLimitMs));
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(waitForSent("\"Anruf von Berg, Otto (B\u00FCro 1)"));
        QVERIFY(Poll::until([&] { return m_notifications.displayed() == 1; }, Poll::ChangeLimitMs));
        QCOMPARE(m_notifications.sent().count(QStringLiteral("\"Anruf von Berg")), 1);

        // 300 missed calls at once: a few one by one, the rest counted in one notification.
        const qsizetype missedBefore = m_notifications.sent().count("\"Verpasster Anruf");
        QByteArray burst;
        for (int id = 100; id < 400; ++id)
            burst += Time + "RING;" + QByteArray::number(id) + ";0697777777;5551234;SIP0;\r\n" +
                     Time + "DISCONNECT;" + QByteArray::number(id) + ";0;\r\n";
        QVERIFY(m_router.send(burst));
        QVERIFY(waitForSent(" verpasste Anrufe\""));
        const qsizetype shown = m_notifications.sent().count("\"Verpasster Anruf") - missedBefore;
        QVERIFY2(shown <= AnnouncementRate::PerSecond, qPrintable(QString::number(shown)));
        QVERIFY(m_notifications.sent().contains(
            QStringLiteral("\"%1 verpasste Anrufe\"").arg(300 - shown)));
    }

    // A missed call while the window is hidden: a click on its notification, or on the tray
    // icon, shows the window on "Anrufe", where the call counts as seen.
    void missedCallsOpenTheCallsPage() {
        QVERIFY(newRun(CardsRegister));
        QProcess* program = startWithMonitor();
        QVERIFY(program);
        QVERIFY(m_router.waitForClient(Poll::StartLimitMs));
        const qint64 pid = program->processId();
        const XWindows::Id main = m_windows->waitFor(Title, MainWindow, pid, Poll::StartLimitMs);
        const XWindows::Id icon = m_windows->trayIcon(pid);
        QVERIFY(main != 0 && icon != 0);
        const QString journal = m_run->filePath(QStringLiteral("Anrufliste.db"));
        const auto unseen = [&] { return journalRows(journal, QStringLiteral("seen = 0")); };

        for (const char* way : {"notification", "tray icon"}) {
            // Hidden on a card, not on the calls page.
            if (qstrcmp(way, "tray icon") == 0)
                QVERIFY(m_windows->pressKey(main, QStringLiteral("ctrl+Prior")));
            QVERIFY(m_windows->close(main));
            QVERIFY(Poll::until([&] { return !m_windows->isMapped(main); }, Poll::ChangeLimitMs));
            QVERIFY(m_router.send(Time + "RING;0;0891234567;5551234;SIP0;\r\n" + Time +
                                  "DISCONNECT;0;0;\r\n"));
            QVERIFY2(Poll::until([&] { return unseen() == 1; }, Poll::ChangeLimitMs), way);
            if (qstrcmp(way, "notification") == 0) {
                QVERIFY(waitForSent("Verpasster Anruf von Muster, Anna (B\u00FCro 2)"));
                QVERIFY(m_notifications.invokeAction());
            } else {
                QVERIFY(m_windows->click(icon, 1));
            }
            QVERIFY2(m_windows->waitFor(Title, MainWindow, pid, Poll::ChangeLimitMs), way);
            QVERIFY2(Poll::until([&] { return unseen() == 0; }, Poll::ChangeLimitMs), way);
        }
    }

    void lostMonitorComesBackWithoutBusyLoop() {
        QVERIFY(newRun(CardsRegister));
        // The router's address as the dial side takes it, with the TR-064 port.
        QProcess* program = startWithMonitor(QStringLiteral("127.0.0.1:49000"));
        QVERIFY(program);
        QVERIFY(m_router.waitForClient(Poll::StartLimitMs));

        // The router restarts and refuses for a while: the program retries with pauses.
        m_router.close();
        const double start = cpuSeconds(program->processId());
        QTest::qWait(5000); // the span the CPU time is measured over, not a wait for an event
        const double used = cpuSeconds(program->processId()) - start;
        QVERIFY2(start >= 0 && used < 0.5, qPrintable(QString::number(used)));

        QVERIFY(m_router.listen(m_router.port()));
        QVERIFY2(m_router.waitForClient(120000), "no new connection");
        const auto rings = [&] {
            return m_notifications.sent().count(QStringLiteral("\"Anruf von"));
        };
        const qsizetype before = rings();
        QVERIFY(m_router.send(Time + "RING;2;0891234567;5551234;SIP0;\r\n"));
        QVERIFY(Poll::until([&] { return rings() == before + 1; }, Poll::ChangeLimitMs));

        // An unknown caller: the number once, in the summary, and the line called below it.
        QVERIFY(m_router.send(Time + "RING;3;07191952123;5551234;SIP0;\r\n"));
        QVERIFY(waitForSent("\"Anruf von 07191952123\""));
        QCOMPARE(m_notifications.sent().count("07191952123"), 1);
        QVERIFY(m_notifications.sent().contains("\"an 5551234\""));
    }

    // A service that shows no buttons and takes no clicks (notify-osd): the missed call comes
    // as the tray's balloon, and a click on it calls back.
    void callBackWithoutNotificationActions() {
        NotificationService buttonless(QStringLiteral("/usr/lib/x86_64-linux-gnu/notify-osd"));
        QVERIFY2(buttonless.start(*m_desktop), qPrintable(buttonless.errorString()));
        ScriptedModem modem;
        QVERIFY(newRun(CardsRegister, &modem));
        QProcess* program = startWithMonitor(QStringLiteral("127.0.0.1"), &buttonless);
        QVERIFY(program);
        QVERIFY(m_router.waitForClient(Poll::StartLimitMs));
        QVERIFY(m_router.send(Time + "RING;5;0891234567;5551234;SIP0;\r\n"));
        QVERIFY(Poll::until([&] { return buttonless.sent().contains("Anruf von Muster"); },
                            Poll::ChangeLimitMs));
        QVERIFY(m_router.send(Time + "DISCONNECT;5;0;\r\n"));
        const XWindows::Id balloon = m_windows->waitFor(QString(), QStringLiteral("TOOLTIP"),
                                                        program->processId(), Poll::ChangeLimitMs);
        QVERIFY2(balloon, "no balloon");
        // Its middle: the corners are cut away around the arrow.
        const QPoint middle = m_windows->geometry(balloon).center();
        QVERIFY(m_windows->tool(
            QStringLiteral("xdotool"),
            {"mousemove", QString::number(middle.x()), QString::number(middle.y()), "click", "1"}));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), QByteArray("ATDT1234567;H\r"));
        QVERIFY(!buttonless.sent().contains("Verpasster Anruf"));
    }

private:
    // The call monitor switched on, pointing at the scripted one.
    QProcess* startWithMonitor(const QString& address = QStringLiteral("127.0.0.1"),
                               NotificationService* notifications = nullptr) {
        if (!notifications)
            notifications = &m_notifications;
        if (!m_router.port() && !m_router.listen())
            return nullptr;
        RegistryStore store(m_run->homePath() + QStringLiteral("/.config"));
        RouterSettings settings;
        settings.address = address;
        settings.callMonitor = true;
        settings.callMonitorPort = m_router.port();
        if (!settings.save(store))
            return nullptr;
        m_run->setEnvironmentValue(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   notifications->busAddress());
        QProcess* program = m_run->start();
        if (program &&
            !m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs))
            return nullptr;
        return program;
    }
    bool waitForSent(const QString& text) {
        return Poll::until([&] { return m_notifications.sent().contains(text); },
                           Poll::ChangeLimitMs);
    }

    NotificationService m_notifications;
    ScriptedCallMonitor m_router;
};

QTEST_GUILESS_MAIN(TestE2eCallMonitor)
#include "test_e2e_callmonitor.moc"
