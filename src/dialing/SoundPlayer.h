#pragma once

#include <QString>

// Plays wave files one after the other on one output stream, so that the lengths of tones and
// pauses are exactly those of the files. Each platform brings its own.
class SoundPlayer {
public:
    enum class PlayResult {
        Played,
        Skipped,   // the file is missing or unreadable; nothing was played
        OutputLost // the sound output failed; the stream is closed
    };

    virtual ~SoundPlayer() = default;

    // Opens the stream. false: there is no sound output; errorString() says why. Never waits
    // for a sound server that is not there.
    virtual bool open() = 0;
    // Returns once the file is handed to the output; it may still be sounding.
    virtual PlayResult play(const QString& wavePath) = 0;
    // Waits until everything handed over has sounded, then closes the stream.
    virtual void close() = 0;
    virtual QString errorString() const = 0;
};
