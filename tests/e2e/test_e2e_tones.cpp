// Dialing through the loudspeaker: the real program plays into a private sound server, and two
// independent decoders read the digits back from the recording.
#include "DtmfDecoders.h"
#include "E2eTestCase.h"
#include "Poll.h"
#include "ProgramNames.h"
#include "ProgramRun.h"
#include "SoundServer.h"
#include "XDesktop.h"
#include "XWindows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace ProgramNames;

// Loudspeaker, outside-line prefix "0", at home in Munich; one entry in London.
const QByteArray LoudspeakerRegister =
    QByteArrayLiteral("[KURBELFON VERSION 4]\r\n"
                      "1,1,0,0,\"0\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                      "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n"
                      "1,\"London\",\"44 20 7946 1358\",0\r\n");
// Outside line, international prefix, the number without its blanks.
const QString LondonKeys = QStringLiteral("000442079461358");

} // namespace

class TestE2eTones : public E2eTestCase {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(startDesktop());
        QVERIFY(m_records.isValid());
    }
    void cleanup() {
        endRun();
        m_sound.reset();
    }

    void bothDecodersHearTheNumber() {
        QVERIFY(startSoundServer());
        QVERIFY(startProgram(m_sound->address()));
        const QString record = m_records.filePath(QStringLiteral("london.raw"));
        QVERIFY2(m_sound->startRecording(record), qPrintable(m_sound->errorString()));
        QVERIFY(dialFirstEntry());
        QVERIFY2(waitForDialed(record, LondonKeys.size()),
                 qPrintable(DtmfDecoders::multimon(record)));
        QVERIFY(m_sound->stopRecording());
        QCOMPARE(DtmfDecoders::multimon(record), LondonKeys);
        QCOMPARE(DtmfDecoders::dtmf2num(record), LondonKeys);
    }

    // The other keys still sound, in their order.
    void aMissingKeyFileIsSkipped() {
        QVERIFY(startSoundServer());
        QVERIFY(startProgram(m_sound->address()));
        QVERIFY(QFile::remove(m_run->filePath(QStringLiteral("snd/4.WAV"))));
        const QString record = m_records.filePath(QStringLiteral("without4.raw"));
        QVERIFY2(m_sound->startRecording(record), qPrintable(m_sound->errorString()));
        QVERIFY(dialFirstEntry());
        const QString expected = QString(LondonKeys).remove(QLatin1Char('4'));
        QVERIFY2(waitForDialed(record, expected.size()),
                 qPrintable(DtmfDecoders::multimon(record)));
        QVERIFY(m_sound->stopRecording());
        QCOMPARE(DtmfDecoders::multimon(record), expected);
    }

    // Every dial says so once, and the program stays usable and ends normally.
    void withoutSoundServerTheUserIsTold() {
        QVERIFY(startProgram(QStringLiteral("unix:") +
                             m_records.filePath(QStringLiteral("no-server"))));
        for (int dial = 1; dial <= 2; ++dial) {
            QVERIFY(dialFirstEntry());
            const XWindows::Id message =
                m_windows->waitFor(Title, MessageBox, m_program->processId(), Poll::ChangeLimitMs);
            QVERIFY2(message != 0, "no message");
            QVERIFY(m_windows->pressKey(message, QStringLiteral("Return")));
            QVERIFY(Poll::until(
                [&] { return !m_windows->shows(Title, MessageBox, m_program->processId()); },
                Poll::ChangeLimitMs));
        }
        QVERIFY(m_windows->pressKey(m_main, QStringLiteral("alt+e"))); // "&Ende"
        QVERIFY(ProgramRun::waitForEnd(m_program, Poll::ChangeLimitMs));
        QCOMPARE(m_program->exitCode(), 0);
    }

private:
    // Each says what went wrong before it returns false.
    bool startSoundServer() {
        m_sound = std::make_unique<SoundServer>();
        return m_sound->start() || fail(m_sound->errorString());
    }
    bool startProgram(const QString& soundServer) {
        m_run = std::make_unique<ProgramRun>(*m_desktop);
        if (!m_run->isValid())
            return fail(m_run->errorString());
        if (!m_run->exists(QStringLiteral("snd/s.WAV")))
            return fail(QStringLiteral("no sound files beside the program"));
        if (!m_run->write(Register, LoudspeakerRegister))
            return fail(QStringLiteral("cannot write the register"));
        m_run->setEnvironmentValue(QStringLiteral("PULSE_SERVER"), soundServer);
        m_program = m_run->start();
        if (!m_program)
            return fail(m_run->errorString());
        m_main = m_windows->waitFor(Title, MainWindow, m_program->processId(), Poll::StartLimitMs);
        return m_main != 0 || fail(QStringLiteral("no main window"));
    }
    // To card 2 and back, which puts the focus into card 1's list wherever it was, down to the
    // list's only entry, then Enter.
    bool dialFirstEntry() {
        for (const char* key : {"ctrl+Next", "ctrl+Prior", "Down", "Return"}) {
            if (!m_windows->pressKey(m_main, QLatin1String(key)))
                return fail(QStringLiteral("cannot press ") + QLatin1String(key));
        }
        return true;
    }
    static bool fail(const QString& why) {
        qWarning("%s", qPrintable(why));
        return false;
    }
    // Until the decoder has heard as many keys as expected and the program's stream is gone.
    bool waitForDialed(const QString& record, qsizetype keys) {
        return Poll::until(
            [&] {
                QByteArray streams;
                return DtmfDecoders::multimon(record).size() >= keys &&
                       m_sound->tool(QStringLiteral("pactl"),
                                     {QStringLiteral("list"), QStringLiteral("short"),
                                      QStringLiteral("sink-inputs")},
                                     &streams) &&
                       streams.trimmed().isEmpty();
            },
            Poll::ChangeLimitMs);
    }

    std::unique_ptr<SoundServer> m_sound;
    QTemporaryDir m_records;
    QProcess* m_program = nullptr;
    XWindows::Id m_main = 0;
};

QTEST_GUILESS_MAIN(TestE2eTones)
#include "test_e2e_tones.moc"
