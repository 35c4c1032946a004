#include "support/Paths.h"
#include "support/ProgramModule.h"

#include <QFileInfo>
#include <QTest>
#include <utility>

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void addTrailingSeparator_data();
    void addTrailingSeparator();
    void programFolderHoldsTheProgram();
    void modulesLoadFromTheProgramFolder();
};

void TestPaths::addTrailingSeparator_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "/";
    QTest::newRow("without") << "/opt/kurbelfon"
                             << "/opt/kurbelfon/";
    QTest::newRow("with") << "/opt/kurbelfon/"
                          << "/opt/kurbelfon/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("relative") << "daten"
                              << "daten/";
}

void TestPaths::addTrailingSeparator() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Paths::addTrailingSeparator(path), expected);
}

void TestPaths::programFolderHoldsTheProgram() {
    const QFileInfo program(Paths::ProgramPath());
    QCOMPARE(program.fileName(), QStringLiteral("test_support_paths"));
    QVERIFY(program.isExecutable());
    QCOMPARE(Paths::ProgramFolder(), program.absolutePath() + u'/');
}

void TestPaths::modulesLoadFromTheProgramFolder() {
    QCOMPARE(ProgramModule::Folder(), Paths::ProgramFolder() + QStringLiteral("modules"));
    const std::pair<const char*, const char*> modules[] = {
        {"kurbelfon-phonenumbers", "kurbelfonStoredNumber"},
        {"kurbelfon-sound", "kurbelfonCreateSoundPlayer"},
        {"kurbelfon-keystore", "kurbelfonReadSecret"},
        {"kurbelfon-modem", "kurbelfonCreateSerialLine"},
        {"kurbelfon-network", "kurbelfonCreateTr64Transport"},
        {"kurbelfon-network", "kurbelfonCreateTcpLine"},
        {"kurbelfon-network", "kurbelfonListenLocal"},
        {"kurbelfon-network", "kurbelfonSendLocal"},
        {"kurbelfon-journal", "kurbelfonCreateJournalStore"}};
    for (const auto& [name, symbol] : modules) {
        ProgramModule module(name);
        QVERIFY2(module.resolve(symbol), qPrintable(name + (": " + module.errorString())));
    }
    ProgramModule sound("kurbelfon-sound");
    QVERIFY(!sound.resolve("kurbelfonNothing"));
    QVERIFY(!sound.errorString().isEmpty());
    ProgramModule missing("kurbelfon-nothing");
    QVERIFY(!missing.resolve("kurbelfonCreateSoundPlayer"));
    QVERIFY(missing.errorString().contains(QLatin1String("libkurbelfon-nothing.so")));
}

QTEST_GUILESS_MAIN(TestPaths)
#include "test_paths.moc"
