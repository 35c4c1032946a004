// Reading an address book of 1,000 contacts from a real Radicale on 127.0.0.1: the cards are
// stored first (not timed), then readContacts is timed with the resident memory before and
// after. Run with `make bench`; the numbers go into docs/DEVELOPMENT.md.
#include "RadicaleServer.h"
#include "contacts/CardDavClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {
constexpr int Contacts = 1000;

qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}
} // namespace

class BenchCardDav : public QObject {
    Q_OBJECT
private slots:
    void readThousand() {
        RadicaleServer server;
        QVERIFY2(server.start(), qPrintable(server.log()));
        QVERIFY(server.makeBook(QStringLiteral("kontakte"), QStringLiteral("Kontakte")));
        QList<std::pair<QString, QByteArray>> cards;
        for (int i = 0; i < Contacts; ++i)
            cards.append({QStringLiteral("k%1").arg(i),
                          QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:k%1\r\nN:Teilnehmer;"
                                         "Nummer %1;;;\r\nFN:Nummer %1 Teilnehmer\r\nTEL;TYPE=CELL:"
                                         "0171 %2\r\nTEL;TYPE=HOME:030 %2\r\nEND:VCARD\r\n")
                              .arg(i)
                              .arg(1000000 + i)
                              .toUtf8()});
        for (qsizetype i = 0; i < cards.size(); i += 100)
            QVERIFY(server.put(QStringLiteral("kontakte"), cards.mid(i, 100)));

        const CardDavTarget target{server.address(), server.user, server.password, true, {}};
        CardDavClient client(target);
        // The network module loaded and the connection set up before the clock starts.
        bool warm = false;
        client.findBooks([&](const CardDavResult&, const QList<CardDavBook>&) { warm = true; });
        QTRY_VERIFY_WITH_TIMEOUT(warm, 60000);
        const qint64 before = residentKiB();
        QElapsedTimer timer;
        timer.start();
        qsizetype read = -1;
        client.readContacts(server.bookUrl(QStringLiteral("kontakte")),
                            [&](const CardDavResult& result, const QList<VCardContact>& contacts) {
                                read = result.ok() ? contacts.size() : 0;
                            });
        QTRY_VERIFY_WITH_TIMEOUT(read >= 0, 60000);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(read, Contacts);
        qInfo("readContacts, %d contacts from Radicale: %lld ms; resident memory %lld KiB before, "
              "%lld KiB after (goal: 3000 ms)",
              Contacts, elapsed, before, residentKiB());
    }
};

QTEST_GUILESS_MAIN(BenchCardDav)
#include "bench_carddav.moc"
