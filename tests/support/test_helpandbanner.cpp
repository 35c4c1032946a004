#include "support/HelpAndBanner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestHelpAndBanner : public QObject {
    Q_OBJECT
private slots:
    void helpFallsBack_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("opened"); // empty: the "not found" message
        QTest::newRow("none") << QStringList{} << ""
                              << "";
        QTest::newRow("index only") << QStringList{"index.htm"} << ""
                                    << "index.htm";
        QTest::newRow("both") << QStringList{"hilfe.htm", "index.htm"} << ""
                              << "hilfe.htm";
        QTest::newRow("asked for an existing one")
            << QStringList{"hilfe.htm", "anleitung.htm"} << "anleitung.htm"
            << "anleitung.htm";
        QTest::newRow("asked for a missing one") << QStringList{"hilfe.htm"} << "fehlt.htm"
                                                 << "hilfe.htm";
    }
    void helpFallsBack() {
        QFETCH(QStringList, present);
        QFETCH(QString, asked);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        for (const QString& name : present) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = asked.isEmpty() ? QString() : folder + asked;
        QCOMPARE(HelpAndBanner::HelpFilePath(path, folder),
                 opened.isEmpty() ? QString() : folder + opened);
    }

    void bannerFollowsTheExecutablesAge_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("partner");
        QTest::newRow("today") << 0 << true;
        QTest::newRow("60 days") << 60 << true;
        QTest::newRow("61 days") << 61 << false;
        QTest::newRow("a year") << 365 << false;
    }
    void bannerFollowsTheExecutablesAge() {
        QFETCH(int, days);
        QFETCH(bool, partner);
        const QDate today(2026, 3, 1);
        QCOMPARE(HelpAndBanner::ShowsPartnerBanner(today.addDays(-days), today), partner);
    }
};

QTEST_GUILESS_MAIN(TestHelpAndBanner)
#include "test_helpandbanner.moc"
