#include "dialing/ToneDialer.h"

#include "dialing/SoundPlayer.h"
#include "dialing/ToneKeys.h"

#include <QCoreApplication>

namespace {

const QString WaveSuffix = QStringLiteral(".WAV");
const QString PauseFile = QStringLiteral("s.WAV");

} // namespace

ToneDialer::ToneDialer(const QString& soundFolder, std::unique_ptr<SoundPlayer> player,
                       QObject* parent)
    : QObject(parent), m_soundFolder(soundFolder), m_player(std::move(player)) {}

ToneDialer::~ToneDialer() = default;

void ToneDialer::dial(const QString& dialString) {
    if (m_dialing)
        return;
    const QString keys = ToneKeys(dialString);
    if (keys.isEmpty())
        return;
    if (!m_player->open()) {
        emit noSoundOutput(m_player->errorString());
        return;
    }
    m_dialing = true;
    bool soundOutput = true;
    for (const QChar key : keys) {
        soundOutput = PlayDTMF(QString(key));
        if (!soundOutput)
            break;
    }
    m_player->close();
    m_dialing = false;
    if (!soundOutput)
        emit noSoundOutput(m_player->errorString());
}

bool ToneDialer::PlayDTMF(const QString& key) {
    using Result = SoundPlayer::PlayResult;
    // A missing file is skipped: the other keys still sound.
    if (m_player->play(m_soundFolder + key + WaveSuffix) == Result::OutputLost ||
        m_player->play(m_soundFolder + PauseFile) == Result::OutputLost)
        return false;
    QCoreApplication::processEvents();
    return true;
}
