// How the register copes with a large phone book: reading, saving and adding to a card of
// 100,000 entries. Run with `make bench`; the numbers go into the README.
#include "register/CardModel.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int EntryCount = 100000;

void fill(PhoneRegister& reg) {
    QStringList lines;
    lines.reserve(EntryCount);
    for (int i = 0; i < EntryCount; ++i)
        lines << MakeEntryLine(
            QStringLiteral("Teilnehmer %1, Vorname").arg((i * 7919) % EntryCount),
            QStringLiteral("49 89 %1").arg(i), i % 2);
    reg.card(1)->setLines(lines);
}

} // namespace

class BenchRegister : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        PhoneRegister reg;
        fill(reg);
        QString error;
        QVERIFY2(RegisterFile(m_dir.path()).save(reg, &error), qPrintable(error));
    }

    void loadLargeRegister() {
        QBENCHMARK {
            PhoneRegister reg;
            RegisterFile(m_dir.path()).load(reg);
        }
    }

    void saveLargeRegister() {
        PhoneRegister reg;
        RegisterFile file(m_dir.path());
        file.load(reg);
        QString error;
        QBENCHMARK {
            file.save(reg, &error);
        }
    }

    void addOneEntryToLargeCard() {
        PhoneRegister reg;
        fill(reg);
        int i = 0;
        QBENCHMARK {
            reg.card(1)->addLine(
                MakeEntryLine(QStringLiteral("Neu %1").arg(i++), QStringLiteral("1"), 0));
        }
    }
};

QTEST_GUILESS_MAIN(BenchRegister)
#include "bench_register.moc"
