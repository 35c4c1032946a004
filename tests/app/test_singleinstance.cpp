// A later start hands its link to the running program through the network module's local
// socket, also while that program is still starting and not yet listening.
#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <memory>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void laterStartWaitsUntilTheFirstListens() {
        QTemporaryDir runtime;
        SingleInstance first(runtime.path());
        QVERIFY(first.acquire());
        QSignalSpy links(&first, &SingleInstance::linkReceived);
        // The first listens once its first frame is drawn; the later start asks before that.
        QTimer::singleShot(300, &first, [&first] { first.listen(); });
        SingleInstance later(runtime.path());
        std::atomic<bool> answered = false;
        std::unique_ptr<QThread> asking(QThread::create(
            [&] { answered = later.handOverLink(QStringLiteral("tel:+49 30 1234567")); }));
        asking->start();
        QTRY_VERIFY_WITH_TIMEOUT(asking->isFinished(), 20000);
        QVERIFY(answered);
        QTRY_COMPARE(links.count(), 1);
        QCOMPARE(links.first().first().toString(), QStringLiteral("tel:+49 30 1234567"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
