// A call through a modem: the real program on a private X desktop, its COM3 linked to a scripted
// modem on a pseudo-terminal.
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

// Dial through the modem on COM3; two entries on card 1, the second stored with a "+" and a
// modem command that must not reach the modem.
const QByteArray ModemRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",1\r\n"
                      "1,\"Zander, Ute\",\"+43 1 5551234;Z\",0\r\n");
const QString Dialing = QStringLiteral("Anwahl");

} // namespace

class TestE2eModem : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void cleanup() { endRun(); }

    void enterDialsTheSelectedEntry() {
        ScriptedModem modem;
        QVERIFY(newRun(ModemRegister, &modem));
        const auto [program, pid, main] = startToMainWindow();
        QVERIFY(main != 0);

        // From the tab strip into card 1's list, down to the second entry, then Enter.
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Tab")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Down")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Down")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Return")));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), QByteArray("ATDT0043 1 5551234;H\r"));
        QVERIFY2(m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs) != 0,
                 "no dialing window");

        QVERIFY(modem.send("ATDT0043 1 5551234;H\r\r\nOK\r\n"));
        QVERIFY2(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                             Poll::ChangeLimitMs),
                 "the dialing window stays");
        QVERIFY(ProgramRun::isRunning(program));
        QVERIFY(m_windows->isMapped(main));

        // The list has the keyboard again, unasked: up to the first entry and dial it.
        QVERIFY2(
            Poll::until([&] { return m_windows->activeWindow() == main; }, Poll::ChangeLimitMs),
            "the main window did not get the keyboard back");
        QVERIFY(m_windows->typeKey(QStringLiteral("Up")));
        QVERIFY(m_windows->typeKey(QStringLiteral("Return")));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), QByteArray("ATDT030 1234567;H\r"));
        const XWindows::Id dialog =
            m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(dialog != 0, "no dialing window");
        // openbox shows the caption "Anwahl" whole only in a frame this wide.
        QVERIFY2(m_windows->frameGeometry(dialog).width() >= 250,
                 qPrintable(QString::number(m_windows->frameGeometry(dialog).width())));
        // The close box aborts: the modem hears a carriage return.
        QVERIFY(m_windows->close(dialog));
        QCOMPARE(modem.waitForBytes(1, Poll::ChangeLimitMs), QByteArray("\r"));
    }

    // The X server repeats a held key as release/press pairs: they must neither abort "Anwahl"
    // nor, once the modem's OK closed it, dial again. Afterwards fresh keys act.
    void heldReturnDialsOnce_data() {
        QTest::addColumn<bool>("answered");
        QTest::newRow("repeats into the dialog") << false;
        QTest::newRow("repeats into the list after OK") << true;
    }
    void heldReturnDialsOnce() {
        QFETCH(bool, answered);
        ScriptedModem modem;
        QVERIFY(newRun(ModemRegister, &modem));
        const auto [program, pid, main] = startToMainWindow();
        QVERIFY(main != 0);
        QVERIFY(m_windows->tool(QStringLiteral("xset"), {"r", "on"}));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Tab")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Down")));

        const QByteArray command("ATDT030 1234567;H\r");
        QVERIFY(m_windows->tool(QStringLiteral("xdotool"), {"keydown", "Return"}));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), command);
        if (answered) {
            QVERIFY(modem.send("\r\nOK\r\n"));
            QVERIFY(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                                Poll::ChangeLimitMs));
        }
        // Holding the key is the input: past the server's repeat delay (660 ms) and half again.
        QTest::qWait(1200);
        QVERIFY(m_windows->tool(QStringLiteral("xdotool"), {"keyup", "Return"}));

        QByteArray expected = command + "\r";
        if (answered) {
            QVERIFY(m_windows->pressKey(main, QStringLiteral("Return")));
            expected.prepend(command);
        }
        const XWindows::Id dialog =
            m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(dialog != 0, "no dialing window");
        QVERIFY(m_windows->pressKey(dialog, QStringLiteral("Escape")));
        QVERIFY2(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                             Poll::ChangeLimitMs),
                 "Escape did not abort");
        // All that came after the first command, the abort's carriage return last.
        QCOMPARE(modem.waitForBytes(expected.size() - command.size(), Poll::ChangeLimitMs),
                 expected.mid(command.size()));
    }
};

QTEST_GUILESS_MAIN(TestE2eModem)
#include "test_e2e_modem.moc"
