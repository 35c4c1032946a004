#pragma once

#include <QString>

// The modem dialer's texts for the user, exactly as they are shown. "\r" is a line break.
namespace ModemMessages {

inline const QString DialingCaption = QStringLiteral("Anwahl");
inline const QString DialingRuns = QStringLiteral(" Anwahl läuft ... ");
inline const QString AbortButton = QStringLiteral("&Abbruch");
inline QString PortUnavailable(int port) {
    return QStringLiteral("Der angegebene Anschluß COM") + QString::number(port) +
           QStringLiteral(" ist nicht verfügbar.");
}
inline const QString ModemAnswerIntro =
    QStringLiteral("Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:\r\r");
inline const QString NoModemAnswer = QStringLiteral("(keine Rückmeldung)");

} // namespace ModemMessages
