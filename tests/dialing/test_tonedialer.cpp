// What the tone dialer does when a dial request or a sound failure comes in the middle of a
// number: both need a player that can be stopped at a chosen file. The real player is proven end
// to end (test_e2e_tones).
#include "dialing/SoundPlayer.h"
#include "dialing/ToneDialer.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

namespace {

// Writes down what it is asked; fails where told to.
class RecordingPlayer : public SoundPlayer {
public:
    explicit RecordingPlayer(QStringList* log) : m_log(log) {}

    QString lostAt; // the file at which the output fails

    bool open() override {
        *m_log << QStringLiteral("open");
        return true;
    }
    PlayResult play(const QString& wavePath) override {
        const QString file = QFileInfo(wavePath).fileName();
        *m_log << file;
        return file == lostAt ? PlayResult::OutputLost : PlayResult::Played;
    }
    void close() override { *m_log << QStringLiteral("close"); }
    QString errorString() const override { return QStringLiteral("Connection refused"); }

private:
    QStringList* m_log;
};

} // namespace

class TestToneDialer : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_log.clear();
        auto player = std::make_unique<RecordingPlayer>(&m_log);
        m_player = player.get();
        m_dialer = std::make_unique<ToneDialer>(QStringLiteral("/prog/snd/"), std::move(player));
    }

    // The window's events run between keys; a dial request among them must not sound over the
    // number that is playing.
    void aSecondRequestWhileTonesPlayIsIgnored() {
        bool ranWhileDialing = false;
        QMetaObject::invokeMethod(
            m_dialer.get(),
            [&] {
                ranWhileDialing = m_dialer->isDialing();
                m_dialer->dial(QStringLiteral("ATDT9;H\r"));
            },
            Qt::QueuedConnection);
        m_dialer->dial(QStringLiteral("ATDT12;H\r"));
        QVERIFY(ranWhileDialing);
        QCOMPARE(m_log, QStringList({"open", "1.WAV", "s.WAV", "2.WAV", "s.WAV", "close"}));

        m_log.clear();
        m_dialer->dial(QStringLiteral("ATDT9;H\r"));
        QCOMPARE(m_log, QStringList({"open", "9.WAV", "s.WAV", "close"}));
    }

    void outputLostDuringTheNumberStopsAndIsReportedOnce() {
        m_player->lostAt = QStringLiteral("2.WAV");
        QSignalSpy noOutput(m_dialer.get(), &ToneDialer::noSoundOutput);
        m_dialer->dial(QStringLiteral("ATDT123;H\r"));
        QCOMPARE(m_log, QStringList({"open", "1.WAV", "s.WAV", "2.WAV", "close"}));
        QCOMPARE(noOutput.count(), 1);
    }

private:
    QStringList m_log;
    RecordingPlayer* m_player = nullptr;
    std::unique_ptr<ToneDialer> m_dialer;
};

QTEST_GUILESS_MAIN(TestToneDialer)
#include "test_tonedialer.moc"
