#include "ProviderTestData.h"
#include "providers/ProviderFile.h"
#include "support/Cp1252.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using ProviderTestData::row;

class TestProviderFile : public QObject {
    Q_OBJECT

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void put(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void writtenBytes_data() {
        QTest::addColumn<QList<ProviderEntry>>("rows");
        QTest::addColumn<bool>("listOn");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("the example row")
            << QList<ProviderEntry>{row("Beispiel", "01234", "Mo-Fr", 9, 18, "F")} << true
            << QByteArray("1\r\n\"Beispiel\",\"01234\",1,0,9,18,0,1,0\r\n");
        QTest::newRow("no rows, list off")
            << QList<ProviderEntry>{} << false << QByteArray("0\r\n");
        QTest::newRow("whole day, every type, umlaut")
            << QList<ProviderEntry>{row("Süd, Netz", "010", "Immer", 0, 24, "NFA"),
                                    row("Leer", "1", "", 22, 6, "")}
            << false
            << QByteArray("0\r\n\"S\xFC"
                          "d, Netz\",\"010\",1,1,0,24,1,1,1\r\n"
                          "\"Leer\",\"1\",0,0,22,6,0,0,0\r\n");
        // The format has no escape: a quote would end the text early and shift every value.
        QTest::newRow("double quote as apostrophe")
            << QList<ProviderEntry>{row("Der \"Billige\"", "01\"9", "Sa-So", 18, 24, "A")} << true
            << QByteArray("1\r\n\"Der 'Billige'\",\"01'9\",0,1,18,24,0,0,1\r\n");
    }
    void writtenBytes() {
        QFETCH(QList<ProviderEntry>, rows);
        QFETCH(bool, listOn);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ProviderFile::serialize(rows, listOn, nullptr), bytes);
        // What is written reads back as the same rows.
        ProviderFile::LoadResult read;
        ProviderFile::parse(Cp1252::decode(bytes), read);
        QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.join(u'\n')));
        QCOMPARE(read.listOn, listOn);
        QCOMPARE(read.rows, rows);
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("listOn");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("problem"); // a piece of the one problem, or empty
        const QString example = QStringLiteral("Beispiel|01234|Mo-Fr|09h|18h|F");
        const QByteArray exampleLine = "\"Beispiel\",\"01234\",1,0,9,18,0,1,0";

        QTest::newRow("example") << "1\r\n" + exampleLine + "\r\n"
                                 << true << QStringList{example} << QString();
        QTest::newRow("a row across line breaks")
            << QByteArray("0\r\n\"Beispiel\",\"01234\",1,0\r\n9,18\r\n0,1,0") << false
            << QStringList{example} << QString();
        QTest::newRow("any number but 0 turns the list on")
            << "7\r\n" + exampleLine + "\r\n\r\n\r\n"
            << true << QStringList{example} << QString();
        QTest::newRow("a name with a comma, unquoted number")
            << QByteArray("0\r\n\"M\xFCller, Tel\",01013,1,1,0,24,1,0,0\r\n") << false
            << QStringList{QStringLiteral("Müller, Tel|01013|Immer|00h|24h|N")} << QString();
        QTest::newRow("odd flags, hours as they are")
            << QByteArray("1\r\n\" Odd \",\" 9 \",3,0,-5,100,0,0,0\r\n") << true
            << QStringList{QStringLiteral("Odd|9|Immer|-5h|100h|")} << QString();
        QTest::newRow("empty file") << QByteArray() << false << QStringList{}
                                    << QStringLiteral("Zeile 1: Die Datei ist leer");
        QTest::newRow("only blank lines")
            << QByteArray("\r\n \r\n") << false << QStringList{} << QStringLiteral("leer");
        QTest::newRow("switch is text") << "an\r\n" + exampleLine << false << QStringList{example}
                                        << QStringLiteral("Zeile 1: „an“ ist kein gültiger Wert");
        QTest::newRow("last row cut short")
            << "1\r\n" + exampleLine + "\r\n\"Kurz\",\"0100\",1,0,9" << true << QStringList{example}
            << QStringLiteral("Zeile 3: Die Datei endet mitten im Anbieter „Kurz“");
        QTest::newRow("text where a number belongs stops the reading")
            << "1\r\n" + exampleLine + "\r\n\"Neu\",\"0100\",1,0,neun,18,0,1,0\r\n" + exampleLine
            << true << QStringList{example}
            << QStringLiteral("Zeile 3: Beim Anbieter „Neu“ steht für „ab“ der Text „neun“");
        QTest::newRow("blank line between rows")
            << "1\r\n" + exampleLine + "\r\n\r\n" + exampleLine << true
            << QStringList{example, example} << QString();
        QTest::newRow("a row not at a line start")
            << "1\r\n" + exampleLine + ",\"B\",\"0102\",1,1,0,24,1,1,1" << true
            << QStringList{example}
            << QStringLiteral("Zeile 2: Der Anbieter „B“ beginnt nicht am Anfang einer Zeile");
        QTest::newRow("a blank line inside a row")
            << QByteArray("0\r\n\"Beispiel\",\"01234\",1,0\r\n\r\n9,18,0,1,0") << false
            << QStringList{} << QStringLiteral("durch eine Leerzeile geteilt");
        QTest::newRow("a number beyond 16 bits")
            << QByteArray("1\r\n\"Gross\",\"0100\",1,0,9,18,0,99999,0\r\n") << true << QStringList{}
            << QStringLiteral("Wert 99999 für „Fern“ zu groß");
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, listOn);
        QFETCH(QStringList, rows);
        QFETCH(QString, problem);
        ProviderFile::LoadResult read;
        ProviderFile::parse(Cp1252::decode(bytes), read);
        QCOMPARE(read.listOn, listOn);
        QCOMPARE(ProviderTestData::texts(read.rows), rows);
        if (problem.isEmpty()) {
            QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.join(u'\n')));
        } else {
            QCOMPARE(read.problems.size(), 1);
            QVERIFY2(read.problems.first().contains(problem), qPrintable(read.problems.first()));
        }
    }

    void damagedFileIsKeptAsideUntouched() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Provider.ini"));
        const QString backup = dir.filePath(QStringLiteral("Provider.bak"));
        const ProviderFile file(path, backup);
        QCOMPARE(file.load().status, ProviderFile::LoadStatus::Missing);

        const QByteArray damaged = "1\r\n\"A\",\"010\",1,0,9,18,0,1,0\r\n\"B\",\"0";
        put(path, damaged);
        const ProviderFile::LoadResult result = file.load();
        QCOMPARE(result.status, ProviderFile::LoadStatus::LoadedWithProblems);
        QCOMPARE(result.rows.size(), 1);
        QVERIFY(QFileInfo(result.preservedCopyPath).fileName().startsWith("Provider-defekt-"));
        QCOMPARE(bytesOf(result.preservedCopyPath), damaged);

        // Saving twice: the backup is the first save, the copy stays as it was.
        QString error;
        QVERIFY(file.save(result.rows, true, &error));
        const QByteArray first = bytesOf(path);
        QVERIFY(file.save({}, false, &error));
        QCOMPARE(bytesOf(backup), first);
        QCOMPARE(bytesOf(path), QByteArray("0\r\n"));
        QCOMPARE(bytesOf(result.preservedCopyPath), damaged);
        QCOMPARE(file.load().status, ProviderFile::LoadStatus::Loaded);
    }

    void unstorableTextIsNotWritten() {
        QTemporaryDir dir;
        const ProviderFile file(dir.filePath(QStringLiteral("Provider.ini")),
                                dir.filePath(QStringLiteral("Provider.bak")));
        QString error;
        QVERIFY(!file.save({row("Łódź", "010", "Immer", 0, 24, "N")}, true, &error));
        QVERIFY2(error.contains(QStringLiteral("„Łódź“")), qPrintable(error));
        QVERIFY(!QFile::exists(file.ProviderFilePath()));
    }
};

QTEST_GUILESS_MAIN(TestProviderFile)
#include "test_providerfile.moc"
