#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>

class QKeyEvent;

// Tells the repeats of a held key from fresh presses, for the keys that start or abort a call.
// The X server repeats a held key as a release and a press with the same time stamp; Qt flags
// the pair only when both are already queued, so a press also counts as a repeat when its time
// stamp equals the last release of that key. The releases are taken from the X server's own
// events: Qt drops those meant for a window that a dialog blocks, as "Anwahl" blocks the main
// window that had the keyboard when the key went down.
class HeldKeys : public QObject, public QAbstractNativeEventFilter {
public:
    // The one watcher, installed on the application at the first call.
    static HeldKeys* instance();

    bool isRepeat(const QKeyEvent* event) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    explicit HeldKeys(QObject* parent);

    QHash<quint32, quint32> m_releasedAt; // X time of the last release, by key code
};
