#pragma once

#include <QString>

// The provider list's texts for the user, exactly as they are shown. "\r" is a line break.
namespace ProviderMessages {

inline const QString ToolTip = QStringLiteral("Änderungen über Kontextmenü (rechte Maustaste)");
inline const QString MenuTitle = QStringLiteral("Anbieter");
inline const QString DeleteTitle = QStringLiteral("Eintrag löschen");
inline const QString DeleteQuestion =
    QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\r\r");

// The editor.
inline const QString EditorTitle = QStringLiteral("Anbieterliste");
inline const QString EditorFrame = QStringLiteral("Eintrag aufnehmen/bearbeiten");
inline const QString SliderToolTip =
    QStringLiteral("Zuerst Startzeit einstellen, dann gleichzeitig [Strg] gedrückt halten ...");

// Saving. %1 the file, %2 the reason.
inline const QString SaveFailed =
    QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.\rGrund: %2");
inline const QString TextNotStorable =
    QStringLiteral("Der Text „%1“ enthält ein Zeichen, das in der Anbieterliste nicht "
                   "gespeichert werden kann.");

// A damaged Provider.ini: %1 the problems, one per line.
inline const QString LoadProblems =
    QStringLiteral("Die Anbieterliste „Provider.ini“ enthält Angaben, die nicht gelesen werden "
                   "konnten:\r\r%1\r\rDie Anbieter davor wurden übernommen.");
inline const QString OriginalKept =
    QStringLiteral("\rDie ursprüngliche Datei wurde unverändert als „%1“ aufbewahrt.");
// %1 the line number.
inline const QString FileEmpty =
    QStringLiteral("Zeile %1: Die Datei ist leer; die Provider-Liste bleibt ausgeschaltet.");
inline const QString SwitchNotNumber =
    QStringLiteral("Zeile %1: „%2“ ist kein gültiger Wert für die Provider-Liste; sie bleibt "
                   "ausgeschaltet.");
inline const QString RowCutShort =
    QStringLiteral("Zeile %1: Die Datei endet mitten im Anbieter „%2“; er wurde nicht "
                   "übernommen.");
// %2 the provider.
inline const QString RowOutOfPlace =
    QStringLiteral("Zeile %1: Der Anbieter „%2“ beginnt nicht am Anfang einer Zeile oder ist "
                   "durch eine Leerzeile geteilt; er und alle folgenden Anbieter wurden nicht "
                   "übernommen.");
// %1 the reading error, which names the file and the reason.
inline const QString NotSavedWhileUnreadable =
    QStringLiteral("%1\rDamit ihr Inhalt nicht verloren geht, wird die Anbieterliste nicht "
                   "gespeichert, solange die Datei besteht. Bitte machen Sie die Datei lesbar "
                   "(oder entfernen Sie sie) und starten Sie Kurbelfon neu.");
// %2 the provider, %3 the value's name, %4 the text read.
inline const QString ValueNotNumber =
    QStringLiteral("Zeile %1: Beim Anbieter „%2“ steht für „%3“ der Text „%4“, das ist keine "
                   "Zahl; er und alle folgenden Anbieter wurden nicht übernommen.");
inline const QString ValueOutOfRange =
    QStringLiteral("Zeile %1: Beim Anbieter „%2“ ist der Wert %4 für „%3“ zu groß oder zu "
                   "klein; er und alle folgenden Anbieter wurden nicht übernommen.");
// The seven numbers of a row, as the editor names them.
inline const QString ValueNames[7] = {QStringLiteral("Mo - Fr"), QStringLiteral("Sa - So"),
                                      QStringLiteral("ab"),      QStringLiteral("bis"),
                                      QStringLiteral("Nah"),     QStringLiteral("Fern"),
                                      QStringLiteral("Ausland")};

} // namespace ProviderMessages
