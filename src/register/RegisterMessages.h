#pragma once

#include <QString>

// The register's texts for the user, exactly as they are shown. "\r" is a line break.
namespace RegisterMessages {

inline const QString NewFileCreated =
    QStringLiteral("Es wurde eine neue Telefon- und Einstellungendatei angelegt.\r"
                   "Sie sollten daher die Programmeinstellungen jetzt überprüfen!");
inline const QString Incompatible =
    QStringLiteral("Die Telefonliste ist nicht kompatibel und\rkann daher nicht eingelesen "
                   "werden.\r\rDas Programm wird abgebrochen");
inline const QString DeleteTitle = QStringLiteral("Eintrag löschen");
inline const QString DeleteQuestion =
    QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\r\r");

// Saving. %1 the file, %2 the reason.
inline const QString SaveFailed =
    QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.\rGrund: %2");
inline const QString TextNotStorable =
    QStringLiteral("Der Text „%1“ enthält ein Zeichen, das in der Telefonliste nicht "
                   "gespeichert werden kann.");

// A damaged register file: one line per problem, %1 the line number.
inline const QString SettingsCutShort =
    QStringLiteral("Zeile %1: Die Datei endet in der Einstellungszeile nach %2 von 13 Feldern; "
                   "für die übrigen Einstellungen gelten die Vorgaben.");
inline const QString CardNamesCutShort =
    QStringLiteral("Zeile %1: Die Datei endet in der Zeile der Kartennamen nach %2 von 4 Namen; "
                   "für die übrigen Karten gelten die vorgegebenen Namen.");
inline const QString EntryCutShort =
    QStringLiteral("Zeile %1: Die Datei endet mitten im Eintrag „%2“, er wurde übersprungen.");
inline const QString EntryCutShortUnnamed =
    QStringLiteral("Zeile %1: Die Datei endet mitten in einem Eintrag, er wurde übersprungen.");
inline const QString CardNumberInvalid =
    QStringLiteral("Zeile %1: Kartennummer %2 ist ungültig, der Eintrag „%3“ wurde übersprungen.");
inline const QString CardNumberNotNumber = QStringLiteral(
    "Zeile %1: Kartennummer „%2“ ist keine Zahl, der Eintrag „%3“ wurde übersprungen.");
inline const QString NameHoldsPadding =
    QStringLiteral("Zeile %1: Der Name „%2 …“ enthält 150 Leerzeichen und ein Steuerzeichen, "
                   "die das Telefonregister als Trennung braucht; der Eintrag wurde "
                   "übersprungen.");
inline const QString NameWithPadding =
    QStringLiteral("Der Name enthält 150 Leerzeichen und ein Steuerzeichen (Code 1) "
                   "hintereinander; so kann er nicht gespeichert werden.");
inline const QString ZeroFlagInvalid =
    QStringLiteral("Zeile %1: Beim Eintrag „%2“ ist „%3“ keine gültige Angabe für „Null "
                   "voranstellen“; sie wurde eingeschaltet.");
// %2 the setting's name, %3 the value read, %4 the value used instead.
inline const QString ValueNotNumber =
    QStringLiteral("Zeile %1: Für „%2“ steht „%3“, das ist keine Zahl; es gilt der Wert %4.");
inline const QString ValueOutOfRange = QStringLiteral(
    "Zeile %1: Der Wert %3 für „%2“ ist zu groß oder zu klein; es gilt der Wert %4.");
inline const QString ValueReplaced =
    QStringLiteral("Zeile %1: Der Wert %3 für „%2“ ist ungültig; es gilt der Wert %4.");
inline const QString ValueToCheck =
    QStringLiteral("Zeile %1: Der Wert %3 für „%2“ ist ungültig; bitte die Einstellung auf der "
                   "Seite „Optionen“ prüfen.");
// The settings as the options page names them.
inline const QString DialHardwareName = QStringLiteral("Anwahl ausführen über");
inline const QString ComPortName = QStringLiteral("Anschluß");
inline const QString PulseDialingName = QStringLiteral("Wahlart");
inline const QString ReservedName = QStringLiteral("reserviert");
inline const QString FontSizeName = QStringLiteral("Eintragsgröße");
inline const QString HandoverEnabledName = QStringLiteral("Übergabe");
inline const QString ModemDefault = QStringLiteral("0 (Modem)");

inline const QString ContentAfterEnd =
    QStringLiteral("Zeile %1: Nach dem Ende der Einträge (Kartennummer 0 oder leere Zeile) "
                   "folgen weitere Angaben; sie wurden nicht gelesen.");

} // namespace RegisterMessages
