#include "router/CallJournal.h"
#include "router/CallMonitorLine.h"
#include "router/CallTracker.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Day(2026, 12, 8);
const QStringList Kinds{"answered", "missed", "rejected", "dialed"};

// "id kind number HH:mm seconds device [~]" per call, ", " between calls; "-": withheld.
QList<JournalCall> routerList(const QString& text) {
    QList<JournalCall> calls;
    for (const QString& one : text.split(", ", Qt::SkipEmptyParts)) {
        const QStringList f = one.split(' ');
        JournalCall call;
        call.routerId = f.at(0).toLongLong();
        call.kind = JournalCall::Kind(Kinds.indexOf(f.at(1)));
        call.number = f.at(2) == "-" ? QString() : f.at(2);
        call.start = QDateTime(Day, QTime::fromString(f.at(3), "HH:mm"));
        call.durationSeconds = f.at(4).toInt();
        call.device = f.at(5);
        call.underWay = f.value(6) == "~";
        calls << call;
    }
    return calls;
}

// The same form, the start to the second, and "unseen" for a missed call nobody looked at.
QStringList shown(const CallJournal& journal) {
    QStringList rows;
    for (const JournalEntry& e : journal.entries())
        rows << (QStringList{QString::number(e.call.routerId), Kinds.at(int(e.call.kind)),
                             e.call.number.isEmpty() ? "-" : e.call.number,
                             e.call.start.toString("HH:mm:ss"),
                             QString::number(e.call.durationSeconds), e.call.device}
                     .join(' ') +
                 (e.call.underWay ? " ~" : "") + (e.seen ? "" : " unseen"))
                    .trimmed();
    return rows;
}

} // namespace

class TestCallJournal : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("Anrufliste.db"); }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(name));
    }

    // monitor: call monitor lines after "08.12.26 " ("seen": the user looked); router: lists
    // merged in turn; expected: the journal, newest first, as it reads again from the file.
    void merge_data() {
        QTest::addColumn<QStringList>("monitor");
        QTest::addColumn<QStringList>("router");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("router list merged into monitor calls")
            << QStringList{"10:15:30;RING;1;0891234567;555;SIP0;", "10:15:55;DISCONNECT;1;0;",
                           "10:20:10;CALL;2;10;555;0175123;SIP0;", "10:20:20;CONNECT;2;10;0175123;",
                           "10:21:20;DISCONNECT;2;60;"}
            << QStringList{"6 dialed 0175123 10:20 60 FON1, 5 missed 0891234567 10:15 0 DECT"}
            << QStringList{"6 dialed 0175123 10:20:10 60 FON1",
                           "5 missed 0891234567 10:15:30 0 DECT unseen"};
        QTest::newRow("monitor calls under way, answered, ended")
            << QStringList{"09:00:00;RING;1;089;555;SIP0;", "09:00:05;CONNECT;1;10;089;",
                           "09:00:10;RING;2;040;555;SIP0;", "09:00:20;CALL;3;10;555;030;SIP0;",
                           "09:05:05;DISCONNECT;1;300;"}
            << QStringList{}
            << QStringList{"0 dialed 030 09:00:20 0  ~", "0 missed 040 09:00:10 0  ~",
                           "0 answered 089 09:00:00 300"};
        QTest::newRow("same router id updates the call")
            << QStringList{}
            << QStringList{"7 answered 089 10:00 0 FON1 ~", "7 answered 089 10:00 65 FON1"}
            << QStringList{"7 answered 089 10:00:00 65 FON1"};
        QTest::newRow("two minutes either side, not a second more")
            << QStringList{"10:17:00;RING;1;089;555;SIP0;", "10:17:10;DISCONNECT;1;0;",
                           "10:22:01;RING;2;089;555;SIP0;", "10:22:10;DISCONNECT;2;0;"}
            << QStringList{"6 missed 089 10:20 0 DECT, 5 missed 089 10:15 0 DECT"}
            << QStringList{"0 missed 089 10:22:01 0  unseen", "6 missed 089 10:20:00 0 DECT unseen",
                           "5 missed 089 10:17:00 0 DECT unseen"};
        QTest::newRow("the closest call, each once")
            << QStringList{"10:00:10;RING;1;089;555;SIP0;", "10:00:15;DISCONNECT;1;0;",
                           "10:01:50;RING;2;089;555;SIP0;", "10:01:55;DISCONNECT;2;0;"}
            << QStringList{"5 missed 089 10:02 0 DECT"}
            << QStringList{"5 missed 089 10:01:50 0 DECT unseen",
                           "0 missed 089 10:00:10 0  unseen"};
        QTest::newRow("withheld numbers match each other only")
            << QStringList{"10:00:20;RING;1;;555;SIP0;", "10:00:30;DISCONNECT;1;0;"}
            << QStringList{"6 missed 089 10:00 0 DECT, 5 missed - 10:00 0 DECT"}
            << QStringList{"5 missed - 10:00:20 0 DECT unseen",
                           "6 missed 089 10:00:00 0 DECT unseen"};
        QTest::newRow("incoming and outgoing stay apart")
            << QStringList{"10:00:10;CALL;1;10;555;089;SIP0;", "10:00:20;DISCONNECT;1;0;"}
            << QStringList{"5 answered 089 10:00 0 FON1"}
            << QStringList{"0 dialed 089 10:00:10 0", "5 answered 089 10:00:00 0 FON1"};
        QTest::newRow("seen stays seen, a new missed call is not")
            << QStringList{"10:00:10;RING;1;089;555;SIP0;", "10:00:20;DISCONNECT;1;0;", "seen"}
            << QStringList{"6 missed 0175 11:00 0 DECT, 5 missed 089 10:00 0 DECT"}
            << QStringList{"6 missed 0175 11:00:00 0 DECT unseen", "5 missed 089 10:00:10 0 DECT"};
    }
    void merge() {
        QFETCH(QStringList, monitor);
        QFETCH(QStringList, router);
        QFETCH(QStringList, expected);
        {
            CallJournal journal(path());
            CallTracker tracker;
            journal.follow(&tracker);
            QDateTime now;
            journal.setClock([&] { return now; });
            for (const QString& step : monitor) {
                if (step == "seen") {
                    journal.markMissedSeen();
                    continue;
                }
                now = QDateTime(Day, QTime::fromString(step.left(8), "HH:mm:ss"));
                tracker.handle(CallEvent::fromLine("08.12.26 " + step.toLatin1()));
            }
            for (const QString& list : router)
                journal.mergeRouterList(routerList(list));
            QCOMPARE(shown(journal), expected);
            QCOMPARE(journal.unseenMissed(), int(expected.filter("unseen").size()));
            QVERIFY(journal.storeProblem().isEmpty());
        }
        // The monitor's calls under way end with the run.
        for (QString& row : expected) {
            if (row.startsWith("0 "))
                row = row.remove(" ~").trimmed();
        }
        CallJournal reopened(path());
        reopened.open();
        QCOMPARE(shown(reopened), expected);
    }

    // The newest calls stay, in the journal and in its file.
    void keepsTheNewest() {
        QList<JournalCall> calls = routerList("1 answered 089 10:00 0 FON1");
        for (int i = 2; i <= CallJournal::MaxEntries; ++i)
            calls.prepend(calls.first()), calls.first().routerId = i,
                                          calls.first().start = calls.first().start.addSecs(600);
        CallJournal journal(path());
        journal.mergeRouterList(calls);
        journal.setClock([&] { return calls.first().start.addSecs(60); });
        journal.monitorRinging("1", "040", "555");
        journal.monitorMissed("1");
        QCOMPARE(journal.entries().size(), CallJournal::MaxEntries);
        QCOMPARE(journal.entries().last().call.routerId, 2);
        CallJournal reopened(path());
        reopened.open();
        QCOMPARE(shown(reopened), shown(journal));
    }

    // What lies at the journal's place before the start, and what the journal makes of it.
    void store_data() {
        QTest::addColumn<QByteArray>("content"); // "locked": held by another connection
        QTest::addColumn<QString>("problem");    // words the status line shows
        QTest::addColumn<int>("setAside");       // damaged copies beside it afterwards
        QTest::newRow("no file yet") << QByteArray() << "" << 0;
        QTest::newRow("not a database") << QByteArray(8192, 'x') << "" << 1;
        QByteArray header("SQLite format 3\0", 16);
        QTest::newRow("damaged database") << header + QByteArray(4096, '\xff') << "" << 1;
        QTest::newRow("locked by another program")
            << QByteArray("locked")
            << "„" + path() + "“ kann nicht geöffnet werden: Ein anderes Programm hat sie gesperrt."
            << 0;
    }
    void store() {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QFETCH(int, setAside);
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        if (content == "locked") {
            other.setDatabaseName(path());
            QVERIFY(other.open());
            QSqlQuery query(other);
            QVERIFY(query.exec("CREATE TABLE t (a)") && query.exec("BEGIN EXCLUSIVE"));
        } else if (!content.isEmpty()) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        {
            CallJournal journal(path());
            QSignalSpy problems(&journal, &CallJournal::problem);
            journal.monitorRinging("1", "089", "555");
            QCOMPARE(journal.entries().size(), 1);
            QVERIFY2(journal.storeProblem().contains(problem), qPrintable(journal.storeProblem()));
            QCOMPARE(journal.storeProblem().isEmpty(), problem.isEmpty());
            QCOMPARE(problems.size(), int(setAside || !problem.isEmpty()));
            const QStringList copies =
                QDir(m_dir.path()).entryList({"Anrufliste-defekt-*.db"}, QDir::Files);
            QCOMPARE(copies.size(), setAside);
            if (setAside) {
                QVERIFY(QRegularExpression(R"(^Anrufliste-defekt-\d{8}-\d{6}\.db$)")
                            .match(copies.first())
                            .hasMatch());
                QFile copy(m_dir.filePath(copies.first()));
                QVERIFY(copy.open(QIODevice::ReadOnly));
                QCOMPARE(copy.readAll(), content);
            }
        }
        QSqlDatabase::database("other", false).close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
        CallJournal reopened(path());
        reopened.open();
        QVERIFY(reopened.storeProblem().isEmpty());
        QCOMPARE(reopened.entries().size(), problem.isEmpty() ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestCallJournal)
#include "test_calljournal.moc"
