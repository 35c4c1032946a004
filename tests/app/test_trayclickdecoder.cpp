#include "app/TrayClickDecoder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int Tick = 0; // the timer's second is over
} // namespace

class TestTrayClickDecoder : public QObject {
    Q_OBJECT
private slots:
    void decodes_data() {
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<QList<int>>("events");
        QTest::addColumn<bool>("waiting"); // the timer still runs at the end
        QTest::newRow("left click") << QList<int>{513, 514, Tick} << QList<int>{1} << false;
        QTest::newRow("left double click")
            << QList<int>{513, 514, 515, 514, Tick} << QList<int>{257} << false;
        QTest::newRow("right click") << QList<int>{516, 517, Tick} << QList<int>{2} << false;
        QTest::newRow("right double click")
            << QList<int>{516, 517, 518, 517, Tick} << QList<int>{258} << false;
        QTest::newRow("second press carries its button")
            << QList<int>{513, 514, 516, 517, Tick} << QList<int>{2} << false;
        QTest::newRow("press after a double click starts anew")
            << QList<int>{513, 515, 513, Tick} << QList<int>{1} << false;
        QTest::newRow("button-ups and moves do nothing")
            << QList<int>{514, 517, 512, 519} << QList<int>{} << false;
        QTest::newRow("double click alone starts no wait")
            << QList<int>{515} << QList<int>{} << false;
        QTest::newRow("press waits") << QList<int>{513} << QList<int>{} << true;
    }
    void decodes() {
        QFETCH(QList<int>, messages);
        QFETCH(QList<int>, events);
        QFETCH(bool, waiting);
        TrayClickDecoder decoder;
        QSignalSpy spy(&decoder, &TrayClickDecoder::NiKeyEvent);
        for (int message : messages) {
            if (message == Tick) {
                QVERIFY(decoder.DblClkDelay().isActive());
                decoder.DblClkDelay_Timer();
            } else {
                decoder.MouseMessage(message);
            }
        }
        QList<int> seen;
        for (const QList<QVariant>& args : spy)
            seen << args.at(0).toInt();
        QCOMPARE(seen, events);
        QCOMPARE(decoder.DblClkDelay().isActive(), waiting);
    }

    // The real timer: the event comes one second after the last press, not before, and once.
    void actsOneSecondAfterTheLastPress() {
        TrayClickDecoder decoder;
        QCOMPARE(decoder.DblClkDelay().interval(), 1000);
        QSignalSpy spy(&decoder, &TrayClickDecoder::NiKeyEvent);
        decoder.MouseMessage(513);
        QTest::qWait(500);
        QElapsedTimer sinceLastPress;
        sinceLastPress.start();
        decoder.MouseMessage(513);
        QVERIFY(spy.wait(10000));
        QVERIFY2(sinceLastPress.elapsed() >= 999,
                 qPrintable(QString::number(sinceLastPress.elapsed())));
        QCOMPARE(spy.takeFirst().at(0).toInt(), 1);
        QVERIFY(!decoder.DblClkDelay().isActive());
        QVERIFY(!spy.wait(1500));
    }
};

QTEST_GUILESS_MAIN(TestTrayClickDecoder)
#include "test_trayclickdecoder.moc"
