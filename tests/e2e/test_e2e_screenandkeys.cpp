// The real program on small screens and by keyboard alone, on a private X desktop.
#include "E2eTestCase.h"
#include "Poll.h"

namespace {

using namespace ProgramNames;

const QByteArray OneEntry =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",1\r\n");
const QString Providers = QStringLiteral("Provider.ini");

} // namespace

class TestE2eScreenAndKeys : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void cleanup() { endRun(); }

    void keyboardAlone() {
        start();
        QVERIFY(m_run->write(Providers, "0\r\n"));
        // Card 2 and back: the focus is in card 1's list.
        QVERIFY(key("ctrl+Next") && key("ctrl+Prior"));
        QVERIFY(menuItem("e")); // "&Einfügen" of the name list's menu
        QVERIFY(closedBy(QStringLiteral("Telefonbuch"), "Escape"));
        QCOMPARE(m_run->read(Register), OneEntry);

        // Past the "&Autostart" box and "&Ausblenden" to "&Info".
        QVERIFY(key("ctrl+Next") && key("ctrl+Prior"));
        QVERIFY(key("Tab") && key("Tab") && key("Tab") && key("space"));
        QVERIFY(closedBy(QStringLiteral("Info über Kurbelfon"), "Return"));

        // "&Provider-Liste" switched on; the list is next.
        QVERIFY(key("ctrl+Prior") && key("alt+p") && key("Tab"));
        QVERIFY(m_run->waitForChange(Providers, "0\r\n", Poll::ChangeLimitMs));
        QVERIFY(menuItem("e"));
        QVERIFY(closedBy(QStringLiteral("Anbieterliste"), "Escape"));
        QVERIFY(menuItem("e"));
        const XWindows::Id editor = m_windows->waitFor(QStringLiteral("Anbieterliste"), MessageBox,
                                                       m_pid, Poll::ChangeLimitMs);
        QVERIFY(editor != 0);
        // Back from the number over the name, the buttons and the three call types to the hours.
        QStringList typed{"T", "Tab", "1"};
        typed << QList<QString>(7, "shift+Tab") << "Home"
              << "Right" << QList<QString>(5, "shift+Right") << "alt+o";
        for (const QString& name : typed)
            QVERIFY(m_windows->pressKey(editor, name));
        QVERIFY(m_run->waitForChange(Providers, "1\r\n", Poll::ChangeLimitMs));
        // The new provider's defaults (Mo - Fr, Fern) with the hours 1 to 6.
        QCOMPARE(m_run->read(Providers), QByteArray("1\r\n\"T\",\"1\",1,0,1,6,0,1,0\r\n"));
    }

    // Last: each row brings a desktop of its own.
    void windowFitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("scale");
        QTest::newRow("1366x768 with a panel") << QSize(1366, 768) << QStringLiteral("1");
        QTest::newRow("1280x1024 at scale 2") << QSize(1280, 1024) << QStringLiteral("2");
    }
    void windowFitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QString, scale);
        QVERIFY(startDesktop(screen, true));
        QVERIFY(newRun(OneEntry));
        m_run->setEnvironmentValue(QStringLiteral("QT_SCALE_FACTOR"), scale);
        start();
        const QRect room = m_windows->workArea();
        QVERIFY(room.top() >= 24); // the panel's strip is kept free
        QRect frame;               // placed once the frame is known
        const bool fits =
            Poll::until([&] { return room.contains(frame = m_windows->frameGeometry(m_main)); },
                        Poll::ChangeLimitMs);
        // Too big even when shrunk, it opens with its title bar at the area's top left.
        QVERIFY2(fits || (scale == QLatin1String("2") && frame.topLeft() == room.topLeft()),
                 qPrintable(QStringLiteral("frame at %1,%2").arg(frame.x()).arg(frame.y())));
    }

private:
    void start() {
        if (!m_run)
            QVERIFY(newRun(OneEntry));
        QProcess* program = m_run->start();
        QVERIFY2(program, qPrintable(m_run->errorString()));
        m_pid = program->processId();
        m_main = m_windows->waitFor(Title, MainWindow, m_pid, Poll::StartLimitMs);
        QVERIFY2(m_main != 0, "no main window");
    }

    bool key(const char* name) { return m_windows->pressKey(m_main, QString::fromLatin1(name)); }

    // Shift+F10 opens the focused list's menu as one more window, which then holds the keyboard.
    bool menuItem(const char* item) {
        const QStringList search{"search", "--onlyvisible", "--pid", QString::number(m_pid)};
        QByteArray before, now;
        return m_windows->tool("xdotool", search, &before) && key("shift+F10") &&
               Poll::until(
                   [&] { return m_windows->tool("xdotool", search, &now) && now != before; },
                   Poll::ChangeLimitMs) &&
               m_windows->tool("xdotool", {"key", QString::fromLatin1(item)});
    }

    // The dialog with this title shows and goes with this key.
    bool closedBy(const QString& title, const char* key) {
        const XWindows::Id dialog =
            m_windows->waitFor(title, MessageBox, m_pid, Poll::ChangeLimitMs);
        return dialog != 0 && m_windows->pressKey(dialog, QString::fromLatin1(key)) &&
               Poll::until([&] { return !m_windows->isMapped(dialog); }, Poll::ChangeLimitMs) &&
               !m_windows->shows(Title, MessageBox, m_pid); // and no message instead
    }

    qint64 m_pid = 0;
    XWindows::Id m_main = 0;
};

QTEST_MAIN(TestE2eScreenAndKeys)
#include "test_e2e_screenandkeys.moc"
