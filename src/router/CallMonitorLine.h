#pragma once

#include <QByteArray>
#include <QString>

// One event of the router's call monitor, read from one line such as
// "08.12.26 10:15:02;RING;0;0891234567;5551234;SIP0;".
struct CallEvent {
    enum Type { Invalid, Ring, Call, Connect, Disconnect, Unknown };

    Type type = Invalid;
    QString id;
    // Ring: the caller, empty when withheld; Call: the number dialled. Digits, "*" and "+" only.
    QString number;
    // Ring: the own number that was called, empty when the router gave none that reads.
    QString ownNumber;
    // Disconnect: how long the call was connected, in seconds.
    int durationSeconds = 0;

    // The line without its line end. Damaged lines (missing fields, text that is no number where
    // a number belongs, bytes that are not text) give Invalid, never a made-up caller.
    static CallEvent fromLine(const QByteArray& line);
};
