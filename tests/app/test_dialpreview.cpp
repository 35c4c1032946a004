// The status bar's dial preview against what the scripted modem then receives.
#include "ScriptedModem.h"
#include "WindowFixture.h"
#include "app/CardListView.h"
#include "providers/ProviderList.h"
#include "providers/ProviderTableModel.h"
#include "providers/ProviderTestData.h"

#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>

namespace {

// Modem on COM3, own codes 49 / 89.
const QByteArray ModemRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "0,3,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"Berg, Otto\",\"49 30 1234567\",1\r\n"
                      "1,\"Huber, Eva\",\"49 89 7654321\",0\r\n"
                      "1,\"Zander, Ute\",\"43 1 5551234\",0\r\n");

// The digits of a modem command or of the preview, "+" standing for the international prefix.
QString digits(QString text) {
    text.replace(QStringLiteral("ATDT"), QString())
        .replace(QStringLiteral(";H\r"), QString())
        .replace(QStringLiteral("+"), QStringLiteral("00"))
        .remove(QLatin1Char(' '));
    return text;
}

} // namespace

class TestDialPreview : public QObject {
    Q_OBJECT
private slots:
    void previewIsWhatTheModemReceives_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("providerList");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("local, list off") << 1 << false << "7654321"
                                         << "Nah" << QByteArray("ATDT7654321;H\r");
        QTest::newRow("long distance, provider")
            << 0 << true << "01070 030 1234567"
            << "Fern, Anbieter: Sparfon" << QByteArray("ATDT01070030 1234567;H\r");
        QTest::newRow("abroad, no provider fits")
            << 2 << true << "+43 1 5551234"
            << "Ausland, kein passender Anbieter" << QByteArray("ATDT0043 1 5551234;H\r");
    }
    void previewIsWhatTheModemReceives() {
        QFETCH(int, row);
        QFETCH(bool, providerList);
        QFETCH(QString, shown);
        QFETCH(QString, tip);
        QFETCH(QByteArray, command);
        WindowFixture f;
        f.write(QStringLiteral("Telefonregister.ini"), ModemRegister);
        ScriptedModem modem;
        QVERIFY2(modem.isValid(), qPrintable(modem.errorString()));
        QVERIFY(modem.linkAt(f.path(QStringLiteral("dosdevices/com3"))));
        QVERIFY(f.start());
        auto* preview = f.window->statusBar()->findChild<QLabel*>(QStringLiteral("DialPreview"));
        QVERIFY(preview);

        f.window->providerList()->model()->setRows(
            {ProviderTestData::row(QStringLiteral("Sparfon"), QStringLiteral("01070"),
                                   QStringLiteral("Immer"), 0, 24, QStringLiteral("F"))});
        f.window->providerList()->TelcoListChk()->setChecked(providerList);
        CardListView* list = f.window->nameList(1);
        list->setCurrentIndex(f.window->phoneRegister()->card(1)->index(row));
        QCOMPARE(preview->text(), shown);
        QCOMPARE(preview->toolTip(), tip);

        QByteArray received;
        f.modals.queue([&](QWidget* dialog) {
            received = modem.waitForCommand(10000);
            modem.send(received + "\r\nOK\r\n");
            Q_UNUSED(dialog);
        });
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(received, command);
        QCOMPARE(digits(preview->text()), digits(QString::fromLatin1(received)));
    }
};

QTEST_MAIN(TestDialPreview)
#include "test_dialpreview.moc"
