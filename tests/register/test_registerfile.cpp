#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"
#include "register/RegisterTestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRegisterFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void firstStartFile();
    void fileWithEntriesOnSeveralCards();
    void roundTrip();
    void readingEntries_data();
    void readingEntries();
    void endOfEntriesBeforeMoreContent_data();
    void endOfEntriesBeforeMoreContent();
    void readingSettings_data();
    void readingSettings();
    void reservedFieldRewrittenWithTheSecondValue();
    void header_data();
    void header();
    void missingFile();
    void restoreBackup();
    void doubleQuotes();
    void textThatCannotBeStored_data();
    void textThatCannotBeStored();

private:
    QStringList folderEntries() const {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RegisterFile> m_file;
};

namespace {

using namespace RegisterTestData;

bool isFresh(const PhoneRegister& reg) {
    PhoneRegister fresh;
    return reg.settings == fresh.settings && reg.DialHardware == fresh.DialHardware &&
           reg.cardNames == fresh.cardNames && reg.EntryFontSize == fresh.EntryFontSize &&
           reg.ReservedSetting == fresh.ReservedSetting && entries(reg).isEmpty();
}

} // namespace

void TestRegisterFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = std::make_unique<RegisterFile>(m_dir->path() + u'/');
}

void TestRegisterFile::firstStartFile() {
    PhoneRegister reg;
    QString error;
    QVERIFY2(m_file->save(reg, &error), qPrintable(error));
    QCOMPARE(contentOf(m_file->RegisterFilePath()), FirstStart);
    QCOMPARE(folderEntries(), QStringList{"Telefonregister.ini"});
    QCOMPARE(m_file->RegisterFilePath(), m_dir->path() + "/Telefonregister.ini");
    QCOMPARE(m_file->RegisterBackupPath(), m_dir->path() + "/Telefonregister.bak");
    QCOMPARE(m_file->ProviderFilePath(), m_dir->path() + "/Provider.ini");
    QCOMPARE(m_file->ProviderBackupPath(), m_dir->path() + "/Provider.bak");
}

void TestRegisterFile::fileWithEntriesOnSeveralCards() {
    PhoneRegister reg;
    reg.DialHardware = 1;
    reg.settings.ComPort = 4;
    reg.settings.PulseDialing = 1;
    reg.settings.OutsideLinePrefix = "0";
    reg.settings.OwnCountryCode = "43";
    reg.settings.OwnAreaCode = "1";
    reg.settings.ExtraModemCommands = "X1";
    reg.settings.HandoverNumber = "12345";
    reg.settings.HandoverEnabled = 1;
    reg.EntryFontSize = 9.75;
    reg.ReservedSetting = 5;
    reg.cardNames[1] = "Kunden";
    reg.card(1)->addLine(MakeEntryLine("Ärger", "49 30 2", 1));
    reg.card(1)->addLine(MakeEntryLine(" Arger", "49 30 1 ", 0));
    reg.card(2)->addLine(MakeEntryLine("Muster, Anna", "49 89 12345", 1));
    reg.card(4)->addLine(MakeEntryLine("Müller", "44~20", 0));

    QString error;
    const QByteArray bytes = RegisterFile::serialize(reg, &error);
    QCOMPARE(bytes, QByteArray("[KURBELFON VERSION 4]\r\n"
                               "1,4,1,5,\"0\",5,\"00\",\"43\",\"1\",9.75,\"X1\",\"12345\",1\r\n"
                               "\"B\xFCro 1\",\"Kunden\",\"Privat 1\",\"Privat 2\"\r\n"
                               "1,\"Arger\",\"49 30 1\",0\r\n"
                               "1,\"\xC4rger\",\"49 30 2\",1\r\n"
                               "2,\"Muster, Anna\",\"49 89 12345\",1\r\n"
                               "4,\"M\xFCller\",\"44~20\",0\r\n"));
}

void TestRegisterFile::roundTrip() {
    PhoneRegister reg;
    reg.DialHardware = 1;
    reg.settings = {3, 1, "9", "001", "41", "44", "&F", "777", 1};
    reg.cardNames = {"Familie", "Ärzte, Ämter", "", "Sonstige"};
    reg.EntryFontSize = 14;
    reg.ReservedSetting = -2;
    reg.card(1)->addLine(MakeEntryLine("Zoe", "49 1", 1));
    reg.card(1)->addLine(MakeEntryLine("anna", "49 2", 0));
    reg.card(3)->addLine(MakeEntryLine("Meier, Hans", "49~30~123", 1));
    reg.card(3)->addLine(MakeEntryLine("", "", 0));
    QString error;
    QVERIFY2(m_file->save(reg, &error), qPrintable(error));

    PhoneRegister back;
    const RegisterFile::LoadResult result = m_file->load(back);
    QCOMPARE(result.status, RegisterFile::LoadStatus::Loaded);
    QVERIFY(result.problems.isEmpty());
    QCOMPARE(back.settings, reg.settings);
    QCOMPARE(back.DialHardware, 1);
    QCOMPARE(back.cardNames, reg.cardNames);
    QCOMPARE(back.EntryFontSize, 14.0);
    QCOMPARE(back.ReservedSetting, -2);
    QCOMPARE(entries(back), entries(reg));
    QCOMPARE(RegisterFile::serialize(back, &error), contentOf(m_file->RegisterFilePath()));
}

void TestRegisterFile::readingEntries_data() {
    QTest::addColumn<QByteArray>("records");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("comma inside a quoted name")
        << QByteArray("2,\"Muster, Anna\",\"49 89 12345\",1\r\n")
        << QStringList{"2|Muster, Anna|49 89 12345|1"};
    QTest::newRow("rest after the closing quote skipped")
        << QByteArray("1,\"Meier\"xyz,\"49 1\" abc,0\r\n") << QStringList{"1|Meier|49 1|0"};
    QTest::newRow("one field per line")
        << QByteArray("1\r\n\"Meier\"\r\n\"49 1\"\r\n1\r\n") << QStringList{"1|Meier|49 1|1"};
    QTest::newRow("LF and CR line ends")
        << QByteArray("1,\"A\",\"1\",0\n2,\"B\",\"2\",1\r3,\"C\",\"3\",0")
        << QStringList{"1|A|1|0", "2|B|2|1", "3|C|3|0"};
    QTest::newRow("blanks after commas")
        << QByteArray("1,  \"Meier\",   \"49 1\",  1\r\n") << QStringList{"1|Meier|49 1|1"};
    QTest::newRow("zero flag keeps its lowest bit")
        << QByteArray(
               "1,\"A\",\"1\",-1\r\n1,\"B\",\"2\",2\r\n1,\"C\",\"3\",3\r\n1,\"D\",\"4\",\r\n")
        << QStringList{"1|A|1|1", "1|B|2|0", "1|C|3|1", "1|D|4|0"};
    QTest::newRow("numbers rounded half to even")
        << QByteArray("1.5,\"A\",\"1\",0.5\r\n2.5,\"B\",\"2\",1.5\r\n")
        << QStringList{"2|A|1|0", "2|B|2|0"};
    QTest::newRow("card 0 at the end")
        << QByteArray("1,\"A\",\"1\",0\r\n0\r\n\r\n") << QStringList{"1|A|1|0"};
    QTest::newRow("names and numbers trimmed")
        << QByteArray("1,\" Meier \",\"  49 1 \",1\r\n") << QStringList{"1|Meier|49 1|1"};
    QTest::newRow("bare texts") << QByteArray("3,Meier, 49 1 ,1\r\n")
                                << QStringList{"3|Meier|49 1|1"};
    QTest::newRow("tilde in the number")
        << QByteArray("4,\"A~B\",\"49~89\",1\r\n") << QStringList{"4|A~B|49~89|1"};
    QTest::newRow("any order comes out sorted")
        << QByteArray("1,\"Zoe\",\"1\",0\r\n1,\"\xC4rger\",\"4\",0\r\n1,\"anna\",\"3\",0\r\n"
                      "1,\"Arger\",\"2\",0\r\n1,\"Meierhof\",\"5\",0\r\n1,\"Meier\",\"6\",0\r\n")
        << QStringList{"1|anna|3|0",  "1|Arger|2|0",    "1|Ärger|4|0",
                       "1|Meier|6|0", "1|Meierhof|5|0", "1|Zoe|1|0"};
    QTest::newRow("no entries") << QByteArray() << QStringList{};
}

void TestRegisterFile::readingEntries() {
    QFETCH(QByteArray, records);
    QFETCH(QStringList, expected);

    put(m_file->RegisterFilePath(), "[KURBELFON VERSION 4]\r\n" + Settings + CardNames + records);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(result.problems, QStringList());
    QCOMPARE(result.status, RegisterFile::LoadStatus::Loaded);
    QCOMPARE(entries(reg), expected);
    QCOMPARE(folderEntries(), QStringList{"Telefonregister.ini"});
}

// The reading ends there, but what follows would vanish with the next save: it is reported.
void TestRegisterFile::endOfEntriesBeforeMoreContent_data() {
    QTest::addColumn<QByteArray>("records");
    QTest::addColumn<QString>("firstUnread");
    QTest::newRow("card 0") << QByteArray(
                                   "1,\"A\",\"1\",0\r\n0,\"B\",\"2\",1\r\n2,\"C\",\"3\",1\r\n")
                            << "Zeile 5:";
    QTest::newRow("blank line") << QByteArray("1,\"A\",\"1\",0\r\n\r\n2,\"C\",\"3\",1\r\n")
                                << "Zeile 6:";
}

void TestRegisterFile::endOfEntriesBeforeMoreContent() {
    QFETCH(QByteArray, records);
    put(m_file->RegisterFilePath(), "[KURBELFON VERSION 4]\r\n" + Settings + CardNames + records);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(entries(reg), QStringList{"1|A|1|0"});
    QCOMPARE(result.status, RegisterFile::LoadStatus::LoadedWithProblems);
    QCOMPARE(result.problems.size(), 1);
    QFETCH(QString, firstUnread);
    QVERIFY(result.problems.first().startsWith(firstUnread));
    QVERIFY(QFile::exists(result.preservedCopyPath));
}

void TestRegisterFile::readingSettings_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QList<int>>("numbers"); // dial hardware, port, pulse, reserved, handover on
    QTest::addColumn<double>("fontSize");
    // outside line, international, country, area, extra commands, handover number
    QTest::addColumn<QStringList>("texts");

    const QStringList defaults{"", "00", "49", "89", "", ""};
    QTest::newRow("defaults") << Settings << QList<int>{0, 1, 0, 0, 0} << 12.0 << defaults;
    QTest::newRow("every field")
        << QByteArray("1,16,1,0,\"9\",0,\"001\",\"43\",\"1\",24,\"X3 M0\",\"12345\",1\r\n")
        << QList<int>{1, 16, 1, 0, 1} << 24.0
        << QStringList{"9", "001", "43", "1", "X3 M0", "12345"};
    QTest::newRow("font size 200 is kept")
        << QByteArray("0,1,0,0,\"\",0,\"00\",\"49\",\"89\",200,\"\",\"\",0\r\n")
        << QList<int>{0, 1, 0, 0, 0} << 200.0 << defaults;
    QTest::newRow("empty fields read as 0 and empty text")
        << QByteArray("1,2,,,,,,,,12,,,\r\n") << QList<int>{1, 2, 0, 0, 0} << 12.0
        << QStringList{"", "", "", "", "", ""};
    QTest::newRow("spread over lines")
        << QByteArray("0\r\n1\r\n0,0,\"8\"\r\n0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n")
        << QList<int>{0, 1, 0, 0, 0} << 12.0 << QStringList{"8", "00", "49", "89", "", ""};
}

void TestRegisterFile::readingSettings() {
    QFETCH(QByteArray, settings);
    QFETCH(QList<int>, numbers);
    QFETCH(double, fontSize);
    QFETCH(QStringList, texts);

    put(m_file->RegisterFilePath(), "[KURBELFON VERSION 4]\r\n" + settings + CardNames);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(result.problems, QStringList());
    QCOMPARE(result.status, RegisterFile::LoadStatus::Loaded);
    const DialSettings& s = reg.settings;
    QCOMPARE((QList<int>{reg.DialHardware, s.ComPort, s.PulseDialing, reg.ReservedSetting,
                         s.HandoverEnabled}),
             numbers);
    QCOMPARE(reg.EntryFontSize, fontSize);
    QCOMPARE((QStringList{s.OutsideLinePrefix, s.InternationalPrefix, s.OwnCountryCode,
                          s.OwnAreaCode, s.ExtraModemCommands, s.HandoverNumber}),
             texts);
    QCOMPARE(reg.cardNames, PhoneRegister().cardNames);
}

void TestRegisterFile::reservedFieldRewrittenWithTheSecondValue() {
    put(m_file->RegisterFilePath(), "[KURBELFON VERSION 4]\r\n"
                                    "0,1,0,3,\"\",7,\"00\",\"49\",\"89\",9.75,\"\",\"\",0\r\n" +
                                        CardNames);
    PhoneRegister reg;
    QCOMPARE(m_file->load(reg).status, RegisterFile::LoadStatus::Loaded);
    QString error;
    QVERIFY(m_file->save(reg, &error));
    QCOMPARE(contentOf(m_file->RegisterFilePath()),
             "[KURBELFON VERSION 4]\r\n0,1,0,7,\"\",7,\"00\",\"49\",\"89\",10,\"\",\"\",0\r\n" +
                 CardNames);
}

void TestRegisterFile::header_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("exact") << QByteArray("[KURBELFON VERSION 4]\r\n") << true;
    QTest::newRow("blanks around") << QByteArray("   [KURBELFON VERSION 4]  \r\n") << true;
    QTest::newRow("LF line end") << QByteArray("[KURBELFON VERSION 4]\n") << true;
    QTest::newRow("lower case") << QByteArray("[kurbelfon version 4]\r\n") << false;
    QTest::newRow("version 3") << QByteArray("[KURBELFON VERSION 3]\r\n") << false;
    QTest::newRow("something after it") << QByteArray("[KURBELFON VERSION 4] x\r\n") << false;
    QTest::newRow("first line empty") << QByteArray("\r\n[KURBELFON VERSION 4]\r\n") << false;
}

void TestRegisterFile::header() {
    QFETCH(QByteArray, header);
    QFETCH(bool, accepted);

    const QByteArray content = header + Settings + CardNames + "1,\"A\",\"1\",0\r\n";
    put(m_file->RegisterFilePath(), content);
    PhoneRegister reg;
    const RegisterFile::LoadResult result = m_file->load(reg);
    QCOMPARE(result.status,
             accepted ? RegisterFile::LoadStatus::Loaded : RegisterFile::LoadStatus::Incompatible);
    QCOMPARE(entries(reg).size(), accepted ? 1 : 0);
    QCOMPARE(isFresh(reg), !accepted);
    QCOMPARE(contentOf(m_file->RegisterFilePath()), content);
    QCOMPARE(folderEntries(), QStringList{"Telefonregister.ini"});
}

void TestRegisterFile::missingFile() {
    PhoneRegister reg;
    QCOMPARE(m_file->load(reg).status, RegisterFile::LoadStatus::Missing);
    QVERIFY(folderEntries().isEmpty());

    put(m_file->RegisterBackupPath(), FirstStart);
    QCOMPARE(m_file->load(reg).status, RegisterFile::LoadStatus::MissingWithBackup);
    QCOMPARE(folderEntries(), QStringList{"Telefonregister.bak"});
    QCOMPARE(contentOf(m_file->RegisterBackupPath()), FirstStart);

    put(m_file->RegisterFilePath(), QByteArray());
    QCOMPARE(m_file->load(reg).status, RegisterFile::LoadStatus::Incompatible);
    QVERIFY(isFresh(reg));
}

void TestRegisterFile::restoreBackup() {
    const QByteArray saved = FirstStart + "2,\"Meier\",\"49 1\",1\r\n";
    put(m_file->RegisterBackupPath(), saved);
    QString error;
    QVERIFY2(m_file->restoreBackup(&error), qPrintable(error));
    QCOMPARE(contentOf(m_file->RegisterFilePath()), saved);
    QCOMPARE(contentOf(m_file->RegisterBackupPath()), saved);
    PhoneRegister reg;
    QCOMPARE(m_file->load(reg).status, RegisterFile::LoadStatus::Loaded);
    QCOMPARE(entries(reg), QStringList{"2|Meier|49 1|1"});
}

void TestRegisterFile::doubleQuotes() {
    PhoneRegister reg;
    reg.settings.OutsideLinePrefix = "\"0";
    reg.settings.InternationalPrefix = "0\"0";
    reg.settings.ExtraModemCommands = "X\"";
    reg.settings.HandoverNumber = "12\"3";
    reg.settings.OwnCountryCode = "4\"9";
    reg.cardNames[0] = "Büro \"A\"";
    const QString line = MakeEntryLine("Zum \"Löwen\"", "49 \"1\"", 1);
    reg.card(1)->addLine(line);
    QString error;
    QVERIFY(m_file->save(reg, &error));

    // The four settings hold what the file holds; the rest keeps its quotes until reloaded.
    QCOMPARE(reg.settings.OutsideLinePrefix, "'0");
    QCOMPARE(reg.settings.InternationalPrefix, "0'0");
    QCOMPARE(reg.settings.ExtraModemCommands, "X'");
    QCOMPARE(reg.settings.HandoverNumber, "12'3");
    QCOMPARE(reg.settings.OwnCountryCode, "4\"9");
    QCOMPARE(reg.cardNames[0], "Büro \"A\"");
    QCOMPARE(reg.card(1)->line(0), line);
    const QByteArray bytes = contentOf(m_file->RegisterFilePath());
    QVERIFY(bytes.contains("0,\"'0\",0,\"0'0\",\"4'9\",\"89\",12,\"X'\",\"12'3\",0\r\n"
                           "\"B\xFCro 'A'\","));
    QVERIFY(bytes.endsWith("1,\"Zum 'L\xF6wen'\",\"49 '1'\",1\r\n"));

    PhoneRegister back;
    QCOMPARE(m_file->load(back).status, RegisterFile::LoadStatus::Loaded);
    QCOMPARE(back.cardNames[0], "Büro 'A'");
    QCOMPARE(entries(back), QStringList{"1|Zum 'Löwen'|49 '1'|1"});
}

void TestRegisterFile::textThatCannotBeStored_data() {
    QTest::addColumn<int>("where");
    QTest::newRow("entry name") << 0;
    QTest::newRow("card name") << 1;
    QTest::newRow("setting") << 2;
}

void TestRegisterFile::textThatCannotBeStored() {
    QFETCH(int, where);
    PhoneRegister reg;
    QString error;
    QVERIFY(m_file->save(reg, &error));
    put(m_file->RegisterBackupPath(), FirstStart);

    const QString bad = QStringLiteral("Łukasz");
    if (where == 0)
        reg.card(3)->addLine(MakeEntryLine(bad, "48 1", 0));
    else if (where == 1)
        reg.cardNames[2] = bad;
    else
        reg.settings.HandoverNumber = bad;
    QVERIFY(!m_file->save(reg, &error));
    QCOMPARE(error, QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.\rGrund: Der "
                                   "Text „Łukasz“ enthält ein Zeichen, das in der Telefonliste "
                                   "nicht gespeichert werden kann.")
                        .arg(m_file->RegisterFilePath()));
    QCOMPARE(contentOf(m_file->RegisterFilePath()), FirstStart);
    QCOMPARE(contentOf(m_file->RegisterBackupPath()), FirstStart);
    QCOMPARE(folderEntries(), (QStringList{"Telefonregister.bak", "Telefonregister.ini"}));
}

QTEST_GUILESS_MAIN(TestRegisterFile)
#include "test_registerfile.moc"
