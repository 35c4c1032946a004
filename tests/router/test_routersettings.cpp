#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRouterSettings : public QObject {
    Q_OBJECT
private slots:
    void defaultsThenRoundTrip() {
        QTemporaryDir home;
        RegistryStore store(home.path());
        const RouterSettings fresh = RouterSettings::load(store);
        QCOMPARE(fresh.address, QStringLiteral("fritz.box"));
        QVERIFY(!fresh.dialThroughRouter && !fresh.callMonitor && !fresh.plainHttp &&
                !fresh.passwordStored);

        RouterSettings s;
        s.dialThroughRouter = true;
        s.address = QStringLiteral("192.168.178.1");
        s.user = QStringLiteral("anna");
        s.phone = QStringLiteral("DECT: Mobilteil 1");
        s.certificateSha256 = QStringLiteral("ab12");
        s.callMonitor = true;
        s.passwordStored = true;
        QVERIFY(s.save(store));
        const RouterSettings back = RouterSettings::load(store);
        QCOMPARE(back.address, s.address);
        QCOMPARE(back.user, s.user);
        QCOMPARE(back.phone, s.phone);
        QCOMPARE(back.certificateSha256, s.certificateSha256);
        QVERIFY(back.dialThroughRouter && back.callMonitor && !back.plainHttp &&
                back.passwordStored);
    }
};

QTEST_GUILESS_MAIN(TestRouterSettings)
#include "test_routersettings.moc"
