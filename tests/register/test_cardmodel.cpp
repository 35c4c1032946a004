#include "register/CardModel.h"
#include "register/EntryLine.h"
#include "support/Cp1252.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

class TestCardModel : public QObject {
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void addLineAndSetLinesAgree();
    void addLineReportsItsRow();
    void roles();
};

namespace {
QString entry(const QString& name, const QString& number = QStringLiteral("49 1")) {
    return MakeEntryLine(name, number, 0);
}
} // namespace

void TestCardModel::order_data() {
    QTest::addColumn<QStringList>("expected"); // in card order

    QTest::newRow("case does not count")
        << QStringList{entry("anna"), entry("Bernd"), entry("Zoe")};
    QTest::newRow("umlaut beside its letter")
        << QStringList{entry("Arger"), entry("Ärger"), entry("Bernd")};
    QTest::newRow("shorter name first") << QStringList{entry("Meier"), entry("Meierhof")};
    QTest::newRow("name with first name after the bare name")
        << QStringList{entry("Meier"), entry("Meier, Hans"), entry("Meierhof")};
    QTest::newRow("same name ordered by number")
        << QStringList{entry("Meier", "49 30 1"), entry("Meier", "49 89 1")};
    QTest::newRow("sharp s and accents")
        << QStringList{entry("Émile"), entry("Strasse"), entry("Straße"), entry("Stresemann")};
    // Equal to the collator: code-point order decides, so every order is total.
    QTest::newRow("lines differing only in case")
        << QStringList{entry("MEIER"), entry("Meier"), entry("meier")};
}

void TestCardModel::order() {
    QFETCH(QStringList, expected);

    QStringList reversed = expected;
    std::reverse(reversed.begin(), reversed.end());

    CardModel added;
    for (const QString& line : std::as_const(reversed))
        added.addLine(line);
    QCOMPARE(added.lines(), expected);

    CardModel set;
    set.setLines(reversed);
    QCOMPARE(set.lines(), expected);
    CardModel kept; // as a saved file brings them
    kept.setLines(expected);
    QCOMPARE(kept.lines(), expected);

    for (qsizetype i = 0; i + 1 < expected.size(); ++i) {
        QVERIFY(set.lessThan(expected.at(i), expected.at(i + 1)));
        QVERIFY(!set.lessThan(expected.at(i + 1), expected.at(i)));
    }
}

void TestCardModel::addLineAndSetLinesAgree() {
    // Runs of blanks, tabs and no-break spaces meet the padding when lines are compared.
    static const QStringList parts{"a",      "A",    "ä",      "Ä", "b", "o", "ö", "ss",   "ß",
                                   " ",      "-",    ",",      "e", "é", "1", "~", "    ", "\t",
                                   "\u00A0", "\x01", "\u00AD", "€", "Œ", "Ł"}; // Ł: no Windows-1252
                                                                               // byte
    QRandomGenerator random(4711);
    QStringList lines;
    for (int i = 0; i < 400; ++i) {
        QString name;
        const int length = 1 + int(random.bounded(5));
        for (int k = 0; k < length; ++k)
            name += parts.at(random.bounded(int(parts.size())));
        lines << MakeEntryLine(name + parts.at(random.bounded(5)),
                               QString::number(random.bounded(100)), i % 2);
    }

    CardModel added;
    for (const QString& line : std::as_const(lines))
        added.addLine(line);
    CardModel set;
    set.setLines(lines);
    QCOMPARE(set.lines(), added.lines());
    QList<PhoneEntry> entries;
    for (const QString& line : std::as_const(lines))
        entries.append({GetEntryName(line), GetEntryNumber(line), GetEntryZeroFlag(line)});
    CardModel fromFile;
    fromFile.setEntries(entries);
    QCOMPARE(fromFile.lines(), added.lines());
    for (int row = 0; row + 1 < set.count(); ++row)
        QVERIFY(!set.lessThan(set.line(row + 1), set.line(row)));

    // The card keeps the lines as given, in the order of whole lines, and reads them back apart.
    QStringList expected = lines;
    std::sort(expected.begin(), expected.end(),
              [&set](const QString& a, const QString& b) { return set.lessThan(a, b); });
    QCOMPARE(added.lines(), expected);
    for (int row = 0; row < set.count(); ++row) {
        const QString line = expected.at(row);
        QCOMPARE(set.name(row), GetEntryName(line));
        QCOMPARE(set.number(row), GetEntryNumber(line));
        QCOMPARE(set.zeroFlag(row), GetEntryZeroFlag(line));
        QCOMPARE(set.hasWindows1252Text(row), Cp1252::canEncode(line));
        if (set.hasWindows1252Text(row))
            QCOMPARE(set.numberBytes(row), *Cp1252::encode(GetEntryNumber(line)));
    }
    // Removed lines' space is taken back on the way.
    while (expected.size() > 20) {
        set.removeLineAt(1);
        expected.removeAt(1);
    }
    set.addLine(lines.first());
    expected.insert(int(std::upper_bound(expected.begin(), expected.end(), lines.first(),
                                         [&set](const QString& a, const QString& b) {
                                             return set.lessThan(a, b);
                                         }) -
                        expected.begin()),
                    lines.first());
    QCOMPARE(set.lines(), expected);
}

void TestCardModel::addLineReportsItsRow() {
    CardModel card;
    card.setLines({entry("Bernd"), entry("Zoe")});
    QSignalSpy inserted(&card, &QAbstractItemModel::rowsInserted);

    QCOMPARE(card.addLine(entry("anna")), 0);
    QCOMPARE(card.addLine(entry("Meier")), 2);
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(1).at(1).toInt(), 2);
    QCOMPARE(card.rowCount(), 4);
}

void TestCardModel::roles() {
    CardModel card;
    const QString line = MakeEntryLine("Muster, Anna", "49 89 123", 1);
    card.addLine(line);
    const QModelIndex index = card.index(0);
    QCOMPARE(card.data(index, Qt::DisplayRole).toString(), QStringLiteral("Muster, Anna"));
    QCOMPARE(card.data(index, CardModel::LineRole).toString(), line);
    QVERIFY(!card.data(card.index(1), Qt::DisplayRole).isValid());
}

QTEST_GUILESS_MAIN(TestCardModel)
#include "test_cardmodel.moc"
