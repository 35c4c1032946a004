// Who is calling, in a phone book of 100,000 entries over the four cards: the index built once
// after a change, then the look-up per call (libphonenumber on the caller's number and one hash
// look-up). Run with `make bench`; the numbers go into docs/DEVELOPMENT.md.
#include "register/CardModel.h"
#include "register/PhoneRegister.h"
#include "router/CallerDirectory.h"

#include <QElapsedTimer>
#include <QtTest>

class BenchCallers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        constexpr int PerCard = 25000;
        for (int card = 1; card <= PhoneRegister::CardCount; ++card) {
            QList<PhoneEntry> entries;
            for (int i = 0; i < PerCard; ++i)
                entries.append({QStringLiteral("Teilnehmer %1-%2").arg(card).arg(i),
                                QStringLiteral("49 %1 %2").arg(30 + card).arg(1000000 + i), 0});
            m_book.card(card)->setEntries(entries);
        }
        QElapsedTimer timer;
        timer.start();
        m_directory.find(QStringLiteral("0311000000"));
        qInfo("index of 100,000 entries built in %lld ms", timer.elapsed());
    }
    void lookup_data() {
        QTest::addColumn<QString>("number");
        QTest::newRow("found, last card") << QStringLiteral("0341024999");
        QTest::newRow("not found") << QStringLiteral("0891234567");
    }
    void lookup() {
        QFETCH(QString, number);
        QBENCHMARK {
            m_directory.find(number);
        }
    }

private:
    PhoneRegister m_book;
    CallerDirectory m_directory{&m_book};
};

QTEST_GUILESS_MAIN(BenchCallers)
#include "bench_callers.moc"
