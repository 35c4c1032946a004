#include "app/CallMonitorSettingsBox.h"
#include "router/RouterSettings.h"
#include "support/RegistryStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TestCallMonitorSettingsBox : public QObject {
    Q_OBJECT
private slots:
    void switchRoundTripsAndStateStaysText() {
        QTemporaryDir home;
        RegistryStore store(home.path());
        CallMonitorSettingsBox box;
        box.load(RouterSettings::load(store));
        QCOMPARE(box.monitorCheckBox()->text(), QStringLiteral("&Anrufmonitor"));
        QVERIFY(!box.monitorCheckBox()->isChecked());
        QCOMPARE(box.stateLabel()->text(), QStringLiteral("aus"));

        QTest::keyClick(box.monitorCheckBox(), Qt::Key_Space);
        QVERIFY(box.monitorCheckBox()->isChecked());
        RouterSettings settings = RouterSettings::load(store);
        box.store(settings);
        QVERIFY(settings.save(store));
        QVERIFY(RouterSettings::load(store).callMonitor);
        QCOMPARE(RouterSettings::load(store).callMonitorPort, quint16(1012));

        box.setStateText(QStringLiteral("<b>verbunden</b>"));
        QCOMPARE(box.stateLabel()->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestCallMonitorSettingsBox)
#include "test_callmonitorsettingsbox.moc"
