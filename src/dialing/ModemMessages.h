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
// The second line under PortUnavailable: the device and what the user can do about it.
inline QString NoDevice(const QString& device) {
    return device + QStringLiteral(": Gerät nicht gefunden – ist das Modem angeschlossen?");
}
inline QString NoAccess(const QString& device, const QString& group) {
    return device + QStringLiteral(": Zugriff verweigert – ist Ihr Benutzer in der Gruppe „") +
           group + QStringLiteral("“?");
}
inline QString InUse(const QString& device) {
    return device + QStringLiteral(": wird schon von einem anderen Programm benutzt.");
}
inline QString SystemReason(const QString& device, const QString& reason) {
    return device + QStringLiteral(": ") + reason;
}
inline const QString ModemAnswerIntro =
    QStringLiteral("Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:\r\r");
inline const QString NoModemAnswer = QStringLiteral("(keine Rückmeldung)");

} // namespace ModemMessages
