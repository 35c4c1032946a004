// The tray icon, the autostart switch and the help of the real program on a private X desktop.
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>

namespace {

using namespace ProgramNames;

const QByteArray KnownRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "1,3,1,0,\"0\",0,\"00\",\"41\",\"44\",10,\"\",\"\",0\r\n"
                      "\"Firma\",\"B\xFCro 2\",\"Familie\",\"Privat 2\"\r\n"
                      "2,\"M\xFCller, Anna\",\"49 89 12345\",1\r\n");
const QString MenuTitle = QStringLiteral("Taskleiste");

} // namespace

class TestE2eTray : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(startDesktop());
        // Every beep of the display leaves a line in a file.
        QVERIFY(m_opener.isValid());
        m_bells = m_opener.filePath(QStringLiteral("bells"));
        QFile config(m_opener.filePath(QStringLiteral("bells.cf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("Bell() shell \"echo >> '%1'\"\n").arg(m_bells).toUtf8());
        config.close();
        m_bellWatch.setProcessEnvironment(m_desktop->environment());
        m_bellWatch.start(QStringLiteral("xkbevd"), {QStringLiteral("-cfg"), config.fileName()});
        QVERIFY(m_bellWatch.waitForStarted());
    }
    void cleanupTestCase() {
        m_bellWatch.kill();
        m_bellWatch.waitForFinished();
    }
    void init() {
        QVERIFY(newRun(KnownRegister));
        // The desktop's opener stands in for a browser: it notes what it was asked to open.
        m_opened = m_opener.filePath(QStringLiteral("opened"));
        QFile::remove(m_opened);
        QFile opener(m_opener.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n").arg(m_opened).toUtf8());
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_run->setEnvironmentValue(QStringLiteral("PATH"), m_opener.path() + QLatin1Char(':') +
                                                               qEnvironmentVariable("PATH"));
        m_program = m_run->start();
        QVERIFY2(m_program, qPrintable(m_run->errorString()));
        m_main = m_windows->waitFor(Title, MainWindow, m_program->processId(), Poll::StartLimitMs);
        QVERIFY2(m_main != 0, "no main window");
        QVERIFY2(Poll::until([&] { return (m_icon = trayIcon()) != 0; }, Poll::StartLimitMs),
                 "the icon did not dock in the tray");
    }
    void cleanup() { endRun(); }

    // The icon sits in trayer's panel along the top edge.
    void iconDocks() {
        const QRect icon = m_windows->geometry(m_icon);
        QVERIFY2(icon.top() >= 0 && icon.bottom() < 30,
                 qPrintable(QStringLiteral("icon at %1,%2").arg(icon.x()).arg(icon.y())));
    }

    // One second tells a click from a double click, so the window comes a second later.
    void leftClickShowsTheWindowAfterOneSecond() {
        QVERIFY(m_windows->close(m_main));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(m_main); }, Poll::ChangeLimitMs));

        QElapsedTimer sinceClick;
        sinceClick.start();
        QVERIFY(click(1));
        QVERIFY2(m_windows->waitFor(Title, MainWindow, m_program->processId(), Poll::ChangeLimitMs),
                 "the click did not show the window");
        QVERIFY2(sinceClick.elapsed() >= 950,
                 qPrintable(QStringLiteral("shown after %1 ms").arg(sinceClick.elapsed())));
        QVERIFY(ProgramRun::isRunning(m_program));
    }

    void rightClickMenuEndsTheProgram() {
        QVERIFY(click(3));
        QVERIFY2(Poll::until(
                     [&] { return !m_windows->find(MenuTitle, m_program->processId()).isEmpty(); },
                     Poll::ChangeLimitMs),
                 "no menu \"Taskleiste\"");
        // The open menu has the keyboard: "b" is "&Beenden".
        QVERIFY(m_windows->tool(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("b")}));
        QVERIFY2(ProgramRun::waitForEnd(m_program, Poll::ChangeLimitMs),
                 "\"&Beenden\" did not end it");
        QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program->exitCode(), 0);
        QCOMPARE(m_run->read(Register), KnownRegister);
    }

    void autostartByKeyboardWritesTheEntry() {
        const QString entry =
            m_run->homePath() + QStringLiteral("/.config/autostart/Kurbelfon.desktop");
        QVERIFY(!QFile::exists(entry));
        // "&Autostart" shares its letter with "&Ausblenden" and comes first.
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("alt+a")));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("space")));
        QVERIFY2(Poll::until([&] { return QFile::exists(entry); }, Poll::ChangeLimitMs),
                 "no autostart entry");
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        const QByteArray exec =
            "Exec=" + m_run->filePath(QStringLiteral("kurbelfon")).toUtf8() + " /AUTOSTART\n";
        QVERIFY2(text.contains(exec), text.constData());
        QVERIFY(m_windows->isMapped(m_main));

        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("space")));
        QVERIFY2(Poll::until([&] { return !QFile::exists(entry); }, Poll::ChangeLimitMs),
                 "unticking kept the entry");
    }

    void helpOpensTheDocumentOrSaysThereIsNone() {
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("alt+h")));
        const QByteArray expected =
            QUrl::fromLocalFile(m_run->filePath(QStringLiteral("hilfe.htm"))).toEncoded() + '\n';
        QVERIFY2(Poll::until([&] { return readOpened() == expected; }, Poll::ChangeLimitMs),
                 readOpened().constData());

        QVERIFY(QFile::remove(m_run->filePath(QStringLiteral("hilfe.htm"))));
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("alt+h")));
        const XWindows::Id box =
            m_windows->waitFor(Title, MessageBox, m_program->processId(), Poll::ChangeLimitMs);
        QVERIFY2(box != 0, "no message about the missing help");
        QCOMPARE(readOpened(), expected);
        QVERIFY(m_windows->pressKey(box, QStringLiteral("Return")));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(box); }, Poll::ChangeLimitMs));
        QVERIFY(ProgramRun::isRunning(m_program));
    }

    // openbox minimises though the window has no such button, and hides every window to show
    // the desktop; every way back must undo either.
    void minimizedWindowComesBackWithTheKeyboard_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("showDesktop");
        for (const char* way : {"click", "menu", "second start", "link"})
            QTest::newRow(way) << QString::fromLatin1(way) << false;
        QTest::newRow("click after show desktop") << QStringLiteral("click") << true;
    }
    void minimizedWindowComesBackWithTheKeyboard() {
        QFETCH(QString, way);
        QFETCH(bool, showDesktop);
        QVERIFY(showDesktop ? m_windows->tool(QStringLiteral("wmctrl"),
                                              {QStringLiteral("-k"), QStringLiteral("on")})
                            : m_windows->minimize(m_main));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(m_main); }, Poll::ChangeLimitMs));
        if (way == QLatin1String("click")) {
            QVERIFY(click(1));
        } else if (way == QLatin1String("menu")) {
            QVERIFY(click(3));
            QVERIFY(Poll::until([&] { return !m_windows->find(MenuTitle, pid()).isEmpty(); },
                                Poll::ChangeLimitMs));
            QVERIFY(m_windows->typeKey(QStringLiteral("e")));
        } else {
            QProcess* second =
                m_run->start(way == QLatin1String("link") ? QStringList{QStringLiteral("tel:abc")}
                                                          : QStringList{});
            QVERIFY(second && ProgramRun::waitForEnd(second, Poll::ChangeLimitMs));
        }
        if (way == QLatin1String("link")) {
            const XWindows::Id box =
                m_windows->waitFor(Title, MessageBox, pid(), Poll::ChangeLimitMs);
            QVERIFY2(box != 0, "no message for the link");
            QVERIFY(m_windows->isMapped(m_main));
            QVERIFY(m_windows->pressKey(box, QStringLiteral("Return")));
        }
        QVERIFY2(
            Poll::until(
                [&] { return m_windows->isMapped(m_main) && m_windows->activeWindow() == m_main; },
                Poll::ChangeLimitMs),
            "the window did not come back active");
        QVERIFY(keyboardActs());
    }

    // Closing a dialog hands the keyboard back to the main window, unasked.
    void keyboardComesBackAfterEachDialog_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("close");
        QTest::addColumn<bool>("editor"); // the icon beeps while it is open
        QTest::newRow("entry editor") << QStringList{"Tab", "Menu", "e"} << "Telefonbuch"
                                      << "alt+a" << true;
        QTest::newRow("delete question") << QStringList{"ctrl+Next", "Down", "Menu", "l"}
                                         << QStringLiteral("Eintrag löschen") << "Escape" << false;
        QTest::newRow("provider editor")
            << QStringList{"ctrl+Prior", "alt+p", "Tab", "Menu", "e"} << "Anbieterliste"
            << "alt+a" << true;
        QTest::newRow("message box") << QStringList{"alt+h"} << "Kurbelfon"
                                     << "Return" << false;
    }
    void keyboardComesBackAfterEachDialog() {
        QFETCH(QStringList, keys);
        QFETCH(QString, title);
        QFETCH(QString, close);
        QFETCH(bool, editor);
        QVERIFY(QFile::remove(m_run->filePath(QStringLiteral("hilfe.htm"))));
        QVERIFY(m_windows->activate(m_main));
        const XWindows::Id dialog = openDialog(keys, title);
        QVERIFY2(dialog != 0, "the dialog did not open");
        // Meanwhile the icon refuses both buttons with a beep and shows no menu.
        for (int button : editor ? QList<int>{1, 3} : QList<int>{}) {
            const qsizetype before = bells();
            QVERIFY(click(button));
            QVERIFY2(Poll::until([&] { return bells() > before; }, Poll::ChangeLimitMs),
                     qPrintable(QStringLiteral("button %1 did not beep").arg(button)));
            QVERIFY(m_windows->find(MenuTitle, pid()).isEmpty());
        }
        QVERIFY(m_windows->pressKey(dialog, close));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(dialog); }, Poll::ChangeLimitMs));
        QVERIFY(keyboardActs());
    }

    // The partner's banner while the executable is at most 60 days old, else the maker's; a
    // click opens its address.
    void bannerOpensItsAddress_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("new") << 0 << QByteArray("https://www.teltarif.de/\n");
        QTest::newRow("61 days old") << 61 << QByteArray("https://kurbelfon.example/\n");
    }
    void bannerOpensItsAddress() {
        QFETCH(int, days);
        QFETCH(QByteArray, address);
        QVERIFY(ProgramRun::sendSignal(m_program, SIGTERM));
        QVERIFY(ProgramRun::waitForEnd(m_program, Poll::ChangeLimitMs));
        QFile program(m_run->filePath(QStringLiteral("kurbelfon")));
        QVERIFY(program.open(QIODevice::ReadWrite));
        QVERIFY(program.setFileTime(QDateTime::currentDateTime().addDays(-days),
                                    QFileDevice::FileModificationTime));
        program.close();
        m_program = m_run->start();
        m_main = m_windows->waitFor(Title, MainWindow, pid(), Poll::StartLimitMs);
        QVERIFY2(m_main != 0, "no main window");
        // The banner fills the top of the window.
        const QRect window = m_windows->geometry(m_main);
        QVERIFY(click(1, QPoint(window.center().x(), window.top() + 40)));
        QVERIFY2(Poll::until([&] { return readOpened() == address; }, Poll::ChangeLimitMs),
                 readOpened().constData());
    }

private:
    qint64 pid() const { return m_program->processId(); }
    qsizetype bells() const {
        QFile file(m_bells);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
    }
    // The main window gets the keyboard, unasked, and a key typed into whatever has it acts:
    // "&Info" opens its dialog.
    bool keyboardActs() const {
        if (!Poll::until([&] { return m_windows->activeWindow() == m_main; },
                         Poll::ChangeLimitMs) ||
            !m_windows->typeKey(QStringLiteral("alt+i")))
            return false;
        const XWindows::Id info = m_windows->waitFor(QStringLiteral("Info über Kurbelfon"),
                                                     MessageBox, pid(), Poll::ChangeLimitMs);
        return info != 0 && m_windows->close(info) &&
               Poll::until([&] { return !m_windows->isMapped(info); }, Poll::ChangeLimitMs);
    }
    // Typed into the main window; after "Menu" the next key waits for the menu.
    XWindows::Id openDialog(const QStringList& keys, const QString& title) const {
        for (const QString& key : keys) {
            const qsizetype before = m_windows->find(QString(), pid()).size();
            if (!m_windows->typeKey(key))
                return 0;
            if (key == QLatin1String("Menu") &&
                !Poll::until([&] { return m_windows->find(QString(), pid()).size() > before; },
                             Poll::ChangeLimitMs))
                return 0;
        }
        return m_windows->waitFor(title, MessageBox, pid(), Poll::ChangeLimitMs);
    }

    QByteArray readOpened() const {
        QFile file(m_opened);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The program's small mapped window: its icon, embedded in the tray.
    XWindows::Id trayIcon() const { return m_windows->trayIcon(m_program->processId()); }
    bool click(int button, QPoint at = {}) const { return m_windows->click(m_icon, button, at); }

    QProcess* m_program = nullptr;
    XWindows::Id m_main = 0;
    XWindows::Id m_icon = 0;
    QTemporaryDir m_opener;
    QString m_opened;
    QString m_bells;
    QProcess m_bellWatch;
};

QTEST_GUILESS_MAIN(TestE2eTray)
#include "test_e2e_tray.moc"
