// The tray adapter's events and menu, and the info dialog, on the offscreen platform.
#include "WindowFixture.h"
#include "app/InfoDialog.h"
#include "app/TrayClickDecoder.h"
#include "app/TrayIcon.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

class TestTray : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    void tipIsCutAt63() {
        TrayIcon tray([] { return false; });
        const QString tip = QString(70, QLatin1Char('x'));
        // A tip before the icon shows makes no icon: that would ask the session bus.
        tray.ChangeSysTrayIcon(QIcon(), tip);
        QVERIFY(!tray.findChild<QSystemTrayIcon*>());
        tray.ShowSysTrayIcon(QIcon(), QStringLiteral("Kurbelfon"));
        QCOMPARE(tray.systemTrayIcon()->toolTip(), tip.left(63));
        tray.ChangeSysTrayIcon(QIcon(), QStringLiteral("Kurbelfon"));
        QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("Kurbelfon"));
        QSignalSpy balloonClicks(&tray, &TrayIcon::messageClicked);
        emit tray.systemTrayIcon()->messageClicked();
        QCOMPARE(balloonClicks.count(), 1);
    }

    void eventsAndMenu_data() {
        QTest::addColumn<bool>("menuItem"); // pum2_Click instead of NiKeyEvent
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("modalOpen");
        QTest::addColumn<QString>("signal"); // "" for none
        QTest::newRow("left click") << false << 1 << false << "show";
        QTest::newRow("left double click") << false << 257 << false << "show";
        QTest::newRow("left click under a modal dialog beeps") << false << 1 << true << "";
        QTest::newRow("right double click beeps") << false << 258 << false << "";
        QTest::newRow("right click under a modal dialog beeps") << false << 2 << true << "";
        QTest::newRow("Einblenden") << true << 1 << false << "show";
        QTest::newRow("Einblenden under a modal dialog beeps") << true << 1 << true << "";
        QTest::newRow("Info") << true << 2 << false << "info";
        QTest::newRow("Beenden") << true << 4 << false << "quit";
        QTest::newRow("Abbrechen") << true << 6 << false << "";
    }
    void eventsAndMenu() {
        QFETCH(bool, menuItem);
        QFETCH(int, code);
        QFETCH(bool, modalOpen);
        QFETCH(QString, signal);
        TrayIcon tray([modalOpen] { return modalOpen; });
        QSignalSpy show(&tray, &TrayIcon::showWindowRequested);
        QSignalSpy info(&tray, &TrayIcon::infoRequested);
        QSignalSpy quit(&tray, &TrayIcon::quitRequested);
        if (menuItem)
            tray.pum2_Click(code);
        else
            tray.NiKeyEvent(code);
        QCOMPARE(show.count(), signal == QStringLiteral("show") ? 1 : 0);
        QCOMPARE(info.count(), signal == QStringLiteral("info") ? 1 : 0);
        QCOMPARE(quit.count(), signal == QStringLiteral("quit") ? 1 : 0);
        QVERIFY(!tray.menu()->isVisible());
    }

    // What the tray reports becomes the notification area's mouse messages, decoded a second
    // later into one event.
    void clickReasonsBecomeEvents_data() {
        QTest::addColumn<QList<int>>("reasons");
        QTest::addColumn<int>("event");
        QTest::newRow("single") << QList<int>{QSystemTrayIcon::Trigger} << 1;
        QTest::newRow("double") << QList<int>{QSystemTrayIcon::Trigger,
                                              QSystemTrayIcon::DoubleClick}
                                << 257;
        QTest::newRow("right") << QList<int>{QSystemTrayIcon::Context} << 2;
    }
    void clickReasonsBecomeEvents() {
        QFETCH(QList<int>, reasons);
        QFETCH(int, event);
        TrayIcon tray([] { return true; }); // only beeps: nothing opens
        QSignalSpy events(tray.decoder(), &TrayClickDecoder::NiKeyEvent);
        for (int reason : reasons)
            emit tray.systemTrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 1, 5000);
        QCOMPARE(events.first().first().toInt(), event);
    }

    void rightClickOpensTaskleiste() {
        TrayIcon tray([] { return false; });
        tray.NiKeyEvent(2);
        QMenu* menu = tray.menu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->title(), QStringLiteral("Taskleiste"));
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(captions,
                 (QStringList{"&Einblenden", "&Info", "-", "&Beenden", "-", "&Abbrechen"}));
        QCOMPARE(menu->defaultAction()->text(), QStringLiteral("&Abbrechen"));
        QSignalSpy quit(&tray, &TrayIcon::quitRequested);
        menu->actions().at(3)->trigger();
        QCOMPARE(quit.count(), 1);
    }

    // "&Ende" with the info dialog open: the window and its icon go, the program ends when the
    // dialog is closed.
    void endWaitsForTheInfoDialog() {
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), RegisterTestData::FirstStart);
        QVERIFY(f.start());
        QVERIFY(f.window->trayIcon()->systemTrayIcon()->isVisible() ||
                !QSystemTrayIcon::isSystemTrayAvailable());
        f.window->findChild<QPushButton*>(QStringLiteral("Btn20"))->click();
        InfoDialog* info = f.window->infoDialog();
        QVERIFY(info && info->isVisible());
        QVERIFY(!info->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(info->findChild<QLabel*>(QStringLiteral("InfoVersion"))
                    ->text()
                    .contains(QCoreApplication::applicationVersion()));
        QCOMPARE(info->findChild<QLabel*>(QStringLiteral("InfoDataFolder"))->text(),
                 QStringLiteral("Daten: ") + f.folder());

        // One banner picture in one place.
        QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Image1"))->isVisible() !=
                f.window->findChild<QWidget*>(QStringLiteral("Image2"))->isVisible());

        QSignalSpy unloaded(f.window.get(), &MainWindow::unloaded);
        f.window->findChild<QPushButton*>(QStringLiteral("Btn22"))->click();
        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.window->trayIcon()->systemTrayIcon()->isVisible());
        QCOMPARE(unloaded.count(), 0);
        info->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
        QCOMPARE(unloaded.count(), 1);
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
