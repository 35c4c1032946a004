#include "support/Cp1252.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT
private slots:
    void everyByteSurvivesTheRoundTrip();
    void encode_data();
    void encode();
    void aFailedCheckDoesNotSpoilTheNext();
};

void TestCp1252::everyByteSurvivesTheRoundTrip() {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = Cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0xFC), QChar(u'ü'));
    QCOMPARE(text.at(0x80), QChar(u'€'));
    QCOMPARE(Cp1252::encode(text), std::optional<QByteArray>(all));
}

void TestCp1252::encode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("representable");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("umlaut") << QStringLiteral("Büro 1") << true << QByteArray("B\xFCro 1");
    QTest::newRow("euro and quotes") << QStringLiteral("€„“") << true << QByteArray("\x80\x84\x93");
    QTest::newRow("padding character") << QStringLiteral("a\u0001") << true << QByteArray("a\x01");
    QTest::newRow("empty") << QString() << true << QByteArray();
    QTest::newRow("polish l") << QStringLiteral("Łódź") << false << QByteArray();
    QTest::newRow("one bad among good") << QStringLiteral("Müller ☎") << false << QByteArray();
    QTest::newRow("substitute character itself")
        << QStringLiteral("a\u001A") << true << QByteArray("a\x1A");
}

void TestCp1252::encode() {
    QFETCH(QString, text);
    QFETCH(bool, representable);
    QFETCH(QByteArray, bytes);

    const std::optional<QByteArray> encoded = Cp1252::encode(text);
    QCOMPARE(encoded.has_value(), representable);
    QCOMPARE(Cp1252::canEncode(text), representable);
    if (representable) {
        QCOMPARE(*encoded, bytes);
        QCOMPARE(Cp1252::decode(*encoded), text);
    }
}

void TestCp1252::aFailedCheckDoesNotSpoilTheNext() {
    QVERIFY(!Cp1252::canEncode(QStringLiteral("Ł")));
    QVERIFY(Cp1252::canEncode(QStringLiteral("Ä")));
    QCOMPARE(Cp1252::encode(QStringLiteral("Ä")), std::optional<QByteArray>("\xC4"));
}

QTEST_GUILESS_MAIN(TestCp1252)
#include "test_cp1252.moc"
