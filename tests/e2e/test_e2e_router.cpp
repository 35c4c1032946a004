// Dialing through the router: the real program on a private X desktop, a scripted router on
// 127.0.0.1 and no key store, so the program asks for the password once per run.
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "ScriptedRouter.h"
#include "XDesktop.h"
#include "XWindows.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

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
        if (!newRun(OneEntry))
            return false;
        RegistryStore store(m_run->homePath() + QStringLiteral("/.config"));
        RouterSettings settings;
        settings.dialThroughRouter = true;
        settings.address = m_router->address();
        settings.user = m_router->user;
        settings.phone = phone;
        settings.certificateSha256 = m_router->certificateSha256();
        // No session bus: no key store.
        m_run->setEnvironmentValue(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("unix:path=/nonexistent"));
        QProcess* program = settings.save(store) ? m_run->start() : nullptr;
        if (!program)
            return warn(QStringLiteral("cannot start"));
        m_pid = program->processId();
        m_main = m_windows->waitFor(Title, MainWindow, m_pid, Poll::StartLimitMs);
        return m_main != 0 && dialEntry() && typePassword(password);
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
};

QTEST_GUILESS_MAIN(TestE2eRouter)
#include "test_e2e_router.moc"
