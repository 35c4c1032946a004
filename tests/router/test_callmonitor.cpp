#include "e2e/ScriptedCallMonitor.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "router/CallListReader.h"
#include "router/CallMonitorConnection.h"
#include "router/CallMonitorLine.h"
#include "router/CallTracker.h"
#include "router/CallerDirectory.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
const QByteArray Ring = "08.12.26 10:15:02;RING;0;0891234567;5551234;SIP0;";
} // namespace

class TestCallMonitor : public QObject {
    Q_OBJECT
private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("number");
        const auto row = [](const char* name, const QByteArray& line, int type, const char* id,
                            const char* number) {
            QTest::newRow(name) << line << type << QString(id) << QString(number);
        };
        row("ring", Ring, CallEvent::Ring, "0", "0891234567");
        row("ring withheld", "08.12.26 10:15:02;RING;1;;5551234;SIP0;", CallEvent::Ring, "1", "");
        row("ring trailing #", "08.12.26 10:15:02;RING;2;01755290123#;5551234;POTS;",
            CallEvent::Ring, "2", "01755290123");
        row("call", "08.12.26 10:15:02;CALL;3;10;5551234;00431555123;SIP1;", CallEvent::Call, "3",
            "00431555123");
        row("connect", "08.12.26 10:15:09;CONNECT;0;10;0891234567;", CallEvent::Connect, "0", "");
        row("disconnect", "08.12.26 10:16:09;DISCONNECT;0;60;", CallEvent::Disconnect, "0", "");
        row("unknown type", "08.12.26 10:16:09;PARK;0;60;", CallEvent::Unknown, "0", "");
        row("ring missing fields", "08.12.26 10:15:02;RING;0;0891234567;", CallEvent::Invalid, "",
            "");
        row("disconnect without duration", "08.12.26 10:16:09;DISCONNECT;0;", CallEvent::Invalid,
            "", "");
        row("caller not a number", "08.12.26 10:15:02;RING;0;<b>Bank</b>;5551234;SIP0;",
            CallEvent::Invalid, "", "");
        row("bytes not text",
            "08.12.26 10:15:02;RING;0;089\xff\x01"
            "1;5551234;SIP0;",
            CallEvent::Invalid, "", "");
        row("id not a number", "08.12.26 10:15:02;RING;x;0891234567;5551234;SIP0;",
            CallEvent::Invalid, "", "");
        row("no time", "RING;0;0891234567;5551234;SIP0;", CallEvent::Invalid, "", "");
        row("empty", "", CallEvent::Invalid, "", "");
    }
    void lines() {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QFETCH(QString, id);
        QFETCH(QString, number);
        const CallEvent event = CallEvent::fromLine(line);
        QCOMPARE(int(event.type), type);
        QCOMPARE(event.id, id);
        QCOMPARE(event.number, number);
    }

    void callers_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name"); // empty: nobody
        QTest::addColumn<int>("card");
        QTest::newRow("national") << "0891234567"
                                  << "Muster, Anna" << 2;
        QTest::newRow("own area code omitted") << "1234567"
                                               << "Muster, Anna" << 2;
        QTest::newRow("mobile, trailing #") << "01755290123#"
                                            << "Mobil, Max" << 3;
        QTest::newRow("international") << "00431555123"
                                       << "Zander, Ute" << 4;
        QTest::newRow("stored without blanks") << "03012345"
                                               << "Berg, Otto" << 1;
        QTest::newRow("duplicate: first card, first entry") << "040998877"
                                                            << "Alt, Erste" << 1;
        QTest::newRow("stored with a dial suffix") << "0309876543"
                                                   << "Durchwahl, Dora" << 1;
        QTest::newRow("not found") << "0697777777"
                                   << "" << 0;
        QTest::newRow("internal call") << "**610"
                                       << "" << 0;
    }
    void callers() {
        PhoneRegister book;
        book.card(1)->setLines({MakeEntryLine("Berg, Otto", "49 3012345", 0),
                                MakeEntryLine("Zeh, Letzte", "49 40 998877", 0),
                                MakeEntryLine("Alt, Erste", "49 40 998877", 0),
                                MakeEntryLine("Durchwahl, Dora", "49 30 9876543,,22", 0)});
        book.card(2)->setLines({MakeEntryLine("Muster, Anna", "49 89 1234567", 0),
                                MakeEntryLine("Doppelt, Zweite", "49 40 998877", 0)});
        book.card(3)->addLine(MakeEntryLine("Mobil, Max", "49 175 5290123", 1));
        CallerDirectory directory(&book);
        QVERIFY(!directory.find(QStringLiteral("00431555123")));
        // A change after the first look-up must be seen.
        book.card(4)->addLine(MakeEntryLine("Zander, Ute", "43 1 555123", 0));

        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(int, card);
        const auto caller = directory.find(number);
        QCOMPARE(caller.has_value(), !name.isEmpty());
        if (caller) {
            QCOMPARE(caller->name, name);
            QCOMPARE(caller->card, card);
            QCOMPARE(caller->cardName, book.cardNames.at(caller->card - 1));
        }
    }

    // Each event as "RING 1" etc.; what the tracker announced in order.
    void calls_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("announced");
        QTest::newRow("missed") << QStringList{"RING 1", "DISCONNECT 1"}
                                << QStringList{"ringing 1", "missed 1"};
        QTest::newRow("answered") << QStringList{"RING 1", "CONNECT 1", "DISCONNECT 1"}
                                  << QStringList{"ringing 1", "answered 1"};
        QTest::newRow("repeated ring, one call")
            << QStringList{"RING 1", "RING 1", "RING 2", "DISCONNECT 2", "RING 2"}
            << QStringList{"ringing 1", "ringing 2", "missed 2", "ringing 2"};
        QTest::newRow("outgoing shows nothing")
            << QStringList{"CALL 3", "CONNECT 3", "DISCONNECT 3", "DISCONNECT 4"} << QStringList{};
        QTest::newRow("id of a call whose end was lost")
            << QStringList{"CALL 3", "RING 3", "DISCONNECT 3"}
            << QStringList{"ringing 3", "missed 3"};
        QTest::newRow("id of a call under way")
            << QStringList{"RING 4", "CONNECT 4", "RING 4", "DISCONNECT 4"}
            << QStringList{"ringing 4", "answered 4", "ringing 4", "missed 4"};
        QStringList flood, announced;
        for (int id = 100; id < 100 + CallTracker::MaxOpenCalls; ++id)
            flood << QString("RING %1").arg(id), announced << QString("ringing %1").arg(id);
        QTest::newRow("full: the oldest open call goes")
            << flood + QStringList{"RING 7", "DISCONNECT 7", "DISCONNECT 100"}
            << announced + QStringList{"abandoned 100", "ringing 7", "missed 7"};
        QTest::newRow("lost ends are forgotten")
            << QStringList{"RING 1",       "CALL 2",     "WAIT 301", "RING 3",
                           "DISCONNECT 1", "WAIT 43200", "CALL 2",   "DISCONNECT 3"}
            << QStringList{"ringing 1", "abandoned 1", "ringing 3", "abandoned 3"};
    }
    void calls() {
        CallTracker tracker;
        QStringList seen;
        connect(&tracker, &CallTracker::ringing, this,
                [&](const QString& id) { seen << "ringing " + id; });
        connect(&tracker, &CallTracker::answered, this,
                [&](const QString& id) { seen << "answered " + id; });
        connect(&tracker, &CallTracker::missed, this,
                [&](const QString& id) { seen << "missed " + id; });
        connect(&tracker, &CallTracker::abandoned, this,
                [&](const QString& id) { seen << "abandoned " + id; });
        qint64 now = 0;
        tracker.setClock([&] { return now; });
        const QHash<QString, CallEvent::Type> types{{"RING", CallEvent::Ring},
                                                    {"CALL", CallEvent::Call},
                                                    {"CONNECT", CallEvent::Connect},
                                                    {"DISCONNECT", CallEvent::Disconnect}};
        QFETCH(QStringList, events);
        QFETCH(QStringList, announced);
        for (const QString& event : events) {
            if (event.startsWith("WAIT ")) {
                now += event.section(' ', 1).toLongLong() * 1000;
                continue;
            }
            tracker.handle(
                {types.value(event.section(' ', 0, 0)), event.section(' ', 1), "089", {}});
        }
        QCOMPARE(seen, announced);
    }

    // The router's call list: what is taken, what is left out, what refuses the whole list.
    void callList_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>(
            "calls"); // "kind number device start seconds" per call; "!" refused
        const auto call = [](const char* fields) {
            return QByteArray("<Call>") + fields + "</Call>";
        };
        const QByteArray answered = call("<Id>7</Id><Type>1</Type><Caller>0891234567</Caller>"
                                         "<Called>5551234</Called><Device>FON1</Device>"
                                         "<Date>08.12.26 10:15</Date><Duration>1:05</Duration>");
        const auto list = [](const QByteArray& calls) {
            return "<?xml version=\"1.0\"?><root><timestamp>1</timestamp>" + calls + "</root>";
        };
        QTest::newRow("answered") << list(answered) << "0 0891234567 FON1 2026-12-08T10:15 3900";
        QTest::newRow("outgoing, missed withheld, rejected, under way")
            << list(call("<Type>3</Type><Caller>5551234</Caller><Called>0043 1 555</Called>"
                         "<Date>01.01.26 00:00</Date>") +
                    call("<Type>2</Type><Caller></Caller><Date>01.01.26 00:01</Date>") +
                    call("<Type>10</Type><Caller>**611</Caller><Date>01.01.26 00:02</Date>") +
                    call("<Type>11</Type><Called>+49301</Called><Date>01.01.26 00:03</Date>"))
            << "3 00431555  2026-01-01T00:00 0|1   2026-01-01T00:01 0|2 **611  2026-01-01T00:02 0|"
               "3 +49301  2026-01-01T00:03 0";
        QTest::newRow("unknown type, a date that does not exist")
            << list(call("<Type>4</Type><Date>01.01.26 00:00</Date>") +
                    call("<Type>1</Type><Date>31.02.26 10:00</Date>") + answered)
            << "0 0891234567 FON1 2026-12-08T10:15 3900";
        QTest::newRow("a field of a megabyte is cut")
            << list(call("<Type>1</Type><Date>01.01.26 00:00</Date><Device>" +
                         QByteArray(1 << 20, 'x') + "</Device>"))
            << "0  " + QString(CallListReader::MaxFieldLength, 'x') + " 2026-01-01T00:00 0";
        QTest::newRow("document type")
            << "<!DOCTYPE root [<!ENTITY x \"y\">]>" + list(answered) << "!";
        QTest::newRow("too large")
            << list(answered + QByteArray(CallListReader::MaxBytes, ' ')) << "!";
        QTest::newRow("deep") << list(QByteArray(100, '<').replace("<", "<a>") + answered) << "!";
        QTest::newRow("not a call list") << QByteArray("<html><body>Login</body></html>") << "!";
        QTest::newRow("broken") << list(answered).chopped(3) << "!";
    }
    void callList() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, calls);
        const CallListReader::Result result = CallListReader::read(xml);
        QCOMPARE(result.ok, calls != "!");
        QCOMPARE(result.error.isEmpty(), result.ok);
        QStringList read;
        for (const JournalCall& c : result.calls)
            read << QString("%1 %2 %3 %4 %5")
                        .arg(int(c.kind))
                        .arg(c.number, c.device, c.start.toString(Qt::ISODate).left(16))
                        .arg(c.durationSeconds);
        QCOMPARE(read.join('|'), result.ok ? calls : QString());
    }

    void pauses() {
        QList<int> pauses;
        for (int failures = 1; failures <= 8; ++failures)
            pauses << CallMonitorConnection::pauseSeconds(failures);
        QCOMPARE(pauses, (QList<int>{2, 4, 8, 16, 32, 60, 60, 60}));
    }

    // Whole lines however the bytes arrive; a flood of repeats rings once; a dropped or refused
    // connection says so and comes back by itself.
    void connection() {
        ScriptedCallMonitor router;
        QVERIFY(router.listen());
        CallMonitorConnection connection;
        CallTracker tracker;
        QSignalSpy lines(&connection, &CallMonitorConnection::lineReceived);
        QSignalSpy rings(&tracker, &CallTracker::ringing);
        connect(&connection, &CallMonitorConnection::lineReceived, &tracker,
                [&](const QByteArray& line) { tracker.handle(CallEvent::fromLine(line)); });
        connection.start(QStringLiteral("127.0.0.1"), router.port());
        QVERIFY(router.waitForClient(Poll::ChangeLimitMs));
        QVERIFY(Poll::until([&] { return connection.stateText() == "verbunden"; }, 5000));

        QVERIFY(router.sendSplit({Ring.left(20), Ring.mid(20) + "\r", "\n" + Ring + "\n" + Ring,
                                  "\r\n" + QByteArray(1500, 'x'), QByteArray(1500, 'y') + "\n"}));
        QVERIFY(Poll::until([&] { return lines.size() == 3; }, Poll::ChangeLimitMs));
        for (const auto& line : lines)
            QCOMPARE(line.at(0).toByteArray(), Ring);
        QCOMPARE(connection.discardedLines(), 1);

        QByteArray flood;
        for (int i = 0; i < 10000; ++i)
            flood += i % 3 ? Ring + "\r\n" : QByteArray("08.12.26;RING;;\xff\r\n");
        QVERIFY(router.send(flood));
        QVERIFY(Poll::until([&] { return lines.size() == 3 + 10000; }, Poll::ChangeLimitMs));
        QCOMPARE(rings.size(), 1);

        router.drop();
        QVERIFY(
            Poll::until([&] { return connection.state() == CallMonitorConnection::State::Waiting; },
                        Poll::ChangeLimitMs));
        QCOMPARE(connection.stateText(), "getrennt, neuer Versuch in 2 s (vom Router beendet)");
        QVERIFY(router.waitForClient(Poll::ChangeLimitMs));
        router.close();
        QVERIFY(Poll::until([&] { return connection.stateText().contains("#96*5*"); },
                            Poll::ChangeLimitMs));
        QVERIFY(connection.stateText().startsWith("getrennt, neuer Versuch in "));
        connection.stop();
        QCOMPARE(connection.stateText(), "aus");
    }
};

QTEST_GUILESS_MAIN(TestCallMonitor)
#include "test_callmonitor.moc"
