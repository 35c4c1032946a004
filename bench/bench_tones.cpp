// How long the loudspeaker takes for a number: the whole dial against the sum of its key and
// pause files, on a null sink of a private sound server. Run with `make bench`; the numbers go
// into docs/DEVELOPMENT.md.
#include "SoundServer.h"
#include "dialing/SoundModulePlayer.h"
#include "dialing/ToneDialer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <sndfile.h>

#include <algorithm>
#include <vector>

namespace {

const QString SoundFolder = QStringLiteral(DTMF_SOUND_DIR "/");

double fileMs(const QString& name) {
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(SoundFolder + name).constData(), SFM_READ, &info);
    if (!file)
        return 0;
    sf_close(file);
    return 1000.0 * static_cast<double>(info.frames) / info.samplerate;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    SoundServer server;
    if (!server.start()) {
        out << "no sound server: " << server.errorString() << Qt::endl;
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());
    ToneDialer dialer(SoundFolder, std::make_unique<SoundModulePlayer>());
    bool failed = false;
    QObject::connect(&dialer, &ToneDialer::noSoundOutput, [&] { failed = true; });

    {
        SoundModulePlayer player;
        QElapsedTimer timer;
        timer.start();
        const bool opened = player.open();
        player.close();
        out << "opening and closing the stream alone: " << timer.nsecsElapsed() / 1000000 << " ms"
            << (opened ? "" : " (failed)") << "\n";
    }

    const QString digits = QStringLiteral("0123456789");
    // Each number several times: the median is the typical dial, the slowest shows the stalls
    // of a busy machine.
    constexpr int Repeats = 5;
    out << "keys | files ms | median ms | ratio | slowest ms | ratio\n";
    for (const int keys : {1, 5, 12, 20, 40}) {
        QString number;
        double expectedMs = 0;
        for (int i = 0; i < keys; ++i) {
            const QString key = digits.mid((i * 7) % 10, 1);
            number += key;
            expectedMs += fileMs(key + QStringLiteral(".WAV")) + fileMs(QStringLiteral("s.WAV"));
        }
        std::vector<double> playedMs;
        for (int repeat = 0; repeat < Repeats; ++repeat) {
            QElapsedTimer timer;
            timer.start();
            dialer.dial(QStringLiteral("ATDT") + number + QStringLiteral(";H\r"));
            playedMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (failed) {
                out << "the sound output failed" << Qt::endl;
                return 1;
            }
        }
        std::sort(playedMs.begin(), playedMs.end());
        const double median = playedMs[Repeats / 2];
        out << QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6\n")
                   .arg(keys)
                   .arg(expectedMs, 0, 'f', 0)
                   .arg(median, 0, 'f', 0)
                   .arg(median / expectedMs, 0, 'f', 3)
                   .arg(playedMs.back(), 0, 'f', 0)
                   .arg(playedMs.back() / expectedMs, 0, 'f', 3);
    }
    out.flush();
    return 0;
}
