#pragma once

#include <QObject>
#include <memory>

class SoundPlayer;

// Dials through the loudspeaker: one key file and one pause file per key of the modem command,
// all on one sound stream, returning when the last one has sounded. Between two keys the window
// processes its pending events; a dial request that arrives then is ignored, so two numbers never
// sound over each other.
class ToneDialer : public QObject {
    Q_OBJECT
public:
    // soundFolder: the "snd" folder with a trailing separator.
    ToneDialer(const QString& soundFolder, std::unique_ptr<SoundPlayer> player,
               QObject* parent = nullptr);
    ~ToneDialer() override;

    void dial(const QString& dialString);
    // key: "0"-"9", "#" or "x". false once the sound output is lost.
    bool PlayDTMF(const QString& key);
    bool isDialing() const { return m_dialing; }

signals:
    // There is no sound output, or it failed during the number; once per dial.
    void noSoundOutput(const QString& reason);

private:
    QString m_soundFolder;
    std::unique_ptr<SoundPlayer> m_player;
    bool m_dialing = false;
};
