#include "contacts/PhoneNumbers.h"

#include <QTest>

// Links and address book numbers into the stored format, against the own country code "49".
class TestPhoneNumbers : public QObject {
    Q_OBJECT
private slots:
    void links_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("stored"); // empty: no dialable number
        QTest::newRow("international") << "tel:+49-89-1234567"
                                       << "49 89 1234567";
        QTest::newRow("national, encoded blank") << "tel:089%201234567"
                                                 << "49 89 1234567";
        QTest::newRow("abroad") << "tel:+43-1-5551234"
                                << "43 1 5551234";
        QTest::newRow("callto") << "callto:+49 30 1234567"
                                << "49 30 1234567";
        QTest::newRow("callto slashes") << "callto://+4930123456"
                                        << "49 30 123456";
        QTest::newRow("scheme in capitals") << "TEL:+49.89.1234567"
                                            << "49 89 1234567";
        QTest::newRow("mobile") << "tel:0151 12345678"
                                << "49 1511 2345678";
        QTest::newRow("parameters dropped") << "tel:+49-89-1234567;ext=12"
                                            << "49 89 1234567";
        QTest::newRow("letters only") << "tel:kurbelfon"
                                      << "";
        QTest::newRow("empty") << "tel:"
                               << "";
        QTest::newRow("over 40 digits") << "tel:+" + QString(41, QLatin1Char('1')) << "";
        QTest::newRow("encoded carriage return") << "tel:089%0D1234567"
                                                 << "";
        QTest::newRow("raw line feed") << "tel:089\n1234567"
                                       << "";
        QTest::newRow("other scheme") << "mailto:089 1234567"
                                      << "";
    }
    void links() {
        QFETCH(QString, link);
        QFETCH(QString, stored);
        QCOMPARE(PhoneNumbers::NumberFromLink(link, QStringLiteral("49")).value_or(QString()),
                 stored);
    }

    // As address books write them.
    void addressBookNumbers_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("ownCountry");
        QTest::addColumn<QString>("stored");
        QTest::newRow("brackets") << "+49 (89) 123-4567"
                                  << "49"
                                  << "49 89 1234567";
        QTest::newRow("national") << "0711 / 22 33 44"
                                  << "49"
                                  << "49 711 223344";
        QTest::newRow("double zero") << "0043 1 5551234"
                                     << "49"
                                     << "43 1 5551234";
        QTest::newRow("own country Austria") << "01 5551234"
                                             << "43"
                                             << "43 1 5551234";
        QTest::newRow("tel uri value") << "tel:+49-89-1234567"
                                       << "49"
                                       << "49 89 1234567";
        QTest::newRow("no digits") << "unbekannt"
                                   << "49"
                                   << "";
        QTest::newRow("no own country") << "089 1234567"
                                        << ""
                                        << "";
    }
    void addressBookNumbers() {
        QFETCH(QString, raw);
        QFETCH(QString, ownCountry);
        QFETCH(QString, stored);
        QCOMPARE(PhoneNumbers::StoredNumber(raw, ownCountry).value_or(QString()), stored);
    }
};

QTEST_GUILESS_MAIN(TestPhoneNumbers)
#include "test_phonenumbers.moc"
