// The provider list of the real program on a private X desktop: ticked, a call through the
// scripted modem on COM3 gets the provider's network number right after the outside-line
// prefix; unticked, it does not. The switch is kept in Provider.ini.
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "ScriptedModem.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QTest>

namespace {

using namespace ProgramNames;

// Modem on COM3, outside-line prefix "0"; one long-distance entry on card 1.
const QByteArray ProviderRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"0\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",1\r\n");
const QString Providers = QStringLiteral("Provider.ini");
// Every day, every hour, every kind of call: the choice does not depend on the clock.
const QByteArray AlwaysRow = "\"Immer\",\"01013\",1,1,0,24,1,1,1\r\n";
const QString Dialing = QStringLiteral("Anwahl");

} // namespace

class TestE2eProviders : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void cleanup() { endRun(); }

    void theTickedListPutsTheProviderAfterTheOutsideLinePrefix() {
        ScriptedModem modem;
        QVERIFY(newRun(ProviderRegister, &modem));
        QVERIFY(m_run->write(Providers, "0\r\n" + AlwaysRow));
        QProcess* program = m_run->start();
        QVERIFY2(program, qPrintable(m_run->errorString()));
        m_pid = program->processId();
        m_main = m_windows->waitFor(Title, MainWindow, m_pid, Poll::StartLimitMs);
        QVERIFY2(m_main != 0, "no main window");

        QVERIFY(switchList("1\r\n" + AlwaysRow));
        QCOMPARE(dial(modem), QByteArray("ATDT001013030 1234567;H\r"));
        QVERIFY(switchList("0\r\n" + AlwaysRow));
        QCOMPARE(dial(modem), QByteArray("ATDT0030 1234567;H\r"));
        QVERIFY(ProgramRun::isRunning(program));
    }

private:
    bool key(const QString& name) { return m_windows->pressKey(m_main, name); }

    // "&Provider-Liste" on the options page, then back to card 1; true once the file says so.
    bool switchList(const QByteArray& expected) {
        const QByteArray before = m_run->read(Providers);
        if (!key(QStringLiteral("ctrl+Prior")) || !key(QStringLiteral("alt+p")))
            return false;
        if (!m_run->waitForChange(Providers, before, Poll::ChangeLimitMs)) {
            qWarning("Provider.ini unchanged");
            return false;
        }
        if (m_run->read(Providers) != expected) {
            qWarning("Provider.ini: %s", m_run->read(Providers).constData());
            return false;
        }
        return key(QStringLiteral("ctrl+Next"));
    }

    // The first entry of card 1 dialed with the keyboard; the command the modem received.
    QByteArray dial(ScriptedModem& modem) {
        if (!key(QStringLiteral("Home")) || !key(QStringLiteral("Return")))
            return "no keys";
        const QByteArray command = modem.waitForCommand(Poll::ChangeLimitMs);
        if (m_windows->waitFor(Dialing, MessageBox, m_pid, Poll::ChangeLimitMs) == 0)
            return "no dialing window";
        modem.send(command + "\r\nOK\r\n");
        if (!Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, m_pid); },
                         Poll::ChangeLimitMs))
            return "the dialing window stays";
        return command;
    }

    qint64 m_pid = 0;
    XWindows::Id m_main = 0;
};

QTEST_GUILESS_MAIN(TestE2eProviders)
#include "test_e2e_providers.moc"
