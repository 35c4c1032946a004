// The router's settings dialog against a scripted router: the connection test confirms the
// certificate on first use, lists the telephones with the router's choice preselected, and the
// own codes come over from the router.
#include "ModalWatcher.h"
#include "ScriptedRouter.h"
#include "app/RouterSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestRouterSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void connectionTestAndCodes() {
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        RouterSettings stored;
        stored.address = router.address();
        stored.user = router.user;
        stored.phone = QStringLiteral("FON1: Telefon");
        int passwordAsked = 0;
        RouterSettingsDialog dialog(stored, [&](std::function<void(const QString&)> use) {
            ++passwordAsked;
            use(router.password);
        });
        dialog.show();
        const int width = dialog.width();
        ModalWatcher watcher;
        watcher.queueButton(QMessageBox::Yes);
        QTest::mouseClick(dialog.findChild<QPushButton*>("RouterTestButton"), Qt::LeftButton);
        QTRY_COMPARE(watcher.titles.size(), 2);
        QCOMPARE(watcher.titles.first(), QStringLiteral("Zertifikat des Routers"));
        QVERIFY(watcher.texts.first().contains(
            Tr64Client::readableFingerprint(router.certificateSha256())));
        QVERIFY2(watcher.texts.last().contains(QStringLiteral("„DECT: Mobilteil 1“")),
                 qPrintable(watcher.texts.last()));
        auto* phones = dialog.findChild<QComboBox*>("RouterPhone");
        QCOMPARE(phones->count(), router.phones.size());
        QCOMPARE(phones->currentText(), QStringLiteral("DECT: Mobilteil 1"));
        QCOMPARE(dialog.settings().certificateSha256, router.certificateSha256());
        QCOMPARE(dialog.width(), width); // the fingerprint in lines, not one long one

        QSignalSpy codes(&dialog, &RouterSettingsDialog::codesRead);
        QTest::mouseClick(dialog.findChild<QPushButton*>("RouterCodesButton"), Qt::LeftButton);
        QTRY_COMPARE(codes.size(), 1);
        QCOMPARE(codes.first(), (QVariantList{QStringLiteral("49"), QStringLiteral("30")}));
        QCOMPARE(passwordAsked, 3); // the retry after the certificate asks again
        QVERIFY(router.protocolErrors.isEmpty());
    }

    void callMonitorSwitchIsPartOfTheSettings() {
        RouterSettings stored;
        RouterSettingsDialog dialog(stored, [](std::function<void(const QString&)>) {});
        auto* monitor = dialog.findChild<QCheckBox*>("CallMonitorChk");
        QVERIFY(monitor && !monitor->isChecked());
        monitor->setChecked(true);
        QVERIFY(dialog.settings().callMonitor);
        // Nothing stored yet: nothing to keep unchanged.
        QCOMPARE(dialog.findChild<QLineEdit*>("RouterPassword")->placeholderText(), QString());
        stored.passwordStored = true;
        RouterSettingsDialog again(stored, [](std::function<void(const QString&)>) {});
        QCOMPARE(again.findChild<QLineEdit*>("RouterPassword")->placeholderText(),
                 QStringLiteral("(unverändert)"));
    }
};

QTEST_MAIN(TestRouterSettingsDialog)
#include "test_routersettingsdialog.moc"
