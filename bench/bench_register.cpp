// How the register copes with a large phone book: reading, saving (composing the bytes, then
// writing them with fsync) and adding to one card of 10,000 and 100,000 entries, and the
// memory of the real program with 100,000 entries open. Run with `make bench`; the numbers go
// into docs/DEVELOPMENT.md.
#include "ResidentMemory.h"
#include "register/CardModel.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"
#include "support/FileSaver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void fill(PhoneRegister& reg, int count) {
    QList<PhoneEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append({QStringLiteral("Teilnehmer %1, Vorname").arg((i * 7919) % count),
                        QStringLiteral("49 89 %1").arg(i), i % 2});
    reg.card(1)->setEntries(entries);
}

QString registerFolder(QTemporaryDir& dir, int count) {
    const QString folder = dir.path() + QStringLiteral("/%1/").arg(count);
    QDir().mkpath(folder);
    if (!QFile::exists(folder + QStringLiteral("Telefonregister.ini"))) {
        PhoneRegister reg;
        fill(reg, count);
        QString error;
        if (!RegisterFile(folder).save(reg, &error))
            qFatal("%s", qPrintable(error));
    }
    return folder;
}

// The real program started on a copy of `folder` (offscreen), measured once its resident
// memory has stayed put for two seconds.
qint64 programResidentKiB(const QString& folder) {
    QTemporaryDir home;
    QFile::copy(QStringLiteral(KURBELFON_BINARY), folder + QStringLiteral("kurbelfon"));
    QFile::setPermissions(folder + QStringLiteral("kurbelfon"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    program.setProcessEnvironment(environment);
    program.start(folder + QStringLiteral("kurbelfon"), {});
    program.waitForStarted();
    qint64 last = -1;
    QElapsedTimer steady;
    QElapsedTimer total;
    total.start();
    while (total.elapsed() < 60000) {
        QTest::qWait(200);
        const qint64 now = residentKiB(program.processId());
        if (now != last) {
            last = now;
            steady.start();
        } else if (steady.elapsed() >= 2000) {
            break;
        }
    }
    program.kill();
    program.waitForFinished();
    return last;
}

} // namespace

class BenchRegister : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void loadLargeRegister_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("10000") << 10000;
        QTest::newRow("100000") << 100000;
    }
    void loadLargeRegister() {
        QFETCH(int, count);
        const QString folder = registerFolder(m_dir, count);
        QBENCHMARK {
            PhoneRegister reg;
            RegisterFile(folder).load(reg);
        }
    }

    void composeLargeRegister_data() { loadLargeRegister_data(); }
    void composeLargeRegister() {
        QFETCH(int, count);
        PhoneRegister reg;
        fill(reg, count);
        QString error;
        QBENCHMARK {
            RegisterFile::serialize(reg, &error);
        }
    }

    // The floor the disk sets: the same bytes written with fsync and one backup.
    void writeLargeRegister_data() { loadLargeRegister_data(); }
    void writeLargeRegister() {
        QFETCH(int, count);
        const QString folder = registerFolder(m_dir, count);
        PhoneRegister reg;
        fill(reg, count);
        QString error;
        const QByteArray bytes = RegisterFile::serialize(reg, &error);
        QBENCHMARK {
            FileSaver::saveWithBackup(folder + QStringLiteral("Telefonregister.ini"),
                                      folder + QStringLiteral("Telefonregister.bak"), bytes,
                                      &error);
        }
    }

    void saveLargeRegister() {
        PhoneRegister reg;
        RegisterFile file(registerFolder(m_dir, 100000));
        file.load(reg);
        QString error;
        QBENCHMARK {
            file.save(reg, &error);
        }
    }

    void addOneEntryToLargeCard() {
        PhoneRegister reg;
        fill(reg, 100000);
        int i = 0;
        QBENCHMARK {
            reg.card(1)->addLine(
                MakeEntryLine(QStringLiteral("Neu %1").arg(i++), QStringLiteral("1"), 0));
        }
    }

    void programMemory() {
        const QString emptyFolder = registerFolder(m_dir, 0);
        const qint64 none = programResidentKiB(emptyFolder);
        const qint64 large = programResidentKiB(registerFolder(m_dir, 100000));
        qInfo("resident memory of the program: %.1f MiB with an empty register, %.1f MiB with "
              "100,000 entries",
              none / 1024.0, large / 1024.0);
        QVERIFY(none > 0 && large > 0);
    }
};

QTEST_GUILESS_MAIN(BenchRegister)
#include "bench_register.moc"
