#pragma once

#include <QString>

// What the dialers read, as kept in the register file's settings line.
struct DialSettings {
    int ComPort = 1;      // serial port 1..16
    int PulseDialing = 0; // 0 "Ton", 1 "Puls"
    QString OutsideLinePrefix;
    QString InternationalPrefix = QStringLiteral("00");
    QString OwnCountryCode = QStringLiteral("49");
    QString OwnAreaCode = QStringLiteral("89"); // without the trunk zero
    QString ExtraModemCommands;
    QString HandoverNumber;
    int HandoverEnabled = 0;

    bool operator==(const DialSettings&) const = default;
};
