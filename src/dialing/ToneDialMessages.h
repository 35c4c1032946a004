#pragma once

#include <QString>

// The tone dialer's texts for the user, exactly as they are shown. "\r" is a line break.
namespace ToneDialMessages {

inline const QString NoSoundOutput =
    QStringLiteral("Es ist keine Tonausgabe verfügbar.\r"
                   "Die Nummer kann nicht über den Lautsprecher gewählt werden.");

} // namespace ToneDialMessages
