#include "support/FileSaver.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestFileSaver : public QObject {
    Q_OBJECT
private slots:
    void init();
    void rotation();
    void keepsTheFileMode();
    void failures_data();
    void failures();
    void fullDiskLeavesBothFilesAsTheyWere_data();
    void fullDiskLeavesBothFilesAsTheyWere();
    void killedWhileSavingLeavesACompleteFile();
    void readOnlyFolder();
    void copyFile();
    void copyFileNeverReplaces();
    void readFile();
    void leftoversOfKilledSavesAreRemoved();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    QString ini() const { return file(QStringLiteral("Daten.ini")); }
    QString bak() const { return file(QStringLiteral("Daten.bak")); }
    // Every name in the folder, hidden ones included: no temporary file may stay behind.
    QStringList entries() const {
        return QDir(m_dir->path())
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void put(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QString saveFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.\rGrund: %2")
        .arg(path, reason);
}

} // namespace

void TestFileSaver::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileSaver::rotation() {
    // With no current file, the backup is the only earlier state: it stays.
    put(bak(), "alt");
    QString error;
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), "erste", &error));
    QCOMPARE(contentOf(ini()), "erste");
    QCOMPARE(contentOf(bak()), "alt");
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), "zweite", &error));
    QCOMPARE(contentOf(ini()), "zweite");
    QCOMPARE(contentOf(bak()), "erste");
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), "dritte", &error));
    QCOMPARE(contentOf(ini()), "dritte");
    QCOMPARE(contentOf(bak()), "zweite");
    // The same bytes again: the backup keeps the earlier state.
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), "dritte", &error));
    QCOMPARE(contentOf(bak()), "zweite");
    QCOMPARE(entries(), (QStringList{"Daten.bak", "Daten.ini"}));
}

void TestFileSaver::keepsTheFileMode() {
    put(ini(), "alt");
    QVERIFY(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QString error;
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), "neu", &error));
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(ini()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640));
}

void TestFileSaver::failures_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason");
    // The backup's place is taken by a folder: the rename onto it fails.
    QTest::newRow("backup cannot be replaced")
        << "backup is a folder"
        << QStringLiteral("Systemfehler: ") + QString::fromLocal8Bit(std::strerror(EISDIR));
    QTest::newRow("folder missing") << "folder missing"
                                    << "Die Datei oder der Ordner wurde nicht gefunden.";
}

void TestFileSaver::failures() {
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);

    put(ini(), "vorher");
    QString target = ini();
    if (obstacle == "backup is a folder") {
        QVERIFY(QDir(m_dir->path()).mkpath("Daten.bak/inhalt"));
    } else {
        target = file(QStringLiteral("fehlt/Daten.ini"));
    }
    const QStringList before = entries();

    QString error;
    QVERIFY(!FileSaver::saveWithBackup(target, target.chopped(3) + "bak", "nachher", &error));
    QCOMPARE(error, saveFailure(target, reason));
    QCOMPARE(contentOf(ini()), "vorher");
    QCOMPARE(entries(), before);
}

void TestFileSaver::fullDiskLeavesBothFilesAsTheyWere_data() {
    QTest::addColumn<bool>("withPrevious");
    QTest::newRow("with a previous file and backup") << true;
    QTest::newRow("first save") << false;
}

void TestFileSaver::fullDiskLeavesBothFilesAsTheyWere() {
    QFETCH(bool, withPrevious);
    const QByteArray previous(3000, 'p');
    const QByteArray backup(2000, 'b');
    if (withPrevious) {
        put(ini(), previous);
        put(bak(), backup);
    }
    const QStringList before = entries();

    // The child may write only 4 KiB per file: the save fails part-way with EFBIG.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit { 4096, 4096 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool saved = FileSaver::saveWithBackup(ini(), bak(), QByteArray(100000, 'n'), &error);
        const bool told = error == saveFailure(ini(), QStringLiteral("Der Datenträger ist voll."));
        ::_exit(saved ? 1 : told ? 0 : 2);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);

    QCOMPARE(entries(), before);
    if (withPrevious) {
        QCOMPARE(contentOf(ini()), previous);
        QCOMPARE(contentOf(bak()), backup);
    }
}

void TestFileSaver::killedWhileSavingLeavesACompleteFile() {
    // Large enough that a kill right after one save lands inside the next.
    const QByteArray first = QByteArray(4 << 20, 'A') + "ende A";
    const QByteArray second = QByteArray(4 << 20, 'B') + "ende B";
    QString error;
    QVERIFY(FileSaver::saveWithBackup(ini(), bak(), first, &error));

    for (int round = 1; round <= 4; ++round) {
        int pipeEnds[2];
        QCOMPARE(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            for (int n = 0;; ++n) {
                QString childError;
                if (!FileSaver::saveWithBackup(ini(), bak(), n % 2 ? first : second, &childError))
                    ::_exit(1);
                if (::write(pipeEnds[1], "s", 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(pipeEnds[1]);
        // Kill as soon as the child has finished `round` saves: it is then inside the next.
        int saves = 0;
        while (saves < round) {
            struct pollfd ready {
                pipeEnds[0], POLLIN, 0
            };
            QVERIFY2(::poll(&ready, 1, 60000) == 1, "the saving child made no progress");
            char signal;
            QVERIFY2(::read(pipeEnds[0], &signal, 1) == 1, "the saving child failed");
            ++saves;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        ::close(pipeEnds[0]);
        QVERIFY(WIFSIGNALED(status));

        const QByteArray now = contentOf(ini());
        QVERIFY2(now == first || now == second, qPrintable(QStringLiteral("round %1").arg(round)));
        const QByteArray backupNow = contentOf(bak());
        QVERIFY(backupNow == first || backupNow == second);
    }
}

void TestFileSaver::readOnlyFolder() {
    if (::geteuid() == 0)
        QSKIP("root may write into any folder");
    put(ini(), "vorher");
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    QString error;
    const bool saved = FileSaver::saveWithBackup(ini(), bak(), "nachher", &error);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!saved);
    QCOMPARE(error,
             saveFailure(ini(), QStringLiteral("Keine Schreibberechtigung für den Ordner.")));
    QCOMPARE(contentOf(ini()), "vorher");
    QCOMPARE(entries(), QStringList{"Daten.ini"});
}

void TestFileSaver::copyFile() {
    const QByteArray content("Kopie\r\n\xFC\x01", 9);
    put(bak(), content);
    QString error;
    QVERIFY(FileSaver::copyFile(bak(), ini(), &error));
    QCOMPARE(contentOf(ini()), content);
    QCOMPARE(contentOf(bak()), content);
    QCOMPARE(entries(), (QStringList{"Daten.bak", "Daten.ini"}));

    QVERIFY(!FileSaver::copyFile(file("fehlt.ini"), file("neu.ini"), &error));
    QCOMPARE(error, QStringLiteral("Die Datei „%1“ konnte nicht nach „%2“ kopiert werden.\rGrund: "
                                   "Die Datei oder der Ordner wurde nicht gefunden.")
                        .arg(file("fehlt.ini"), file("neu.ini")));
    QVERIFY(!QFile::exists(file("neu.ini")));
}

void TestFileSaver::copyFileNeverReplaces() {
    put(bak(), "Sicherung");
    put(ini(), "vorhanden");
    QString error;
    QVERIFY(!FileSaver::copyFile(bak(), ini(), &error));
    QVERIFY(error.endsWith(QStringLiteral("Grund: Die Zieldatei ist bereits vorhanden.")));
    QCOMPARE(contentOf(ini()), "vorhanden");
    QCOMPARE(entries(), (QStringList{"Daten.bak", "Daten.ini"}));
}

void TestFileSaver::readFile() {
    const QByteArray content("a\r\nb\xFC", 5);
    put(ini(), content);
    QByteArray read;
    QString error;
    QVERIFY(FileSaver::readFile(ini(), &read, &error));
    QCOMPARE(read, content);

    QVERIFY(!FileSaver::readFile(bak(), &read, &error));
    QCOMPARE(error, QStringLiteral("Die Datei „%1“ konnte nicht gelesen werden.\rGrund: "
                                   "Die Datei oder der Ordner wurde nicht gefunden.")
                        .arg(bak()));
}

void TestFileSaver::leftoversOfKilledSavesAreRemoved() {
    const QStringList leftovers{".Telefonregister.ini.neu-123-0", ".Telefonregister.ini.alt-9-3",
                                ".Telefonregister.ini.bak-1-12",
                                ".Telefonregister-defekt-20261208-101010.ini.kopie-5-0"};
    const QStringList kept{"Telefonregister.ini", "Telefonregister.bak", ".Provider.ini.neu-1-1",
                           ".Telefonregister.ini.neu-x", "Telefonregister.ini.neu-1-1"};
    for (const QString& name : leftovers + kept)
        put(m_dir->filePath(name), "x");
    FileSaver::removeLeftovers(m_dir->filePath(QStringLiteral("Telefonregister.ini")));
    const QStringList left = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(QSet<QString>(left.begin(), left.end()), QSet<QString>(kept.begin(), kept.end()));
}

QTEST_GUILESS_MAIN(TestFileSaver)
#include "test_filesaver.moc"
