// The thirteen wave files the build puts into snd/: each key file sounds its ITU-T Q.23 pair and
// nothing else, without clipping or clicks; the pause is silent.
#include <QTest>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

const QString SoundFolder = QStringLiteral(DTMF_SOUND_DIR "/");
constexpr double Rows[] = {697, 770, 852, 941};
constexpr double Columns[] = {1209, 1336, 1477};
constexpr short FullScale = 32767;

struct Wave {
    SF_INFO info{};
    std::vector<double> samples; // of full scale
    short peak = 0;
    double ms() const { return 1000.0 * static_cast<double>(samples.size()) / info.samplerate; }
};

Wave load(const QString& name) {
    Wave wave;
    SNDFILE* file =
        sf_open(QFile::encodeName(SoundFolder + name).constData(), SFM_READ, &wave.info);
    if (!file)
        return wave;
    std::vector<short> raw(static_cast<size_t>(wave.info.frames * wave.info.channels));
    raw.resize(static_cast<size_t>(sf_readf_short(file, raw.data(), wave.info.frames)));
    sf_close(file);
    for (const short s : raw) {
        wave.samples.push_back(s / double(FullScale));
        wave.peak = std::max<short>(wave.peak, static_cast<short>(std::abs(s)));
    }
    return wave;
}

// Goertzel over the Hann-windowed file: the power at one frequency.
double power(const Wave& wave, double frequency) {
    const size_t n = wave.samples.size();
    const double coefficient =
        2 * std::cos(2 * std::numbers::pi * frequency / wave.info.samplerate);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (n - 1));
        const double s0 = wave.samples[i] * window + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

// Where the strongest frequency within ±3 % of `nominal` lies, to 1 Hz.
double peakNear(const Wave& wave, double nominal) {
    double best = nominal, bestPower = -1;
    for (double f = std::floor(nominal * 0.97); f <= nominal * 1.03; f += 1) {
        const double p = power(wave, f);
        if (p > bestPower)
            best = f, bestPower = p;
    }
    return best;
}

void checkFormat(const Wave& wave) {
    QCOMPARE(wave.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    QCOMPARE(wave.info.channels, 1);
    QVERIFY2(wave.ms() >= 60 && wave.ms() <= 80, qPrintable(QString::number(wave.ms())));
}

} // namespace

class TestDtmfSounds : public QObject {
    Q_OBJECT

private slots:
    void keyFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        const char* keypad[4][3] = {
            {"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}, {"x", "0", "#"}};
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) {
                const QString file = QString::fromLatin1(keypad[row][column]) + ".WAV";
                QTest::newRow(qPrintable(file)) << file << Rows[row] << Columns[column];
            }
        }
    }
    void keyFile() {
        QFETCH(QString, file);
        QFETCH(double, low);
        QFETCH(double, high);
        const Wave wave = load(file);
        QVERIFY2(!wave.samples.empty(), "missing or unreadable");
        checkFormat(wave);
        // Loud enough to be heard, never at full scale, soft at both ends.
        QVERIFY2(wave.peak > FullScale / 2 && wave.peak < FullScale,
                 qPrintable(QString::number(wave.peak)));
        QVERIFY(std::abs(wave.samples.front()) < 0.01 && std::abs(wave.samples.back()) < 0.01);

        std::vector<std::pair<double, double>> byPower; // power, frequency
        for (double f : Rows)
            byPower.emplace_back(power(wave, f), f);
        for (double f : Columns)
            byPower.emplace_back(power(wave, f), f);
        std::sort(byPower.rbegin(), byPower.rend());
        QCOMPARE(std::min(byPower[0].second, byPower[1].second), low);
        QCOMPARE(std::max(byPower[0].second, byPower[1].second), high);
        // The other five lie at least 30 dB below the weaker of the pair.
        QVERIFY2(byPower[2].first < byPower[1].first / 1000,
                 qPrintable(QStringLiteral("%1 Hz at %2 dB")
                                .arg(byPower[2].second)
                                .arg(10 * std::log10(byPower[2].first / byPower[1].first))));
        for (double nominal : {low, high}) {
            const double found = peakNear(wave, nominal);
            QVERIFY2(std::abs(found - nominal) <= nominal * 0.015,
                     qPrintable(QStringLiteral("%1 Hz instead of %2 Hz").arg(found).arg(nominal)));
        }
    }

    void pauseFileIsSilent() {
        const Wave wave = load(QStringLiteral("s.WAV"));
        QVERIFY2(!wave.samples.empty(), "missing or unreadable");
        checkFormat(wave);
        QCOMPARE(wave.peak, short(0));
    }
};

QTEST_GUILESS_MAIN(TestDtmfSounds)
#include "test_dtmfsounds.moc"
