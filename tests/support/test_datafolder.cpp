#include "register/RegisterTestData.h"
#include "support/DataFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using RegisterTestData::contentOf;
using RegisterTestData::put;

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void choose_data() {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("writable") << true << "/daten"
                                  << "/opt/kf/";
        QTest::newRow("read-only") << false << "/daten"
                                   << "/daten/Kurbelfon/";
        QTest::newRow("read-only, XDG_DATA_HOME unset") << false << ""
                                                        << "/home/anna/.local/share/Kurbelfon/";
        QTest::newRow("read-only, relative XDG_DATA_HOME") << false << "daten"
                                                           << "/home/anna/.local/share/Kurbelfon/";
    }
    void choose() {
        QFETCH(bool, writable);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QCOMPARE(DataFolder::Choose("/opt/kf/", xdgDataHome, "/home/anna",
                                    [&](const QString&) { return writable; }),
                 expected);
    }

    // A prepared phone book beside a read-only program: copied only where the user has none.
    void adoptPreparedFiles_data() {
        QTest::addColumn<QStringList>("ownFiles");
        QTest::addColumn<QByteArray>("expectedRegister");
        QTest::addColumn<QByteArray>("expectedProviders");
        QTest::newRow("first start")
            << QStringList() << QByteArray("prepared register") << QByteArray("prepared providers");
        QTest::newRow("own register") << QStringList{"Telefonregister.ini"} << QByteArray("own")
                                      << QByteArray("prepared providers");
        QTest::newRow("only the register's backup left")
            << QStringList{"Telefonregister.bak"} << QByteArray("<missing>")
            << QByteArray("prepared providers");
    }
    void adoptPreparedFiles() {
        QFETCH(QStringList, ownFiles);
        QFETCH(QByteArray, expectedRegister);
        QFETCH(QByteArray, expectedProviders);
        QTemporaryDir program, data;
        put(program.filePath("Telefonregister.ini"), "prepared register");
        put(program.filePath("Provider.ini"), "prepared providers");
        QVERIFY(QFile::setPermissions(program.filePath("Telefonregister.ini"), QFile::ReadOwner));
        for (const QString& name : ownFiles)
            put(data.filePath(name), "own");

        QVERIFY(DataFolder::AdoptPreparedFiles(program.path(), data.path()));
        QCOMPARE(contentOf(data.filePath("Telefonregister.ini")), expectedRegister);
        QCOMPARE(contentOf(data.filePath("Provider.ini")), expectedProviders);
        QVERIFY(QFileInfo(data.filePath("Provider.ini")).isWritable());
        QCOMPARE(QDir(program.path()).entryList(QDir::Files).size(), 2);
    }

    // Root may write anywhere, so only a normal user sees the permission itself.
    void readOnlyFolderIsNotWritable() {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir folder;
        QVERIFY(DataFolder::IsWritable(folder.path()));
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!DataFolder::IsWritable(folder.path()));
        QCOMPARE(DataFolder::Choose(folder.path(), "/daten", "/home/anna"), "/daten/Kurbelfon/");
        QVERIFY(QFile::setPermissions(folder.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
