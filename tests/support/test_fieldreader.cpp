#include "support/FieldReader.h"

#include <QTest>

#include <limits>

class TestFieldReader : public QObject {
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void lineNumbersStartWhereTheTextDoes();
    void toNumber_data();
    void toNumber();
    void toWholeNumber_data();
    void toWholeNumber();
};

namespace {
FieldReader::Field field(const QString& text) {
    return FieldReader::Field{text, false, 1};
}
} // namespace

void TestFieldReader::fields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("texts");
    // One letter per field: q quoted, - bare.
    QTest::addColumn<QString>("quoting");
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("bare fields") << "0,1,-1" << QStringList{"0", "1", "-1"} << "---"
                                 << QList<int>{1, 1, 1};
    QTest::newRow("comma inside quotes")
        << R"("Muster, Anna","49 89 1",1)" << QStringList{"Muster, Anna", "49 89 1", "1"} << "qq-"
        << QList<int>{1, 1, 1};
    QTest::newRow("rest after the closing quote skipped")
        << R"("Meier"xyz,"49"  9,1)" << QStringList{"Meier", "49", "1"} << "qq-"
        << QList<int>{1, 1, 1};
    QTest::newRow("rest after the closing quote up to the line end")
        << "\"Meier\" x\r\n2" << QStringList{"Meier", "2"} << "q-" << QList<int>{1, 2};
    QTest::newRow("fields across CR LF")
        << "1,2\r\n3\r\n\"a\"\r\n"
        << QStringList{"1", "2", "3", "a"} << "---q" << QList<int>{1, 1, 2, 3};
    QTest::newRow("LF alone ends a line")
        << "1\n2\n3" << QStringList{"1", "2", "3"} << "---" << QList<int>{1, 2, 3};
    QTest::newRow("CR alone ends a line")
        << "1\r2\r3" << QStringList{"1", "2", "3"} << "---" << QList<int>{1, 2, 3};
    QTest::newRow("blanks after a comma skipped")
        << "1,   \"x\",\t y" << QStringList{"1", "x", "y"} << "-q-" << QList<int>{1, 1, 1};
    QTest::newRow("bare fields trimmed, quoted kept")
        << R"(  a b  ," c ")" << QStringList{"a b", " c "} << "-q" << QList<int>{1, 1};
    QTest::newRow("empty fields") << R"(1,,"",3)" << QStringList{"1", "", "", "3"} << "--q-"
                                  << QList<int>{1, 1, 1, 1};
    QTest::newRow("blank line is one empty field")
        << "1\r\n\r\n2" << QStringList{"1", "", "2"} << "---" << QList<int>{1, 2, 3};
    QTest::newRow("comma at the line end leaves an empty field")
        << "1,\r\n2" << QStringList{"1", "", "2"} << "---" << QList<int>{1, 1, 2};
    QTest::newRow("quoted text across a line end")
        << "\"a\r\nb\",c\nd" << QStringList{"a\r\nb", "c", "d"} << "q--" << QList<int>{1, 2, 3};
    QTest::newRow("unclosed quote runs to the end")
        << "1,\"abc,d\r\ne" << QStringList{"1", "abc,d\r\ne"} << "-q" << QList<int>{1, 1};
    QTest::newRow("trailing blanks are no field")
        << "1,  " << QStringList{"1"} << "-" << QList<int>{1};
    QTest::newRow("empty text") << "" << QStringList{} << "" << QList<int>{};
}

void TestFieldReader::fields() {
    QFETCH(QString, text);
    QFETCH(QStringList, texts);
    QFETCH(QString, quoting);
    QFETCH(QList<int>, lines);

    FieldReader reader(text);
    QStringList gotTexts;
    QString gotQuoting;
    QList<int> gotLines;
    while (!reader.atEnd()) {
        const std::optional<FieldReader::Field> field = reader.next();
        QVERIFY(field);
        gotTexts << field->text;
        gotQuoting += field->quoted ? u'q' : u'-';
        gotLines << field->line;
    }
    QVERIFY(!reader.next());
    QCOMPARE(gotTexts, texts);
    QCOMPARE(gotQuoting, quoting);
    QCOMPARE(gotLines, lines);
}

void TestFieldReader::lineNumbersStartWhereTheTextDoes() {
    FieldReader reader(QStringLiteral("a\r\n\r\nb"), 2);
    QCOMPARE(reader.next()->line, 2);
    QCOMPARE(reader.next()->line, 3);
    QCOMPARE(reader.next()->line, 4);
}

void TestFieldReader::toNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("empty is 0") << "" << true << 0.0;
    QTest::newRow("whole") << "12" << true << 12.0;
    QTest::newRow("negative") << "-1" << true << -1.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("decimal") << "9.75" << true << 9.75;
    QTest::newRow("no digits before the point") << ".5" << true << 0.5;
    QTest::newRow("no digits after the point") << "5." << true << 5.0;
    QTest::newRow("blanks around") << " 7 " << true << 7.0;
    QTest::newRow("word") << "abc" << false << 0.0;
    QTest::newRow("digits then text") << "12abc" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("decimal comma") << "9,75" << false << 0.0;
}

void TestFieldReader::toNumber() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);

    const std::optional<double> number = FieldReader::toNumber(field(text));
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void TestFieldReader::toWholeNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<qint64>("value");

    QTest::newRow("9.75 up") << "9.75" << true << qint64(10);
    QTest::newRow("8.25 down") << "8.25" << true << qint64(8);
    QTest::newRow("half to even, down") << "2.5" << true << qint64(2);
    QTest::newRow("half to even, up") << "3.5" << true << qint64(4);
    QTest::newRow("a half to zero") << "0.5" << true << qint64(0);
    QTest::newRow("negative stays") << "-1" << true << qint64(-1);
    QTest::newRow("negative half to even") << "-2.5" << true << qint64(-2);
    QTest::newRow("negative half to even, away") << "-1.5" << true << qint64(-2);
    QTest::newRow("negative just past half") << "-2.51" << true << qint64(-3);
    QTest::newRow("empty") << "" << true << qint64(0);
    QTest::newRow("text") << "ja" << false << qint64(0);
    QTest::newRow("huge saturates")
        << "99999999999999999999999" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("huge negative saturates")
        << "-99999999999999999999999" << true << std::numeric_limits<qint64>::min();
}

void TestFieldReader::toWholeNumber() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(qint64, value);

    const std::optional<qint64> number = FieldReader::toWholeNumber(field(text));
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

QTEST_GUILESS_MAIN(TestFieldReader)
#include "test_fieldreader.moc"
