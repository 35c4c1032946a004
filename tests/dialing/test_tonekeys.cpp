// The keys the loudspeaker plays for a modem command.
#include "dialing/ToneKeys.h"

#include <QTest>

class TestToneKeys : public QObject {
    Q_OBJECT

private slots:
    void keys_data() {
        QTest::addColumn<QString>("dialString");
        QTest::addColumn<QString>("keys");
        QTest::newRow("tone") << "ATDT0891234;H\r"
                              << "0891234";
        QTest::newRow("pulse letter skipped") << "ATDP0891234;H\r"
                                              << "0891234";
        QTest::newRow("blanks skipped, no pause for them") << "ATDT030 1234567;H\r"
                                                           << "0301234567";
        QTest::newRow("star plays x, hash itself") << "ATDT*31#0;H\r"
                                                   << "x31#0";
        QTest::newRow("handover follows the number") << "ATDT0891234,!,22;H\r"
                                                     << "089123422";
        QTest::newRow("plus skipped") << "ATDT+44 20;H\r"
                                      << "4420";
        QTest::newRow("lower d in extra commands moves the start") << "AT&d2X3DT55;H\r"
                                                                   << "2355";
        QTest::newRow("upper D in extra commands moves the start") << "ATL1&D2DT55;H\r"
                                                                   << "255";
        QTest::newRow("digits before the first D are silent") << "ATS7=60DT55;H\r"
                                                              << "55";
        QTest::newRow("nothing playable") << "ATDT;H\r"
                                          << "";
        QTest::newRow("no D at all") << "ATH0\r"
                                     << "";
    }
    void keys() {
        QFETCH(QString, dialString);
        QFETCH(QString, keys);
        QCOMPARE(ToneKeys(dialString), keys);
    }
};

QTEST_GUILESS_MAIN(TestToneKeys)
#include "test_tonekeys.moc"
