// The options page of the real program, worked with the keyboard on a private X desktop.
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QTest>

namespace {

using namespace ProgramNames;

const QByteArray Written =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,1,0,0,\"\",0,\"00\",\"41\",\"44\",12,\"\",\"\",0\r\n"
                      "\"Firma\",\"B\xFCro 2\",\"Familie\",\"Privat 2\"\r\n"
                      "2,\"M\xFCller, Anna\",\"49 89 12345\",1\r\n");

} // namespace

class TestE2eOptions : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(startDesktop()); }
    void init() {
        QVERIFY(newRun(Written));
        m_program = m_run->start();
        QVERIFY2(m_program, qPrintable(m_run->errorString()));
        m_main = m_windows->waitFor(Title, MainWindow, m_program->processId(), Poll::StartLimitMs);
        QVERIFY2(m_main != 0, "no main window");
    }
    void cleanup() { endRun(); }

    // Typed on the page, stored when a card is chosen again.
    void leavingThePageStoresWhatWasTyped() {
        QVERIFY(key(QStringLiteral("ctrl+Prior"))); // back from card 1 to "Optionen"
        // The focus starts in the own country code; the area code is next.
        QVERIFY(key(QStringLiteral("Tab")) && key(QStringLiteral("ctrl+a")) &&
                type(QStringLiteral("089")));
        // Then the outside-line and international prefixes, then the first card name.
        for (int i = 0; i < 3; ++i)
            QVERIFY(key(QStringLiteral("Tab")));
        QVERIFY(key(QStringLiteral("ctrl+a")) && type(QStringLiteral("Kunden")));
        QVERIFY(!m_run->exists(Backup)); // nothing is stored while the page is shown

        QVERIFY(key(QStringLiteral("ctrl+Next"))); // on to card 1
        QVERIFY(m_run->waitForChange(Register, Written, Poll::ChangeLimitMs));
        const QByteArray saved = m_run->read(Register);
        QVERIFY2(saved.contains("\"41\",\"89\",12,"), saved.constData());
        QVERIFY2(saved.contains("\"Kunden\",\"B\xFC"
                                "ro 2\""),
                 saved.constData());
        QCOMPARE(m_run->read(Backup), Written);
    }

    void endOnThePageWritesTwice() {
        QVERIFY(key(QStringLiteral("ctrl+Prior")));
        QVERIFY(key(QStringLiteral("alt+e"))); // "&Ende"
        QVERIFY(ProgramRun::waitForEnd(m_program, Poll::ChangeLimitMs));
        QCOMPARE(m_program->exitCode(), 0);
        // Asked to close and closing each save the page; it holds no change, so neither save
        // writes and the backup is not made the register's twin.
        QVERIFY(!m_run->exists(Backup));
        QCOMPARE(m_run->read(Register), Written);
    }

private:
    bool key(const QString& name) { return m_windows->pressKey(m_main, name); }
    bool type(const QString& text) {
        return m_windows->activate(m_main) &&
               m_windows->tool(
                   QStringLiteral("xdotool"),
                   {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    QProcess* m_program = nullptr;
    XWindows::Id m_main = 0;
};

QTEST_GUILESS_MAIN(TestE2eOptions)
#include "test_e2e_options.moc"
