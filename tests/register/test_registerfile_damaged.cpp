#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"
#include "register/RegisterTestData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Content after a valid header that does not fit: what is sound is loaded, every problem is
// named with its line, and the original is set aside untouched before anything is saved.
class TestRegisterFileDamaged : public QObject {
    Q_OBJECT
private slots:
    void init();
    void damaged_data();
    void damaged();
    void preservedCopyNeverReplacesAFile();
    void savingAfterwardsKeepsTheCopy();

private:
    QStringList folderEntries() const {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RegisterFile> m_file;
};

namespace {

using namespace RegisterTestData;
const QStringList DefaultNames{"Büro 1", "Büro 2", "Privat 1", "Privat 2"};

QString check(int line, const QString& name, const QString& value) {
    return QStringLiteral("Zeile %1: Der Wert %3 für „%2“ ist ungültig; bitte die Einstellung auf "
                          "der Seite „Optionen“ prüfen.")
        .arg(line)
        .arg(name, value);
}

QString notNumber(int line, const QString& name, const QString& text, const QString& used) {
    return QStringLiteral("Zeile %1: Für „%2“ steht „%3“, das ist keine Zahl; es gilt der Wert %4.")
        .arg(line)
        .arg(name, text, used);
}

QString replaced(int line, const QString& name, const QString& value, const QString& used) {
    return QStringLiteral("Zeile %1: Der Wert %3 für „%2“ ist ungültig; es gilt der Wert %4.")
        .arg(line)
        .arg(name, value, used);
}

QString badFlag(int line, const QString& name, const QString& text) {
    return QStringLiteral("Zeile %1: Beim Eintrag „%2“ ist „%3“ keine gültige Angabe für „Null "
                          "voranstellen“; sie wurde eingeschaltet.")
        .arg(line)
        .arg(name, text);
}

} // namespace

void TestRegisterFileDamaged::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = std::make_unique<RegisterFile>(m_dir->path() + u'/');
}

void TestRegisterFileDamaged::damaged_data() {
    QTest::addColumn<QByteArray>("afterHeader");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("entries");
    // dial hardware, port, dial mode, handover switch
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<QStringList>("cardNames");

    const QList<int> defaults{0, 1, 0, 0};
    const QByteArray good = Settings + CardNames;

    QTest::newRow("header only")
        << QByteArray()
        << QStringList{"Zeile 2: Die Datei endet in der Einstellungszeile nach 0 von 13 Feldern; "
                       "für die übrigen Einstellungen gelten die Vorgaben."}
        << QStringList{} << defaults << 12.0 << DefaultNames;
    QTest::newRow("settings line cut short")
        << QByteArray("1,3,1,0,\"0\"")
        << QStringList{"Zeile 2: Die Datei endet in der Einstellungszeile nach 5 von 13 Feldern; "
                       "für die übrigen Einstellungen gelten die Vorgaben."}
        << QStringList{} << QList<int>{1, 3, 1, 0} << 12.0 << DefaultNames;
    QTest::newRow("card names cut short")
        << Settings + "\"A\",\"B\"\r\n"
        << QStringList{"Zeile 3: Die Datei endet in der Zeile der Kartennamen nach 2 von 4 "
                       "Namen; für die übrigen Karten gelten die vorgegebenen Namen."}
        << QStringList{} << defaults << 12.0 << QStringList{"A", "B", "Privat 1", "Privat 2"};
    QTest::newRow("record cut short")
        << good + "1,\"A\",\"1\",0\r\n2,\"B\"\r\n"
        << QStringList{"Zeile 5: Die Datei endet mitten im Eintrag „B“, er wurde übersprungen."}
        << QStringList{"1|A|1|0"} << defaults << 12.0 << DefaultNames;
    QTest::newRow("record with the card number only")
        << good + "1,\"A\",\"1\",0\r\n3\r\n"
        << QStringList{"Zeile 5: Die Datei endet mitten in einem Eintrag, er wurde übersprungen."}
        << QStringList{"1|A|1|0"} << defaults << 12.0 << DefaultNames;
    QTest::newRow("card numbers outside 0 to 4")
        << good + "7,\"Meier\",\"1\",0\r\n1,\"A\",\"2\",1\r\n-1,\"B\",\"3\",0\r\n"
        << QStringList{"Zeile 4: Kartennummer 7 ist ungültig, der Eintrag „Meier“ wurde "
                       "übersprungen.",
                       "Zeile 6: Kartennummer -1 ist ungültig, der Eintrag „B“ wurde übersprungen."}
        << QStringList{"1|A|2|1"} << defaults << 12.0 << DefaultNames;
    QTest::newRow("card number is text")
        << good + "x,\"Meier\",\"1\",0\r\n1,\"A\",\"2\",1\r\n"
        << QStringList{"Zeile 4: Kartennummer „x“ ist keine Zahl, der Eintrag „Meier“ wurde "
                       "übersprungen."}
        << QStringList{"1|A|2|1"} << defaults << 12.0 << DefaultNames;
    QTest::newRow("zero flag is text")
        << good + "1,\"Meier\",\"1\",ja\r\n"
        << QStringList{badFlag(4, "Meier", "ja")} << QStringList{"1|Meier|1|1"} << defaults << 12.0
        << DefaultNames;
    QTest::newRow("zero flag beyond 16 bits")
        << good + "2,\"Meier\",\"1\",40000\r\n"
        << QStringList{badFlag(4, "Meier", "40000")} << QStringList{"2|Meier|1|1"} << defaults
        << 12.0 << DefaultNames;
    QTest::newRow("dial hardware other than 0 or 1")
        << "2,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + CardNames
        << QStringList{replaced(2, "Anwahl ausführen über", "2", "0 (Modem)")} << QStringList{}
        << defaults << 12.0 << DefaultNames;
    QTest::newRow("port, dial mode and handover switch kept for the options page")
        << "1,20,5,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",2\r\n" + CardNames
        << QStringList{check(2, "Anschluß", "20"), check(2, "Wahlart", "5"),
                       check(2, "Übergabe", "2")}
        << QStringList{} << QList<int>{1, 20, 5, 2} << 12.0 << DefaultNames;
    QTest::newRow("text where numbers belong")
        << "Modem,COM3,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + CardNames
        << QStringList{notNumber(2, "Anwahl ausführen über", "Modem", "0 (Modem)"),
                       notNumber(2, "Anschluß", "COM3", "1")}
        << QStringList{} << defaults << 12.0 << DefaultNames;
    QTest::newRow("number beyond 16 bits")
        << "0,70000,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + CardNames
        << QStringList{"Zeile 2: Der Wert 70000 für „Anschluß“ ist zu groß oder zu klein; es "
                       "gilt der Wert 1."}
        << QStringList{} << defaults << 12.0 << DefaultNames;
    QTest::newRow("font size 0") << "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",0,\"\",\"\",0\r\n" +
                                        CardNames
                                 << QStringList{replaced(2, "Eintragsgröße", "0", "12")}
                                 << QStringList{} << defaults << 12.0 << DefaultNames;
    QTest::newRow("font size absurd")
        << "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",201,\"\",\"\",0\r\n" + CardNames
        << QStringList{replaced(2, "Eintragsgröße", "201", "12")} << QStringList{} << defaults
        << 12.0 << DefaultNames;
    QTest::newRow("font size is text")
        << "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",gross,\"\",\"\",0\r\n" + CardNames
        << QStringList{notNumber(2, "Eintragsgröße", "gross", "12")} << QStringList{} << defaults
        << 12.0 << DefaultNames;
    QTest::newRow("name holding the padding")
        << good + "1,\"x" + QByteArray(150, ' ') + "\x01\",\"123\",0\r\n1,\"A\",\"2\",1\r\n"
        << QStringList{"Zeile 4: Der Name „x …“ enthält 150 Leerzeichen und ein Steuerzeichen, "
                       "die das Telefonregister als Trennung braucht; der Eintrag wurde "
                       "übersprungen."}
        << QStringList{"1|A|2|1"} << defaults << 12.0 << DefaultNames;
    QTest::newRow("several problems, LF line ends")
        << QByteArray(
               "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\n\"a\",\"b\",\"c\",\"d\"\n"
               "7,\"Meier\",\"1\",0\n4,\"A\",\"2\",x\n4,\"B\",\"3\",1\n")
        << QStringList{"Zeile 4: Kartennummer 7 ist ungültig, der Eintrag „Meier“ wurde "
                       "übersprungen.",
                       badFlag(5, "A", "x")}
        << QStringList{"4|A|2|1", "4|B|3|1"} << defaults << 12.0 << QStringList{"a", "b", "c", "d"};
}

void TestRegisterFileDamaged::damaged() {
    QFETCH(QByteArray, afterHeader);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, entries);
    QFETCH(QList<int>, numbers);
    QFETCH(double, fontSize);
    QFETCH(QStringList, cardNames);

    const QByteArray original = Header + afterHeader;
    put(m_file->RegisterFilePath(), original);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);

    QCOMPARE(result.status, RegisterFile::LoadStatus::LoadedWithProblems);
    QCOMPARE(result.problems, problems);
    QCOMPARE(::entries(reg), entries);
    QCOMPARE((QList<int>{reg.DialHardware, reg.settings.ComPort, reg.settings.PulseDialing,
                         reg.settings.HandoverEnabled}),
             numbers);
    QCOMPARE(reg.EntryFontSize, fontSize);
    QCOMPARE(QStringList(reg.cardNames.begin(), reg.cardNames.end()), cardNames);

    const QFileInfo copy(result.preservedCopyPath);
    QCOMPARE(copy.absolutePath(), QFileInfo(m_dir->path()).absoluteFilePath());
    QVERIFY2(QRegularExpression(R"(^Telefonregister-defekt-\d{8}-\d{6}\.ini$)")
                 .match(copy.fileName())
                 .hasMatch(),
             qPrintable(copy.fileName()));
    QCOMPARE(contentOf(copy.filePath()), original);
    QCOMPARE(contentOf(m_file->RegisterFilePath()), original);
    QCOMPARE(folderEntries(), (QStringList{copy.fileName(), "Telefonregister.ini"}));
}

void TestRegisterFileDamaged::preservedCopyNeverReplacesAFile() {
    // Names for this second and the next few are taken already.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList taken;
    for (int second = 0; second < 3; ++second) {
        const QString name = QStringLiteral("Telefonregister-defekt-%1.ini")
                                 .arg(now.addSecs(second).toString("yyyyMMdd-HHmmss"));
        put(m_dir->filePath(name), "fremd");
        taken << name;
    }
    const QByteArray original = Header + Settings + CardNames + "9,\"Meier\",\"1\",0\r\n";
    put(m_file->RegisterFilePath(), original);

    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(result.status, RegisterFile::LoadStatus::LoadedWithProblems);
    QCOMPARE(result.problems.size(), 1);
    const QString copyName = QFileInfo(result.preservedCopyPath).fileName();
    QVERIFY2(!taken.contains(copyName), qPrintable(copyName));
    QVERIFY(copyName.startsWith("Telefonregister-defekt-"));
    QCOMPARE(contentOf(result.preservedCopyPath), original);
    for (const QString& name : std::as_const(taken))
        QCOMPARE(contentOf(m_dir->filePath(name)), "fremd");
}

void TestRegisterFileDamaged::savingAfterwardsKeepsTheCopy() {
    const QByteArray original = Header + Settings + CardNames +
                                "1,\"A\",\"1\",0\r\n0x,\"B\",\"2\",0\r\n2,\"C\",\"3\",1\r\n";
    put(m_file->RegisterFilePath(), original);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(result.status, RegisterFile::LoadStatus::LoadedWithProblems);
    QCOMPARE(entries(reg), (QStringList{"1|A|1|0", "2|C|3|1"}));

    QString error;
    QVERIFY(m_file->save(reg, &error));
    QCOMPARE(contentOf(m_file->RegisterFilePath()),
             Header + Settings + CardNames + "1,\"A\",\"1\",0\r\n2,\"C\",\"3\",1\r\n");
    QCOMPARE(contentOf(m_file->RegisterBackupPath()), original);
    QCOMPARE(contentOf(result.preservedCopyPath), original);
}

QTEST_GUILESS_MAIN(TestRegisterFileDamaged)
#include "test_registerfile_damaged.moc"
