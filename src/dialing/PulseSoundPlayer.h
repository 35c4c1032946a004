#pragma once

#include "dialing/SoundPlayer.h"

#include <QByteArray>

struct pa_simple;

// Wave files (read with libsndfile) played through PulseAudio's simple API, which PulseAudio and
// PipeWire both serve. A small buffer keeps the writes in step with what sounds, so the caller
// regains control between two files.
class PulseSoundPlayer : public SoundPlayer {
public:
    // How far the writes run ahead of what sounds. Less let a busy machine starve the stream in
    // the middle of a tone, and a tone cut in two dials its digit twice.
    static constexpr int BufferMs = 200;

    PulseSoundPlayer() = default;
    ~PulseSoundPlayer() override;
    PulseSoundPlayer(const PulseSoundPlayer&) = delete;
    PulseSoundPlayer& operator=(const PulseSoundPlayer&) = delete;

    bool open() override;
    PlayResult play(const QString& wavePath) override;
    void close() override;
    QString errorString() const override { return m_error; }

private:
    bool connect(int rate, int channels);
    void disconnect(bool drain);

    pa_simple* m_stream = nullptr;
    int m_rate = 0;
    int m_channels = 0;
    QString m_error;
};
