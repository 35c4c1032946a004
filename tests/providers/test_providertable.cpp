#include "ProviderTestData.h"
#include "providers/BestProvider.h"

#include <QtTest>

using ProviderTestData::names;
using ProviderTestData::row;

namespace {

// Three rows whose columns order them differently: German names, numbers as text, hours.
void fillThree(ProviderTableModel& model) {
    model.AddProviderRow(row(QStringLiteral("anna"), QStringLiteral("0109"),
                             QStringLiteral("Mo-Fr"), 9, 18, QStringLiteral("F")));
    model.AddProviderRow(row(QStringLiteral("Bernd"), QStringLiteral("01011"),
                             QStringLiteral("Sa-So"), 18, 24, QStringLiteral("NFA")));
    model.AddProviderRow(row(QStringLiteral("Ärger"), QStringLiteral("010"),
                             QStringLiteral("Immer"), 0, 9, QStringLiteral("N")));
}

// The Part's example: the daytime long-distance offer above the all-day one.
QList<ProviderEntry> exampleRows() {
    return {row(QStringLiteral("Tag"), QStringLiteral("01111"), QStringLiteral("Mo-Fr"), 9, 18,
                QStringLiteral("F")),
            row(QStringLiteral("Immer"), QStringLiteral("02345"), QStringLiteral("Immer"), 0, 24,
                QStringLiteral("NFA"))};
}

} // namespace

class TestProviderTable : public QObject {
    Q_OBJECT

private slots:
    void columnsShowTheListTexts() {
        ProviderTableModel model;
        QStringList headers;
        for (int column = 0; column < model.columnCount(); ++column)
            headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Name", "Netz", "Tag", "ab", "bis", "Weite"}));

        model.AddProviderRow(ProviderEntry::fromFlags(
            QStringLiteral("  Spar \"Tel\" "), QStringLiteral(" 01013 "), 1, 1, 0, 24, 1, 0, 7));
        model.AddProviderRow(ProviderEntry::fromFlags(QStringLiteral("Leer"), QStringLiteral("1"),
                                                      5, 0, 9, 100, 0, 0, 0));
        QCOMPARE(ProviderTestData::texts(model.rows()),
                 QStringList({"Leer|1||09h|100h|", "Spar 'Tel'|01013|Immer|00h|24h|NA"}));
        QCOMPARE(model.data(model.index(1, 3)).toString(), QStringLiteral("00h"));
    }

    void headerClicks_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<int>("lastSortColumn");
        const QString a = QStringLiteral("anna"), b = QStringLiteral("Bernd"),
                      c = QStringLiteral("Ärger");
        QTest::newRow("before any click: Name ascending")
            << QList<int>{} << QStringList{a, c, b} << 0;
        QTest::newRow("Name first: no change") << QList<int>{1} << QStringList{a, c, b} << 1;
        QTest::newRow("Name twice flips") << QList<int>{1, 1} << QStringList{b, c, a} << 1;
        QTest::newRow("Name thrice flips back") << QList<int>{1, 1, 1} << QStringList{a, c, b} << 1;
        QTest::newRow("Netz compares text") << QList<int>{2} << QStringList{c, b, a} << 2;
        QTest::newRow("ab: 00h 09h 18h") << QList<int>{4} << QStringList{c, a, b} << 4;
        QTest::newRow("bis") << QList<int>{5} << QStringList{c, a, b} << 5;
        QTest::newRow("another header keeps descending")
            << QList<int>{1, 1, 2} << QStringList{a, b, c} << 2;
        QTest::newRow("flip, then another, then flip")
            << QList<int>{4, 4, 2, 2} << QStringList{c, b, a} << 2;
        QTest::newRow("Tag") << QList<int>{3} << QStringList{c, a, b} << 3;
        QTest::newRow("Weite") << QList<int>{6} << QStringList{a, c, b} << 6;
        QTest::newRow("out of range is ignored") << QList<int>{0, 7} << QStringList{a, c, b} << 0;
    }
    void headerClicks() {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, order);
        QFETCH(int, lastSortColumn);
        ProviderTableModel model;
        fillThree(model);
        for (int header : clicks)
            model.ColumnClick(header);
        QCOMPARE(names(model), order);
        QCOMPARE(model.LastSortColumn(), lastSortColumn);
        // A row added later takes its place in the order in force, like one sorted with it.
        ProviderTableModel fresh;
        fresh.setRows(model.rows());
        for (int header : clicks)
            fresh.ColumnClick(header);
        QCOMPARE(names(fresh), order);
    }

    void equalTextsGiveOneOrderWhateverTheInsertion() {
        const ProviderEntry first = row(QStringLiteral("Gleich"), QStringLiteral("0100"),
                                        QStringLiteral("Immer"), 0, 24, QStringLiteral("F"));
        const ProviderEntry second = row(QStringLiteral("gleich"), QStringLiteral("0100"),
                                         QStringLiteral("Immer"), 0, 24, QStringLiteral("F"));
        ProviderTableModel one, other;
        one.AddProviderRow(first);
        one.AddProviderRow(second);
        other.AddProviderRow(second);
        other.AddProviderRow(first);
        QCOMPARE(one.rows(), other.rows());
        one.ColumnClick(1);
        one.ColumnClick(1);
        other.setRows(other.rows());
        QCOMPARE(one.rows().first(), other.rows().last()); // flipping reverses even ties
    }

    void selectionFollowsItsRowWhenSorted() {
        ProviderTableModel model;
        fillThree(model);
        const QPersistentModelIndex bernd = model.index(2, 1);
        model.ColumnClick(2); // Netz: Ärger, Bernd, anna
        QCOMPARE(bernd.row(), 1);
        QCOMPARE(bernd.data().toString(), QStringLiteral("01011"));
    }

    void bestProvider_data() {
        QTest::addColumn<QList<ProviderEntry>>("rows");
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("distance");
        QTest::addColumn<QString>("expected");
        const QList<ProviderEntry> example = exampleRows();
        const QList<ProviderEntry> swapped{example.at(1), example.at(0)};
        auto one = [](const QString& days, int start, int end, const QString& types) {
            return QList<ProviderEntry>{
                row(QStringLiteral("P"), QStringLiteral("0190"), days, start, end, types)};
        };
        const QString hit = QStringLiteral("0190");

        QTest::newRow("example: Tuesday 10:30 far") << example << 2 << 10 << 2 << "01111";
        QTest::newRow("example: Tuesday 18:05 far") << example << 2 << 18 << 2 << "02345";
        QTest::newRow("example: Saturday far") << example << 6 << 10 << 2 << "02345";
        QTest::newRow("example: local") << example << 2 << 10 << 1 << "02345";
        QTest::newRow("example: abroad at night") << example << 7 << 3 << 3 << "02345";
        QTest::newRow("example swapped: Tuesday far") << swapped << 2 << 10 << 2 << "02345";
        QTest::newRow("empty table") << QList<ProviderEntry>{} << 2 << 10 << 2 << "";

        QTest::newRow("Mo-Fr on Monday") << one("Mo-Fr", 0, 24, "NFA") << 1 << 5 << 1 << hit;
        QTest::newRow("Mo-Fr on Friday") << one("Mo-Fr", 0, 24, "NFA") << 5 << 5 << 1 << hit;
        QTest::newRow("Mo-Fr on Saturday") << one("Mo-Fr", 0, 24, "NFA") << 6 << 5 << 1 << "";
        QTest::newRow("Sa-So on Friday") << one("Sa-So", 0, 24, "NFA") << 5 << 5 << 1 << "";
        QTest::newRow("Sa-So on Saturday") << one("Sa-So", 0, 24, "NFA") << 6 << 5 << 1 << hit;
        QTest::newRow("Sa-So on Sunday") << one("Sa-So", 0, 24, "NFA") << 7 << 5 << 1 << hit;
        QTest::newRow("Immer on Monday") << one("Immer", 0, 24, "NFA") << 1 << 5 << 1 << hit;
        QTest::newRow("Immer on Sunday") << one("Immer", 0, 24, "NFA") << 7 << 5 << 1 << hit;
        QTest::newRow("no day range") << one("", 0, 24, "NFA") << 3 << 5 << 1 << "";

        QTest::newRow("at the start hour") << one("Immer", 9, 18, "F") << 3 << 9 << 2 << hit;
        QTest::newRow("before the start") << one("Immer", 9, 18, "F") << 3 << 8 << 2 << "";
        QTest::newRow("last hour") << one("Immer", 9, 18, "F") << 3 << 17 << 2 << hit;
        QTest::newRow("at the end hour") << one("Immer", 9, 18, "F") << 3 << 18 << 2 << "";
        QTest::newRow("end 24 at 23") << one("Immer", 0, 24, "F") << 3 << 23 << 2 << hit;
        QTest::newRow("start after end at 23") << one("Immer", 22, 6, "F") << 3 << 23 << 2 << "";
        QTest::newRow("start after end at 3") << one("Immer", 22, 6, "F") << 3 << 3 << 2 << "";
        QTest::newRow("point range") << one("Immer", 9, 9, "F") << 3 << 9 << 2 << "";

        QTest::newRow("no call types") << one("Immer", 0, 24, "") << 3 << 5 << 2 << "";
        QTest::newRow("N only, far call") << one("Immer", 0, 24, "N") << 3 << 5 << 2 << "";
        QTest::newRow("A only, abroad") << one("Immer", 0, 24, "A") << 3 << 5 << 3 << hit;
        QTest::newRow("unknown distance") << one("Immer", 0, 24, "NFA") << 3 << 5 << 0 << "";
    }
    void bestProvider() {
        QFETCH(QList<ProviderEntry>, rows);
        QFETCH(int, weekday);
        QFETCH(int, hour);
        QFETCH(int, distance);
        QFETCH(QString, expected);
        QCOMPARE(BestProvider(rows, weekday, hour, distance), expected);
    }

    void reSortingChangesTheChoice() {
        ProviderTableModel model;
        model.setRows(exampleRows());
        // Name ascending puts "Immer" above "Tag": every call gets 02345.
        QCOMPARE(BestProvider(model.rows(), 2, 10, 2), QStringLiteral("02345"));
        model.ColumnClick(1);
        model.ColumnClick(1);
        QCOMPARE(BestProvider(model.rows(), 2, 10, 2), QStringLiteral("01111"));
    }
};

QTEST_GUILESS_MAIN(TestProviderTable)
#include "test_providertable.moc"
