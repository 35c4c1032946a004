// Dialing through the router: the real program on a private X desktop, a scripted router on
// 127.0.0.1 and no key store, so the program asks for the password once per run.
#include "E2eTestCase.h"
#include "JournalFile.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "ScriptedRouter.h"
#include "XDesktop.h"
#include "XWindows.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include "ScriptedCallMonitor.h"

#include <QDateTime>
#include <QTest>

namespace {

using namespace ProgramNames;

const QByteArray OneEntry =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"0\",0,\"00\",\"49\",\"89\",12,\"X3\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",1\r\n");
const QString Call = QStringLiteral("Anruf über den Router");
const QString Prompt = QStringLiteral("Router");

} // namespace

class TestE2eRouter : public E2eTestCase {
    Q_OBJECT

    ScriptedRouter* m_router = nullptr;
    qint64 m_pid = 0;
    XWindows::Id m_main = 0;

    // The router chosen with this phone; the program started and the entry dialed.
    bool dialWith(const QString& phone, const QString& password) {
        RouterSettings settings = routerSettings();
        settings.phone = phone;
        return startWith(settings) && dialEntry() && typePassword(password);
    }
    RouterSettings routerSettings() const {
        RouterSettings settings;
        settings.dialThroughRouter = true;
        settings.address = m_router->address();
        settings.user = m_router->user;
        settings.certificateSha256 = m_router->certificateSha256();
        return settings;
    }
    bool startWith(const RouterSettings& settings) {
        if (!newRun(OneEntry))
            return false;
        RegistryStore store(m_run->homePath() + QStringLiteral("/.config"));
        // No session bus: no key store.
        m_run->setEnvironmentValue(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("unix:path=/nonexistent"));
        if (!settings.save(store))
            return warn(QStringLiteral("cannot save the settings"));
        const Started started = startToMainWindow();
        m_pid = started.pid;
        m_main = started.main;
        return m_main != 0;
    }
    // Calls in the journal with this number (any when empty; with this router id when given).
    int journalRows(const QString& number, int routerId = -1) const {
        return ::journalRows(m_run->filePath(QStringLiteral("Anrufliste.db")),
                             QStringLiteral("('%1' = '' OR number = '%1') AND (%2 < 0 OR "
                                            "router_id = %2)")
                                 .arg(number)
                                 .arg(routerId));
    }
    bool dialEntry() {
        return m_windows->pressKey(m_main, QStringLiteral("Tab")) &&
               m_windows->pressKey(m_main, QStringLiteral("Down")) &&
               m_windows->pressKey(m_main, QStringLiteral("Return"));
    }
    bool typePassword(const QString& password) {
        const XWindows::Id prompt =
            m_windows->waitFor(Prompt, MessageBox, m_pid, Poll::ChangeLimitMs);
        return prompt != 0 && m_windows->activate(prompt) &&
               m_windows->tool(QStringLiteral("xdotool"), {QStringLiteral("type"), password}) &&
               m_windows->pressKey(prompt, QStringLiteral("Return"));
    }

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void init() {
        m_router = new ScriptedRouter;
        QVERIFY(m_router->makeCertificate() && m_router->listen());
    }
    void cleanup() {
        endRun();
        delete m_router;
    }

    void dialsAndHangsUp() {
        QVERIFY(dialWith(QStringLiteral("FON1: Telefon"), m_router->password));
        QVERIFY(Poll::until([&] { return m_router->actions().contains("X_AVM-DE_DialNumber"); },
                            Poll::ChangeLimitMs));
        const ScriptedRouter::Request dialed = m_router->requests.last();
        QVERIFY(dialed.secure);
        QCOMPARE(dialed.arguments.value("NewX_AVM-DE_PhoneNumber"), QStringLiteral("0301234567"));
        QCOMPARE(m_router->helperPhone, QStringLiteral("FON1: Telefon"));

        const XWindows::Id call = m_windows->waitFor(Call, MessageBox, m_pid, Poll::ChangeLimitMs);
        QVERIFY2(call != 0, "no call window");
        QVERIFY(m_windows->pressKey(call, QStringLiteral("alt+a")));
        QVERIFY(Poll::until([&] { return m_router->actions().last() == "X_AVM-DE_DialHangup"; },
                            Poll::ChangeLimitMs));
        QVERIFY(Poll::until([&] { return !m_windows->shows(Call, MessageBox, m_pid); },
                            Poll::ChangeLimitMs));
        QVERIFY(m_router->protocolErrors.isEmpty());
    }

    void failuresEndInTheirMessage_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("helperPhone");
        QTest::addColumn<QStringList>("accepted"); // what the router took before the failure
        QTest::addColumn<QString>("next");         // the window the next dial opens
        QTest::newRow("wrong password")
            << "falsch"
            << "DECT: Mobilteil 1" << QStringList{"GetSecurityPort"} << Prompt;
        QTest::newRow("dial helper off")
            << ScriptedRouter().password << "unconfigured"
            << QStringList{"GetSecurityPort", "X_AVM-DE_DialGetConfig"} << Title;
    }
    void failuresEndInTheirMessage() {
        QFETCH(QString, password);
        QFETCH(QString, helperPhone);
        m_router->helperPhone = helperPhone;
        QVERIFY(dialWith(QString(), password));
        const XWindows::Id message =
            m_windows->waitFor(Title, MessageBox, m_pid, Poll::ChangeLimitMs);
        QVERIFY2(message != 0, "no message");
        QTEST(m_router->actions(), "accepted");
        QVERIFY(m_windows->pressKey(message, QStringLiteral("Return")));
        // The window takes the next dial at once; only a refused password is asked again.
        QVERIFY(Poll::until([&] { return !m_windows->shows(Title, MessageBox, m_pid); },
                            Poll::ChangeLimitMs));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("Return")));
        QFETCH(QString, next);
        QVERIFY(m_windows->waitFor(next, MessageBox, m_pid, Poll::ChangeLimitMs) != 0);
        QCOMPARE(m_windows->shows(Prompt, MessageBox, m_pid), next == Prompt);
        QVERIFY(m_router->protocolErrors.isEmpty());
    }
    // "Anrufe": the router's list read at the user's request, a call-back from the newest row,
    // and a call the monitor saw kept once when the router's list holds it too.
    void callJournal() {
        ScriptedCallMonitor monitor;
        QVERIFY(monitor.listen());
        const auto call = [](int id, int type, const QString& caller, const QString& date) {
            return QStringLiteral("<Call><Id>%1</Id><Type>%2</Type><Caller>%3</Caller><Called>"
                                  "5551234</Called><Name></Name><Device>FON1: Telefon</Device>"
                                  "<Date>%4</Date><Duration>0:00</Duration></Call>")
                .arg(id)
                .arg(type)
                .arg(caller, date)
                .toUtf8();
        };
        const QString earlier =
            QDateTime::currentDateTime().addSecs(-3600).toString(QStringLiteral("dd.MM.yy hh:mm"));
        m_router->callList = "<root>" + call(2, 2, QStringLiteral("0301234567"), earlier) +
                             call(1, 1, QStringLiteral("0891234567"), earlier) + "</root>";
        RouterSettings settings = routerSettings();
        settings.callMonitor = true;
        settings.callMonitorPort = monitor.port();
        QVERIFY(startWith(settings));
        QVERIFY(monitor.waitForClient(Poll::StartLimitMs));

        for (int tab = 1; tab <= 4; ++tab)
            QVERIFY(m_windows->pressKey(m_main, QStringLiteral("ctrl+Next")));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("alt+k")));
        QVERIFY(typePassword(m_router->password));
        QVERIFY(Poll::until([&] { return m_router->fetched.size() == 1; }, Poll::ChangeLimitMs));
        QVERIFY2(m_router->fetched.first().endsWith(QLatin1String("&max=1000")),
                 qPrintable(m_router->fetched.first()));

        // The newest call is the current row: Return calls it back through the router.
        QVERIFY(Poll::until([&] { return journalRows(QStringLiteral("0301234567")) == 1; },
                            Poll::ChangeLimitMs));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("Return")));
        QVERIFY(Poll::until([&] { return m_router->actions().contains("X_AVM-DE_DialNumber"); },
                            Poll::ChangeLimitMs));
        QCOMPARE(m_router->requests.last().arguments.value("NewX_AVM-DE_PhoneNumber"),
                 QStringLiteral("0301234567"));
        const XWindows::Id dialing =
            m_windows->waitFor(Call, MessageBox, m_pid, Poll::ChangeLimitMs);
        QVERIFY(dialing != 0 && m_windows->pressKey(dialing, QStringLiteral("alt+a")));

        // The router lists the monitor's call a moment after it ended.
        const QString now = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yy hh:mm"));
        m_router->callList = "<root>" + call(3, 2, QStringLiteral("0891111222"), now) +
                             call(2, 2, QStringLiteral("0301234567"), earlier) + "</root>";
        QVERIFY(monitor.send("08.12.26 10:15:02;RING;7;0891111222;5551234;SIP0;\r\n"
                             "08.12.26 10:15:09;DISCONNECT;7;0;\r\n"));
        QVERIFY(Poll::until([&] { return m_router->fetched.size() == 2; }, Poll::ChangeLimitMs));
        QVERIFY(Poll::until([&] { return journalRows(QStringLiteral("0891111222"), 3) == 1; },
                            Poll::ChangeLimitMs));
        QCOMPARE(journalRows(QStringLiteral("0891111222")), 1);
        QCOMPARE(journalRows(QString()), 3);

        // The Menu key on the newest call: "In Karte übernehmen …" on the first card.
        QVERIFY(Poll::until([&] { return !m_windows->shows(Call, MessageBox, m_pid); },
                            Poll::ChangeLimitMs));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("Home")));
        const auto mappedWindows = [&] {
            QByteArray found;
            m_windows->tool(QStringLiteral("xdotool"),
                            {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--pid"), QString::number(m_pid)},
                            &found);
            return found.count('\n');
        };
        const qsizetype before = mappedWindows();
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("Menu")));
        QVERIFY(Poll::until([&] { return mappedWindows() > before; }, Poll::ChangeLimitMs));
        // "K" stands for "Karte" and for "kopieren": it marks the first, Return takes it.
        QVERIFY(m_windows->typeKey(QStringLiteral("k")));
        QVERIFY(m_windows->typeKey(QStringLiteral("Return")));
        const XWindows::Id card = m_windows->waitFor(QStringLiteral("In Karte \u00FCbernehmen"),
                                                     MessageBox, m_pid, Poll::ChangeLimitMs);
        QVERIFY(card != 0 && m_windows->pressKey(card, QStringLiteral("Return")));
        const XWindows::Id editor = m_windows->waitFor(QStringLiteral("Telefonbuch"), MessageBox,
                                                       m_pid, Poll::ChangeLimitMs);
        QVERIFY(editor != 0 && m_windows->activate(editor));
        QVERIFY(
            m_windows->tool(QStringLiteral("xdotool"), {QStringLiteral("type"), "Neu, Anrufer"}));
        QVERIFY(m_windows->pressKey(editor, QStringLiteral("alt+o")));
        QVERIFY(Poll::until(
            [&] { return m_run->read(Register).contains("\"Neu, Anrufer\",\"49 89 1111222\""); },
            Poll::ChangeLimitMs));
    }
};

QTEST_GUILESS_MAIN(TestE2eRouter)
#include "test_e2e_router.moc"
