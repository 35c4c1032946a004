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
        QTest::addColumn<QString>("ownFile");
        QTest::addColumn<QByteArray>("expected"); // register|providers
        QTest::newRow("first start") << "" << QByteArray("prepared register|prepared providers");
        QTest::newRow("own register")
            << "Telefonregister.ini" << QByteArray("own|prepared providers");
        QTest::newRow("only the register's backup left")
            << "Telefonregister.bak" << QByteArray("<missing>|prepared providers");
    }
    void adoptPreparedFiles() {
        QFETCH(QString, ownFile);
        QFETCH(QByteArray, expected);
        QTemporaryDir program, data;
        put(program.filePath("Telefonregister.ini"), "prepared register");
        put(program.filePath("Provider.ini"), "prepared providers");
        QVERIFY(QFile::setPermissions(program.filePath("Telefonregister.ini"), QFile::ReadOwner));
        if (!ownFile.isEmpty())
            put(data.filePath(ownFile), "own");

        QVERIFY(DataFolder::AdoptPreparedFiles(program.path(), data.path()));
        QCOMPARE(contentOf(data.filePath("Telefonregister.ini")) + '|' +
                     contentOf(data.filePath("Provider.ini")),
                 expected);
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
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
