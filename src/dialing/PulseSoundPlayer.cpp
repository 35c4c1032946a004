#include "dialing/PulseSoundPlayer.h"

#include "dialing/DtmfSoundFormat.h"

#include <QFile>

#include <pulse/error.h>
#include <pulse/simple.h>
#include <pulse/timeval.h>
#include <sndfile.h>

#include <optional>
#include <vector>

namespace {

struct WaveSamples {
    int rate = 0;
    int channels = 0;
    std::vector<short> samples;
};

// Any format libsndfile reads, as 16-bit samples; nullopt if the file cannot be read.
std::optional<WaveSamples> readWave(const QString& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return std::nullopt;
    WaveSamples wave;
    wave.rate = info.samplerate;
    wave.channels = info.channels;
    wave.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t read = sf_readf_short(file, wave.samples.data(), info.frames);
    sf_close(file);
    if (read < 0 || wave.rate <= 0 || wave.channels <= 0 ||
        wave.channels > static_cast<int>(PA_CHANNELS_MAX))
        return std::nullopt;
    wave.samples.resize(static_cast<size_t>(read) * static_cast<size_t>(wave.channels));
    return wave;
}

} // namespace

PulseSoundPlayer::~PulseSoundPlayer() {
    disconnect(false);
}

bool PulseSoundPlayer::open() {
    disconnect(false);
    return connect(DtmfSoundFormat::SampleRate, 1);
}

SoundPlayer::PlayResult PulseSoundPlayer::play(const QString& wavePath) {
    if (!m_stream)
        return PlayResult::OutputLost;
    const std::optional<WaveSamples> wave = readWave(wavePath);
    if (!wave)
        return PlayResult::Skipped;
    // A foreign file in another format gets a stream of its own; ours all share one.
    if (wave->rate != m_rate || wave->channels != m_channels) {
        disconnect(true);
        if (!connect(wave->rate, wave->channels))
            return PlayResult::OutputLost;
    }
    if (wave->samples.empty())
        return PlayResult::Played;
    int error = 0;
    if (pa_simple_write(m_stream, wave->samples.data(), wave->samples.size() * sizeof(short),
                        &error) < 0) {
        m_error = QString::fromUtf8(pa_strerror(error));
        disconnect(false);
        return PlayResult::OutputLost;
    }
    return PlayResult::Played;
}

void PulseSoundPlayer::close() {
    disconnect(true);
}

bool PulseSoundPlayer::connect(int rate, int channels) {
    pa_sample_spec format;
    format.format = PA_SAMPLE_S16NE;
    format.rate = static_cast<uint32_t>(rate);
    format.channels = static_cast<uint8_t>(channels);
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(BufferMs * PA_USEC_PER_MSEC, &format));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    // With no server this fails at once: a named or default server that is not there refuses
    // the connection.
    m_stream = pa_simple_new(nullptr, "Kurbelfon", PA_STREAM_PLAYBACK, nullptr, "Anwahl", &format,
                             nullptr, &buffer, &error);
    if (!m_stream) {
        m_error = QString::fromUtf8(pa_strerror(error));
        return false;
    }
    m_rate = rate;
    m_channels = channels;
    return true;
}

void PulseSoundPlayer::disconnect(bool drain) {
    if (!m_stream)
        return;
    if (drain)
        pa_simple_drain(m_stream, nullptr);
    pa_simple_free(m_stream);
    m_stream = nullptr;
    m_rate = 0;
    m_channels = 0;
}

// The program loads this file's library at the first tone (see ProgramModule).
extern "C" Q_DECL_EXPORT SoundPlayer* kurbelfonCreateSoundPlayer() {
    return new PulseSoundPlayer;
}
