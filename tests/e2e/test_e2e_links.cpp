// tel: links from the desktop: a second start hands its link to the running program, which
// dials it through the scripted modem exactly as it dials an entry.
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

// Dial through the modem on COM3; the entry the link must match is on card 1.
const QByteArray ModemRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Zander, Ute\",\"43 1 5551234\",0\r\n");
const QString Dialing = QStringLiteral("Anwahl");
const QByteArray EntryCommand = QByteArrayLiteral("ATDT0043 1 5551234;H\r");

const QByteArray ContactsRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "2,\"Berg, Otto\",\"49 30 1234567\",1\r\n");
const QByteArray Contacts =
    QByteArrayLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Zander;Ute;;;\r\n"
                      "TEL;TYPE=HOME:+43 1 5551234\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xC3\x84rger;Bernd;;;\r\n"
                      "TEL;TYPE=CELL:0171 2345678\r\n"
                      "TEL;TYPE=HOME:089 123456\r\nEND:VCARD\r\n");
const QString ImportTitle = QStringLiteral("Kontakte importieren");

} // namespace

class TestE2eLinks : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void cleanup() { endRun(); }

    void linkToRunningProgramDialsLikeTheEntry() {
        ScriptedModem modem;
        QVERIFY(newRun(ModemRegister, &modem));
        const auto [program, pid, main] = startToMainWindow();
        QVERIFY(main != 0);

        // As a user clicks links with the window shown and no key pressed yet: each dial's
        // dialog stays, without the abort's carriage return, until the modem answers.
        for (int link = 0; link < 3; ++link) {
            QProcess* second = m_run->start({QStringLiteral("tel:+43-1-5551234")});
            QVERIFY2(second, qPrintable(m_run->errorString()));
            QVERIFY(ProgramRun::waitForEnd(second, Poll::ChangeLimitMs));
            QCOMPARE(second->exitCode(), 0);
            QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), EntryCommand);
            const XWindows::Id dialog =
                m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs);
            QVERIFY2(dialog != 0, "no dialing window for the link");
            QVERIFY2(modem.waitForBytes(1, 2000).isEmpty(), "the link's dial was aborted");
            QVERIFY2(m_windows->isMapped(dialog), "the link's dialing window vanished");
            QVERIFY(modem.send(EntryCommand + "\r\nOK\r\n"));
            QVERIFY(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                                Poll::ChangeLimitMs));
        }

        // The entry itself gives the same command.
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Tab")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Down")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("Return")));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), EntryCommand);
        QVERIFY(m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs) != 0);
        QVERIFY(modem.send(EntryCommand + "\r\nOK\r\n"));
        QVERIFY(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                            Poll::ChangeLimitMs));

        // A link without a number is named in a message and dials nothing.
        QProcess* third = m_run->start({QStringLiteral("tel:kurbelfon")});
        QVERIFY2(third, qPrintable(m_run->errorString()));
        QVERIFY(ProgramRun::waitForEnd(third, Poll::ChangeLimitMs));
        const XWindows::Id message =
            m_windows->waitFor(Title, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(message != 0, "no message for the link without a number");
        QVERIFY(modem.unread().isEmpty());
        // A link while the message is open is answered at once and dialed once it is closed.
        QProcess* fourth = m_run->start({QStringLiteral("tel:+43-1-5551234")});
        QVERIFY(fourth && ProgramRun::waitForEnd(fourth, Poll::ChangeLimitMs));
        QCOMPARE(fourth->exitCode(), 0);
        QVERIFY2(modem.waitForBytes(1, 3000).isEmpty(), "dialed over the message");
        QVERIFY2(m_windows->isMapped(message), "the message vanished");
        QVERIFY(m_windows->pressKey(message, QStringLiteral("Return")));
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), EntryCommand);
        QVERIFY(m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs) != 0);
        QVERIFY(modem.send(EntryCommand + "\r\nOK\r\n"));
        QVERIFY(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                            Poll::ChangeLimitMs));
        QVERIFY(ProgramRun::isRunning(program));
    }

    void linkAtFirstStartDialsOnceLoaded() {
        ScriptedModem modem;
        QVERIFY(newRun(ModemRegister, &modem));
        QProcess* program = m_run->start({QStringLiteral("tel:089%201234567")});
        QVERIFY2(program, qPrintable(m_run->errorString()));
        // "49 89 1234567" is a local call for the own codes 49 / 89.
        QCOMPARE(modem.waitForCommand(Poll::StartLimitMs), QByteArray("ATDT1234567;H\r"));
        const qint64 pid = program->processId();
        // Its window is mapped while the dialog opens: the dialog must outlast that.
        const XWindows::Id dialog =
            m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(dialog != 0, "no dialing window");
        QVERIFY2(modem.waitForBytes(1, 2000).isEmpty() && m_windows->isMapped(dialog),
                 "the link's dial was aborted");
        QVERIFY(modem.send("ATDT1234567;H\r\r\nOK\r\n"));
        QVERIFY(Poll::until([&] { return !m_windows->shows(Dialing, MessageBox, pid); },
                            Poll::ChangeLimitMs));
        QVERIFY(ProgramRun::isRunning(program));
    }

    // A desktop without an opener of its own (openbox): xdg-open starts the installed launcher's
    // Exec line itself, and the link reaches the running program.
    void xdgOpenOfTheInstalledLauncherDials() {
        ScriptedModem modem;
        QVERIFY(newRun(ModemRegister, &modem));
        QProcess* program = m_run->start();
        QVERIFY2(program, qPrintable(m_run->errorString()));
        const qint64 pid = program->processId();
        QVERIFY2(m_windows->waitFor(Title, MainWindow, pid, Poll::StartLimitMs) != 0,
                 "no main window");
        m_run->setEnvironmentValue(QStringLiteral("XDG_CURRENT_DESKTOP"), QString());
        const QStringList steps[] = {
            {QStringLiteral("cmake"), QStringLiteral("--install"),
             QStringLiteral(KURBELFON_BUILD_DIR), QStringLiteral("--prefix"),
             m_run->homePath() + QStringLiteral("/.local")},
            {QStringLiteral("xdg-mime"), QStringLiteral("default"),
             QStringLiteral("kurbelfon.desktop"), QStringLiteral("x-scheme-handler/tel")},
            {QStringLiteral("xdg-open"), QStringLiteral("tel:+43-1-5551234")}};
        for (const QStringList& step : steps) {
            QProcess* tool = m_run->start(step.mid(1), step.first());
            QVERIFY2(tool && ProgramRun::waitForEnd(tool, Poll::StartLimitMs) &&
                         tool->exitCode() == 0,
                     qPrintable(step.join(QLatin1Char(' '))));
        }
        QCOMPARE(modem.waitForCommand(Poll::ChangeLimitMs), EntryCommand);
        QVERIFY2(m_windows->waitFor(Dialing, MessageBox, pid, Poll::ChangeLimitMs) != 0,
                 "no dialing window for the link");
        QVERIFY(modem.send(EntryCommand + "\r\nOK\r\n"));
    }

    // The keyboard path: options page, "&Kontakte importieren …", a file, the second card.
    void importButtonFillsTheChosenCard() {
        QVERIFY(newRun(ContactsRegister));
        QVERIFY(m_run->write(QStringLiteral("kontakte.vcf"), Contacts));
        const auto [program, pid, main] = startToMainWindow();
        QVERIFY(main != 0);
        const QByteArray before = m_run->read(Register);

        QVERIFY(m_windows->pressKey(main, QStringLiteral("ctrl+Prior")));
        QVERIFY(m_windows->pressKey(main, QStringLiteral("alt+k")));
        const XWindows::Id files =
            m_windows->waitFor(ImportTitle, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(files != 0, "no file dialog");
        QVERIFY(m_windows->activate(files));
        QVERIFY(m_windows->tool(QStringLiteral("xdotool"),
                                {QStringLiteral("type"), QStringLiteral("--delay"),
                                 QStringLiteral("30"),
                                 m_run->filePath(QStringLiteral("kontakte.vcf"))}));
        QVERIFY(m_windows->pressKey(files, QStringLiteral("Return")));
        QVERIFY(Poll::until(
            [&] {
                const XWindows::Id question = m_windows->shown(ImportTitle, MessageBox, pid);
                return question != 0 && question != files;
            },
            Poll::ChangeLimitMs));
        const XWindows::Id question = m_windows->shown(ImportTitle, MessageBox, pid);
        QVERIFY(m_windows->pressKey(question, QStringLiteral("Down")));
        QVERIFY(m_windows->pressKey(question, QStringLiteral("Return")));

        QVERIFY(m_run->waitForChange(Register, before, Poll::ChangeLimitMs));
        const XWindows::Id report = m_windows->waitFor(Title, MessageBox, pid, Poll::ChangeLimitMs);
        QVERIFY2(report != 0, "no report");
        QVERIFY(m_windows->pressKey(report, QStringLiteral("Return")));
        const QByteArray saved = m_run->read(Register);
        QCOMPARE(saved,
                 QByteArray(ContactsRegister)
                     .replace("2,\"Berg", "2,\"\xC4rger, Bernd (mobil)\",\"49 171 2345678\",1\r\n"
                                          "2,\"\xC4rger, Bernd (privat)\",\"49 89 123456\",1\r\n"
                                          "2,\"Berg")
                     .append("2,\"Zander, Ute\",\"43 1 5551234\",1\r\n"));
        // One save: the backup is the register from before the import.
        QCOMPARE(m_run->read(Backup), before);
    }
};

QTEST_GUILESS_MAIN(TestE2eLinks)
#include "test_e2e_links.moc"
