#include "support/Paths.h"

#include <QFileInfo>
#include <QTest>

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void addTrailingSeparator_data();
    void addTrailingSeparator();
    void programFolderHoldsTheProgram();
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

QTEST_GUILESS_MAIN(TestPaths)
#include "test_paths.moc"
