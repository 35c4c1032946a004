// Start, hide, second start and end of the real program on a private X desktop.
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QTest>

#include <csignal>
#include <memory>

namespace {

using namespace ProgramNames;

// What a first start writes: Windows-1252, CRLF.
const QByteArray NewRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n");
// A register the program has written before: it opens on card 1 without a message.
const QByteArray KnownRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "1,3,1,0,\"0\",0,\"00\",\"41\",\"44\",10,\"\",\"\",0\r\n"
                      "\"Firma\",\"B\xFCro 2\",\"Familie\",\"Privat 2\"\r\n"
                      "2,\"M\xFCller, Anna\",\"49 89 12345\",1\r\n");

} // namespace

class TestE2eStartup : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartWritesRegisterThenAnnouncesIt();
    void ordinaryStartShowsMainWindowOnly_data();
    void ordinaryStartShowsMainWindowOnly();
    void mainWindowIsFixedCentredWithoutTaskbarButton_data();
    void mainWindowIsFixedCentredWithoutTaskbarButton();
    void closeBoxOnlyHides_data();
    void closeBoxOnlyHides();
    void secondStartShowsFirstWindowAndEnds_data();
    void secondStartShowsFirstWindowAndEnds();
    void signalEndsLikeEnde_data();
    void signalEndsLikeEnde();
    void incompatibleHeaderEndsWithoutWriting_data();
    void incompatibleHeaderEndsWithoutWriting();

private:
    QProcess* startWith(const QByteArray& registerBytes);
    // First start up to the main window: the message box is answered with Return.
    XWindows::Id firstStartToMainWindow(QProcess* program);
};

void TestE2eStartup::initTestCase() {
    QVERIFY(startDesktop());
}

void TestE2eStartup::init() {
    m_run = std::make_unique<ProgramRun>(*m_desktop);
    QVERIFY2(m_run->isValid(), qPrintable(m_run->errorString()));
}

void TestE2eStartup::cleanup() {
    endRun();
    QVERIFY(m_desktop->setTray(true));
}

QProcess* TestE2eStartup::startWith(const QByteArray& registerBytes) {
    if (!registerBytes.isNull() && !m_run->write(Register, registerBytes))
        return nullptr;
    return m_run->start();
}

XWindows::Id TestE2eStartup::firstStartToMainWindow(QProcess* program) {
    const XWindows::Id box =
        m_windows->waitFor(Title, MessageBox, program->processId(), Poll::StartLimitMs);
    if (box == 0 || !m_windows->pressKey(box, QStringLiteral("Return")))
        return 0;
    return m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
}

void TestE2eStartup::firstStartWritesRegisterThenAnnouncesIt() {
    QProcess* program = m_run->start();
    QVERIFY2(program, qPrintable(m_run->errorString()));

    const XWindows::Id box =
        m_windows->waitFor(Title, MessageBox, program->processId(), Poll::StartLimitMs);
    QVERIFY2(box != 0, "no message box about the new register");
    // The message comes before the main window, and the file is already written then.
    QVERIFY(!m_windows->shows(Title, MainWindow, program->processId()));
    QCOMPARE(m_run->read(Register), NewRegister);
    QVERIFY(!m_run->exists(Backup));

    QVERIFY(m_windows->pressKey(box, QStringLiteral("Return")));
    const XWindows::Id main =
        m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
    QVERIFY2(main != 0, "no main window after the message box was answered");
    QVERIFY(Poll::until([&] { return !m_windows->isMapped(box); }, Poll::ChangeLimitMs));
    QVERIFY(ProgramRun::isRunning(program));
    QCOMPARE(m_run->read(Register), NewRegister);
    QVERIFY(!m_run->exists(Backup));
}

void TestE2eStartup::ordinaryStartShowsMainWindowOnly_data() {
    QTest::addColumn<QByteArray>("registerBytes");
    QTest::addColumn<bool>("wayland");
    QTest::newRow("as written") << KnownRegister << false;
    QTest::newRow("header with blanks around")
        << QByteArray("  [KURBELFON VERSION 4] " + KnownRegister.mid(21)) << false;
    // The tray's clicks, the menu at the mouse and the way to the front need X11: Xwayland.
    QTest::newRow("Wayland session") << KnownRegister << true;
}

void TestE2eStartup::ordinaryStartShowsMainWindowOnly() {
    QFETCH(QByteArray, registerBytes);
    QFETCH(bool, wayland);
    std::unique_ptr<XWindows> xwayland;
    if (wayland) {
        const QString display = m_desktop->startWayland();
        QVERIFY2(!display.isEmpty(), qPrintable(m_desktop->errorString()));
        xwayland = std::make_unique<XWindows>(display);
        m_run->setEnvironmentValue(QStringLiteral("QT_QPA_PLATFORM"), QString()); // as unset
        m_run->setEnvironmentValue(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        m_run->setEnvironmentValue(QStringLiteral("WAYLAND_DISPLAY"), m_desktop->waylandSocket());
        m_run->setEnvironmentValue(QStringLiteral("DISPLAY"), display);
    }
    const XWindows* windows = wayland ? xwayland.get() : m_windows.get();
    QProcess* program = startWith(registerBytes);
    QVERIFY2(program, qPrintable(m_run->errorString()));

    QVERIFY(windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs));
    QVERIFY(!windows->shows(Title, MessageBox, program->processId()));
    QCOMPARE(m_run->read(Register), registerBytes);
    QVERIFY(!m_run->exists(Backup));
}

void TestE2eStartup::mainWindowIsFixedCentredWithoutTaskbarButton_data() {
    QTest::addColumn<bool>("shownAgain");
    QTest::newRow("after start") << false;
    // Qt rewrites the window state when a window is mapped again.
    QTest::newRow("shown again by a second start") << true;
}

void TestE2eStartup::mainWindowIsFixedCentredWithoutTaskbarButton() {
    QFETCH(bool, shownAgain);
    QProcess* program = startWith(KnownRegister);
    QVERIFY2(program, qPrintable(m_run->errorString()));
    XWindows::Id main =
        m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
    QVERIFY2(main != 0, "no main window");
    if (shownAgain) {
        QVERIFY(m_windows->close(main));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(main); }, Poll::ChangeLimitMs));
        QProcess* second = m_run->start();
        QVERIFY2(second, qPrintable(m_run->errorString()));
        QVERIFY(ProgramRun::waitForEnd(second, Poll::StartLimitMs));
        main = m_windows->waitFor(Title, MainWindow, program->processId(), Poll::ChangeLimitMs);
        QVERIFY2(main != 0, "the main window was not shown again");
    }

    const QSize size = m_windows->geometry(main).size();
    QCOMPARE(m_windows->minimumSize(main), size);
    QCOMPARE(m_windows->maximumSize(main), size);
    QVERIFY2(Poll::until([&] { return m_windows->states(main).contains("SKIP_TASKBAR"); },
                         Poll::ChangeLimitMs),
             qPrintable("a task bar button: _NET_WM_STATE is " +
                        m_windows->states(main).join(QLatin1Char(','))));
    // The frame is centred, not the client area: the title bar counts.
    const QSize screen = m_windows->screenSize();
    auto offCentre = [&] {
        const QRect frame = m_windows->frameGeometry(main);
        return QPoint(frame.x() + frame.width() / 2 - screen.width() / 2,
                      frame.y() + frame.height() / 2 - screen.height() / 2);
    };
    QVERIFY2(
        Poll::until([&] { return offCentre().manhattanLength() <= 2; }, Poll::ChangeLimitMs),
        qPrintable(
            QStringLiteral("frame centre off by %1,%2").arg(offCentre().x()).arg(offCentre().y())));
}

void TestE2eStartup::closeBoxOnlyHides_data() {
    QTest::addColumn<bool>("optionsPage");
    QTest::addColumn<bool>("tray");
    QTest::newRow("card page") << false << true;
    // The options page is saved when it is left or the program ends, not when it is hidden.
    QTest::newRow("options page after a first start") << true << true;
    // Hidden without an icon it could only be reached by starting it again.
    QTest::newRow("no notification area: minimised to the task bar") << false << false;
}

void TestE2eStartup::closeBoxOnlyHides() {
    QFETCH(bool, optionsPage);
    QFETCH(bool, tray);
    QVERIFY(m_desktop->setTray(tray));
    QProcess* program = startWith(optionsPage ? QByteArray() : KnownRegister);
    QVERIFY2(program, qPrintable(m_run->errorString()));
    const XWindows::Id main =
        optionsPage
            ? firstStartToMainWindow(program)
            : m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
    QVERIFY2(main != 0, "no main window");
    const QByteArray before = m_run->read(Register);

    QVERIFY(m_windows->close(main));
    QVERIFY2(Poll::until([&] { return !m_windows->isMapped(main); }, Poll::ChangeLimitMs),
             "the close box did not hide the main window");
    QVERIFY2(ProgramRun::isRunning(program), "the close box ended the program");
    QVERIFY(m_windows->find(Title, program->processId()).isEmpty());
    QCOMPARE(m_run->read(Register), before);
    QVERIFY(!m_run->exists(Backup));
    if (!tray) {
        auto onTaskbar = [&] {
            const QStringList states = m_windows->states(main);
            return states.contains("HIDDEN") && !states.contains("SKIP_TASKBAR");
        };
        QVERIFY2(Poll::until(onTaskbar, Poll::ChangeLimitMs),
                 qPrintable("_NET_WM_STATE is " + m_windows->states(main).join(',')));
        // As the task bar asks.
        QVERIFY(m_windows->activate(main));
    }
}

void TestE2eStartup::secondStartShowsFirstWindowAndEnds_data() {
    QTest::addColumn<bool>("hiddenBefore");
    QTest::newRow("first window hidden") << true;
    QTest::newRow("first window shown") << false;
}

void TestE2eStartup::secondStartShowsFirstWindowAndEnds() {
    QFETCH(bool, hiddenBefore);
    QProcess* first = startWith(KnownRegister);
    QVERIFY2(first, qPrintable(m_run->errorString()));
    const XWindows::Id main =
        m_windows->waitFor(Title, MainWindow, first->processId(), Poll::StartLimitMs);
    QVERIFY2(main != 0, "no main window");
    if (hiddenBefore) {
        QVERIFY(m_windows->close(main));
        QVERIFY(Poll::until([&] { return !m_windows->isMapped(main); }, Poll::ChangeLimitMs));
    }

    QProcess* second = m_run->start();
    QVERIFY2(second, qPrintable(m_run->errorString()));
    QVERIFY2(ProgramRun::waitForEnd(second, Poll::StartLimitMs), "the second start keeps running");
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);

    // Qt may give a window shown again a new id, so look for it afresh.
    QVERIFY2(m_windows->waitFor(Title, MainWindow, first->processId(), Poll::ChangeLimitMs),
             "the first window was not shown again");
    QVERIFY(ProgramRun::isRunning(first));
    QCOMPARE(m_windows->find(Title, first->processId()).size(), 1);
    QCOMPARE(m_run->read(Register), KnownRegister);
    QVERIFY(!m_run->exists(Backup));
}

void TestE2eStartup::signalEndsLikeEnde_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("where"); // cards, options, or the first start's message
    QTest::newRow("SIGTERM on a card page") << int(SIGTERM) << "cards";
    QTest::newRow("SIGINT on a card page") << int(SIGINT) << "cards";
    // Ending from the options page saves it twice; unchanged, neither save writes.
    QTest::newRow("SIGTERM on the options page") << int(SIGTERM) << "options";
    QTest::newRow("SIGINT on the options page") << int(SIGINT) << "options";
    // Before the main loop runs: the message box's own loop must end too.
    QTest::newRow("SIGTERM on the first start's message") << int(SIGTERM) << "message";
}

void TestE2eStartup::signalEndsLikeEnde() {
    QFETCH(int, signal);
    QFETCH(QString, where);
    const bool firstStart = where != QLatin1String("cards");
    QProcess* program = startWith(firstStart ? QByteArray() : KnownRegister);
    QVERIFY2(program, qPrintable(m_run->errorString()));
    XWindows::Id shown = 0;
    if (where == QLatin1String("message"))
        shown = m_windows->waitFor(Title, MessageBox, program->processId(), Poll::StartLimitMs);
    else if (firstStart)
        shown = firstStartToMainWindow(program);
    else
        shown = m_windows->waitFor(Title, MainWindow, program->processId(), Poll::StartLimitMs);
    QVERIFY2(shown != 0, "nothing shown");

    QVERIFY(ProgramRun::sendSignal(program, signal));
    QVERIFY2(ProgramRun::waitForEnd(program, Poll::ChangeLimitMs), "the signal did not end it");
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
    if (where == QLatin1String("options")) {
        QCOMPARE(m_run->read(Register), NewRegister);
        QVERIFY(!m_run->exists(Backup));
    } else {
        QCOMPARE(m_run->read(Register), firstStart ? NewRegister : KnownRegister);
        QVERIFY(!m_run->exists(Backup));
    }
}

void TestE2eStartup::incompatibleHeaderEndsWithoutWriting_data() {
    QTest::addColumn<QByteArray>("registerBytes");
    const QByteArray rest = KnownRegister.mid(KnownRegister.indexOf('\n') + 1);
    QTest::newRow("lower case") << QByteArray("[kurbelfon version 4]\r\n" + rest);
    QTest::newRow("version 3") << QByteArray("[KURBELFON VERSION 3]\r\n" + rest);
    QTest::newRow("another file") << QByteArray("[Settings]\r\nName=Kurbelfon\r\n");
}

void TestE2eStartup::incompatibleHeaderEndsWithoutWriting() {
    QFETCH(QByteArray, registerBytes);
    QProcess* program = startWith(registerBytes);
    QVERIFY2(program, qPrintable(m_run->errorString()));

    const XWindows::Id box =
        m_windows->waitFor(Title, MessageBox, program->processId(), Poll::StartLimitMs);
    QVERIFY2(box != 0, "no error message");
    QVERIFY(!m_windows->shows(Title, MainWindow, program->processId()));

    QVERIFY(m_windows->pressKey(box, QStringLiteral("Return")));
    QVERIFY2(ProgramRun::waitForEnd(program, Poll::ChangeLimitMs),
             "the program went on after the error message");
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_run->read(Register), registerBytes);
    QVERIFY(!m_run->exists(Backup));
}

QTEST_GUILESS_MAIN(TestE2eStartup)
#include "test_e2e_startup.moc"
