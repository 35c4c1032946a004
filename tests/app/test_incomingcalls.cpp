#include "WindowFixture.h"
#include "app/CallHistory.h"
#include "app/CallJournalModel.h"
#include "app/CallJournalPage.h"
#include "app/IncomingCalls.h"
#include "app/TrayIcon.h"
#include "dialing/LinkDialer.h"
#include "e2e/ScriptedCallMonitor.h"
#include "router/CallJournal.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QFont>
#include <QSystemTrayIcon>
#include <QTreeView>
#include <QtTest>

// The tray icon's tip follows the call monitor and counts missed calls while the window is
// hidden; switching the monitor off in the settings ends the connection.
class TestIncomingCalls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        // No notifications on the desktop of whoever runs the tests.
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + m_config.filePath("no-bus").toLocal8Bit());
    }

    void tipCountsMissedCallsUntilTheWindowShows() {
        ScriptedCallMonitor router;
        RouterSettings settings;
        WindowFixture f;
        QVERIFY(startWithMonitor(router, settings, f, RegisterTestData::FirstStart));
        LinkDialer linkDialer(f.window->phoneRegister(), f.window->entryDialer());
        IncomingCalls calls(f.window.get(), &linkDialer);
        const auto tip = [&] { return f.window->trayIcon()->systemTrayIcon()->toolTip(); };
        QVERIFY(router.waitForClient(Poll::ChangeLimitMs));
        QVERIFY(Poll::until([&] { return tip() == "Kurbelfon – Anrufmonitor: verbunden"; },
                            Poll::ChangeLimitMs));

        f.window->hide();
        QVERIFY(router.send("08.12.26 10:15:02;RING;0;0891234567;5551234;SIP0;\r\n"
                            "08.12.26 10:15:09;DISCONNECT;0;0;\r\n"
                            "08.12.26 10:16:02;RING;1;;5551234;SIP0;\r\n"
                            "08.12.26 10:16:09;CONNECT;1;10;;\r\n"
                            "08.12.26 10:17:09;DISCONNECT;1;60;\r\n"
                            "08.12.26 10:18:02;RING;0;01755290123;5551234;SIP0;\r\n"
                            "08.12.26 10:18:09;DISCONNECT;0;0;\r\n"));
        QVERIFY(Poll::until([&] { return calls.missedCalls() == 2; }, Poll::ChangeLimitMs));
        QCOMPARE(tip(), QStringLiteral("Kurbelfon – 2 verpasste Anrufe"));
        f.window->show();
        QCOMPARE(calls.missedCalls(), 0);
        QCOMPARE(tip(), QStringLiteral("Kurbelfon – Anrufmonitor: verbunden"));

        settings.callMonitor = false;
        QVERIFY(settings.save(m_store));
        calls.applySettings();
        QCOMPARE(calls.stateText(), QStringLiteral("aus"));
        QCOMPARE(tip(), QStringLiteral("Kurbelfon"));
    }

    // The calls page: a monitor's call shows at once, named from the cards and bold until the
    // page is seen, which also clears the tray tip's count; a withheld call is not called back.
    void callsPageShowsTheMonitorsCalls() {
        ScriptedCallMonitor router;
        RouterSettings settings;
        WindowFixture f;
        QVERIFY(startWithMonitor(router, settings, f,
                                 RegisterTestData::FirstStart +
                                     "2,\"Muster, Anna\",\"49 89 1234567\",0\r\n"));
        LinkDialer linkDialer(f.window->phoneRegister(), f.window->entryDialer());
        IncomingCalls calls(f.window.get(), &linkDialer);
        CallHistory history(f.window.get(), &calls);
        QVERIFY(f.window->callsTabShown());
        QVERIFY(router.waitForClient(Poll::ChangeLimitMs));
        QVERIFY(router.send("08.12.26 10:15:02;RING;0;0891234567;5551234;SIP0;\r\n"
                            "08.12.26 10:15:09;DISCONNECT;0;0;\r\n"
                            "08.12.26 10:16:02;RING;1;;5551234;SIP0;\r\n"
                            "08.12.26 10:16:09;DISCONNECT;1;0;\r\n"));
        CallJournalModel* model = history.page()->model();
        const auto cell = [&](int row, int column) {
            return model->data(model->index(row, column), Qt::DisplayRole).toString();
        };
        QVERIFY(Poll::until([&] { return model->rowCount() == 2; }, Poll::ChangeLimitMs));
        QCOMPARE(cell(1, CallJournalModel::Who), QStringLiteral("Muster, Anna (B\u00FCro 2)"));
        QCOMPARE(cell(1, CallJournalModel::Kind), QStringLiteral("Verpasst"));
        QCOMPARE(cell(0, CallJournalModel::Number), QStringLiteral("unterdr\u00FCckt"));
        QVERIFY(model->data(model->index(1, 0), Qt::FontRole).value<QFont>().bold());
        QCOMPARE(calls.missedCalls(), 2);

        // Seen, but bold while the page shows them as new.
        f.window->ShowCallsPage();
        QCOMPARE(calls.missedCalls(), 0);
        QCOMPARE(history.journal()->unseenMissed(), 0);
        QVERIFY(model->data(model->index(1, 0), Qt::FontRole).value<QFont>().bold());
        f.window->ShowOptionsPage();
        f.window->ShowCallsPage();
        QVERIFY(!model->data(model->index(1, 0), Qt::FontRole).value<QFont>().bold());
        QCOMPARE(history.page()->list()->currentIndex().row(), 0);
        QTest::keyClick(history.page()->list(), Qt::Key_Return);
        QVERIFY(history.page()->statusText().contains(QStringLiteral("unterdr\u00FCckt")));
    }

private:
    // The call monitor on in the settings, and the window loaded with this register.
    bool startWithMonitor(ScriptedCallMonitor& router, RouterSettings& settings, WindowFixture& f,
                          const QByteArray& registerBytes) {
        settings.address = QStringLiteral("127.0.0.1");
        settings.callMonitor = true;
        settings.callMonitorPort = router.listen() ? router.port() : 0;
        f.write(QStringLiteral("Telefonregister.ini"), registerBytes);
        return settings.callMonitorPort != 0 && settings.save(m_store) && f.start();
    }

    QTemporaryDir m_config;
    RegistryStore m_store{m_config.path()};
};

QTEST_MAIN(TestIncomingCalls)
#include "test_incomingcalls.moc"
