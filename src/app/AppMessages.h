#pragma once

#include <QString>

// The main window's texts for the user, exactly as they are shown. "\r" is a line break.
namespace AppMessages {

inline const QString UsageHint =
    QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü");
inline const QString OptionsHint = QStringLiteral("Bitte gewünschte Änderungen vornehmen");
inline const QString RestoreBackupQuestion =
    QStringLiteral("Die Datei „Telefonregister.ini“ fehlt, aber ihre Sicherung "
                   "„Telefonregister.bak“ vom %1 ist vorhanden.\r\r"
                   "Soll das Telefonregister aus der Sicherung wiederhergestellt werden?\r"
                   "Bei „Nein“ wird ein neues Telefonregister angelegt; die Sicherung bleibt "
                   "als „%2“ erhalten.");
inline const QString RestoreFailed =
    QStringLiteral("Die Sicherung konnte nicht wiederhergestellt werden.\r%1");
inline const QString LoadProblems =
    QStringLiteral("Das Telefonregister enthält Angaben, die nicht gelesen werden konnten:\r\r"
                   "%1\r\rAlles Lesbare wurde übernommen.");
inline const QString OriginalKept =
    QStringLiteral("\rDie ursprüngliche Datei wurde unverändert als „%1“ aufbewahrt.");
inline const QString MoreProblems = QStringLiteral("… und %1 weitere");

} // namespace AppMessages
