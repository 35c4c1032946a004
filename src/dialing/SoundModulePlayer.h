#pragma once

#include "dialing/SoundPlayer.h"

#include <memory>

// The sound output of the sound module, loaded when a stream is first opened: libsndfile and
// libpulse with their codecs would otherwise be loaded before the first frame.
class SoundModulePlayer : public SoundPlayer {
public:
    static constexpr const char* ModuleName = "kurbelfon-sound";
    static constexpr const char* CreateSymbol = "kurbelfonCreateSoundPlayer";

    bool open() override;
    PlayResult play(const QString& wavePath) override;
    void close() override;
    QString errorString() const override;

private:
    std::unique_ptr<SoundPlayer> m_player;
    QString m_error;
};
