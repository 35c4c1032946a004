#include "register/EntryLine.h"

#include <QTest>

class TestEntryLine : public QObject {
    Q_OBJECT
private slots:
    void lineLayout();
    void roundTrip_data();
    void roundTrip();
    void decodeOddLines_data();
    void decodeOddLines();
};

void TestEntryLine::lineLayout() {
    QCOMPARE(EntryPadding().size(), 151);
    QCOMPARE(EntryPadding(), QString(150, u' ') + QChar(1));
    QCOMPARE(MakeEntryLine(QStringLiteral("Muster, Anna"), QStringLiteral("49 89 123"), 1),
             QStringLiteral("Muster, Anna") + EntryPadding() + QStringLiteral("49 89 123~1"));
}

void TestEntryLine::roundTrip_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedNumber");

    QTest::newRow("blanks around are dropped") << " Meier, Hans "
                                               << " 49 30 123 " << 1 << "Meier, Hans"
                                               << "49 30 123";
    QTest::newRow("tilde in the number") << "Huber"
                                         << "49~89" << 0 << "Huber"
                                         << "49~89";
    QTest::newRow("tilde in the name") << "A~B"
                                       << "1~0" << 1 << "A~B"
                                       << "1~0";
    QTest::newRow("double quote kept in memory") << "Bäckerei \"Zur Post\""
                                                 << "49 8 1" << 0 << "Bäckerei \"Zur Post\""
                                                 << "49 8 1";
    QTest::newRow("empty name and number") << ""
                                           << "" << 1 << ""
                                           << "";
    QTest::newRow("blanks only") << "   "
                                 << "  " << 0 << ""
                                 << "";
}

void TestEntryLine::roundTrip() {
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(int, flag);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedNumber);

    const QString line = MakeEntryLine(name, number, flag);
    QCOMPARE(GetEntryName(line), expectedName);
    QCOMPARE(GetEntryNumber(line), expectedNumber);
    QCOMPARE(GetEntryZeroFlag(line), flag);
    QCOMPARE(GetEntryTail(line), expectedNumber + u'~' + QString::number(flag));
}

void TestEntryLine::decodeOddLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("flag");

    QTest::newRow("no padding") << "Meier"
                                << "Meier"
                                << ""
                                << "" << 0;
    QTest::newRow("empty line") << ""
                                << ""
                                << ""
                                << "" << 0;
    QTest::newRow("only padding") << EntryPadding() << ""
                                  << ""
                                  << "" << 0;
    QTest::newRow("one character tail") << "A" + EntryPadding() + "1"
                                        << "A"
                                        << "1"
                                        << "" << 1;
    // The end decides, never the "~".
    QTest::newRow("no tilde") << "A" + EntryPadding() + "4989x1"
                              << "A"
                              << "4989x1"
                              << "4989" << 1;
    QTest::newRow("letter as flag") << "A" + EntryPadding() + "12~x"
                                    << "A"
                                    << "12~x"
                                    << "12" << 0;
    QTest::newRow("padding twice, the first counts")
        << "A" + EntryPadding() + "B" + EntryPadding() + "1~0"
        << "A"
        << "B" + EntryPadding() + "1~0"
        << "B" + EntryPadding() + "1" << 0;
    QTest::newRow("blanks alone are no padding") << "A" + QString(151, u' ') + "1~1"
                                                 << "A" + QString(151, u' ') + "1~1"
                                                 << ""
                                                 << "" << 0;
}

void TestEntryLine::decodeOddLines() {
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, tail);
    QFETCH(QString, number);
    QFETCH(int, flag);

    QCOMPARE(GetEntryName(line), name);
    QCOMPARE(GetEntryTail(line), tail);
    QCOMPARE(GetEntryNumber(line), number);
    QCOMPARE(GetEntryZeroFlag(line), flag);
}

QTEST_GUILESS_MAIN(TestEntryLine)
#include "test_entryline.moc"
