// The call journal with 10,000 calls: opening it (the module with QtSql loaded, the file checked
// and read) and showing it on the calls page in a fresh process, its time and the memory it adds,
// and merging a router list of 400 calls into it. Run with `make bench`; the numbers go into
// docs/DEVELOPMENT.md.
#include "ResidentMemory.h"
#include "app/CallJournalPage.h"
#include "router/CallJournal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

// `count` calls a minute apart, the newest first, ids from `firstId` on; every fifth missed.
QList<JournalCall> routerCalls(int count, qint64 firstId, const QDateTime& newest) {
    QList<JournalCall> calls;
    for (int i = 0; i < count; ++i) {
        JournalCall call;
        call.routerId = firstId + count - 1 - i;
        call.kind = i % 5 ? JournalCall::Kind::Answered : JournalCall::Kind::Missed;
        call.number = QStringLiteral("089%1").arg(1000000 + call.routerId);
        call.device = QStringLiteral("FON1: Telefon");
        call.start = newest.addSecs(-60 * i);
        call.durationSeconds = 60;
        calls << call;
    }
    return calls;
}

const QDateTime Newest(QDate(2026, 12, 8), QTime(12, 0));

// In a process of its own: the first open there loads what the program would load. Prints the
// calls read, the milliseconds to open and to have the page drawn, and the KiB it all added.
int openOnce(const QString& path) {
    // As in the program: the page is built with the window and waits behind a card until shown.
    QStackedWidget window;
    window.addWidget(new QWidget);
    auto* page = new CallJournalPage;
    window.addWidget(page);
    window.resize(700, 500);
    window.show();
    window.repaint();
    QCoreApplication::processEvents();
    const qint64 before = residentKiB(QCoreApplication::applicationPid());
    QElapsedTimer clock;
    clock.start();
    CallJournal journal(path);
    journal.open();
    const qint64 opened = clock.elapsed();
    page->setEntries(journal.entries());
    window.setCurrentWidget(page);
    window.repaint();
    QCoreApplication::processEvents();
    const qint64 shown = clock.elapsed();
    std::printf("%d %lld %lld %lld\n", int(journal.entries().size()), opened, shown,
                residentKiB(QCoreApplication::applicationPid()) - before);
    return journal.storeProblem().isEmpty() ? 0 : 1;
}

} // namespace

class BenchJournal : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_full;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_full = m_dir.filePath(QStringLiteral("Anrufliste.db"));
        CallJournal journal(m_full);
        journal.mergeRouterList(routerCalls(CallJournal::MaxEntries, 1, Newest));
        QCOMPARE(journal.entries().size(), CallJournal::MaxEntries);
    }

    void openLargeJournal() {
        QList<qint64> opened, shown, kib;
        for (int run = 0; run < 5; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("open"), m_full});
            QVERIFY(child.waitForFinished(60000));
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            QCOMPARE(fields.value(0).toInt(), CallJournal::MaxEntries);
            opened << fields.value(1).toLongLong();
            shown << fields.value(2).toLongLong();
            kib << fields.value(3).toLongLong();
        }
        for (auto* list : {&opened, &shown, &kib})
            std::sort(list->begin(), list->end());
        qInfo("10,000 calls in a fresh process: opened in %lld-%lld ms (median %lld), the page "
              "drawn after %lld-%lld ms (median %lld), %.1f-%.1f MiB more resident memory",
              opened.first(), opened.last(), opened.at(2), shown.first(), shown.last(), shown.at(2),
              kib.first() / 1024.0, kib.last() / 1024.0);
    }

    void mergeRouterList_data() {
        QTest::addColumn<qint64>("firstId");
        QTest::newRow("400 new calls") << qint64(CallJournal::MaxEntries + 1);
        QTest::newRow("400 calls, 350 known") << qint64(CallJournal::MaxEntries - 349);
    }
    void mergeRouterList() {
        QFETCH(qint64, firstId);
        const QList<JournalCall> calls =
            routerCalls(400, firstId, Newest.addSecs(60 * (firstId - CallJournal::MaxEntries)));
        QList<qint64> ms;
        for (int run = 0; run < 5; ++run) {
            const QString copy = m_dir.filePath(QStringLiteral("Kopie%1.db").arg(run));
            QFile::remove(copy);
            QVERIFY(QFile::copy(m_full, copy));
            CallJournal journal(copy);
            journal.open();
            QElapsedTimer clock;
            clock.start();
            journal.mergeRouterList(calls);
            ms << clock.elapsed();
            QCOMPARE(journal.entries().size(), CallJournal::MaxEntries);
            QVERIFY(journal.storeProblem().isEmpty());
        }
        std::sort(ms.begin(), ms.end());
        qInfo("merged into 10,000 calls: %lld-%lld ms (median %lld)", ms.first(), ms.last(),
              ms.at(2));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], "open") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return openOnce(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    BenchJournal bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_journal.moc"
