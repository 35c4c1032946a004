#include "dialing/SoundModulePlayer.h"

#include "support/ProgramModule.h"

bool SoundModulePlayer::open() {
    if (!m_player) {
        auto* create = ProgramModule::resolvePartAs<SoundPlayer*()>(
            ModuleName, CreateSymbol, QStringLiteral("Klangausgabe"), &m_error);
        if (!create)
            return false;
        m_player.reset(create());
    }
    return m_player->open();
}

SoundPlayer::PlayResult SoundModulePlayer::play(const QString& wavePath) {
    return m_player ? m_player->play(wavePath) : PlayResult::OutputLost;
}

void SoundModulePlayer::close() {
    if (m_player)
        m_player->close();
}

QString SoundModulePlayer::errorString() const {
    return m_player ? m_player->errorString() : m_error;
}
