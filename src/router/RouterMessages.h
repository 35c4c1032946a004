#pragma once

#include "router/Tr64Client.h"

#include <QString>

// What the user reads about the router. A "\r" is a line break.
namespace RouterMessages {

inline const QString ApplicationAccess =
    QStringLiteral("Bitte prüfen Sie die Adresse in den Router-Einstellungen und ob im Router "
                   "„Zugriff für Anwendungen zulassen“ eingeschaltet ist.");

inline QString forError(const Tr64Result& result, const QString& address, const QString& phone) {
    switch (result.error) {
    case RouterError::None:
        return QString();
    case RouterError::Unreachable:
        return QStringLiteral("Der Router unter „%1“ ist nicht erreichbar.\r").arg(address) +
               ApplicationAccess;
    case RouterError::NoAnswer:
        return QStringLiteral("Der Router unter „%1“ antwortet nicht.\r").arg(address) +
               ApplicationAccess;
    case RouterError::LoginRefused:
        return QStringLiteral(
            "Der Router hat Benutzername oder Kennwort abgelehnt.\rBitte prüfen Sie beides in den "
            "Router-Einstellungen.");
    case RouterError::NotAllowed:
        return QStringLiteral(
            "Der Router-Benutzer darf die Wählhilfe nicht verwenden.\rBitte geben Sie ihm im "
            "Router die Rechte für Einstellungen und für Telefonie.");
    case RouterError::HelperOff:
        return QStringLiteral(
            "Die Wählhilfe des Routers ist ausgeschaltet, oder ihr ist kein Telefon "
            "zugeordnet.\rBitte schalten Sie im Router die Wählhilfe ein und wählen Sie dort ein "
            "Telefon.");
    case RouterError::NoSuchPhone:
        return QStringLiteral("Das Telefon „%1“ gibt es im Router nicht.\rBitte wählen Sie in den "
                              "Router-Einstellungen ein anderes Telefon.")
            .arg(phone);
    case RouterError::CertificateUnknown:
        return QStringLiteral("Das Zertifikat des Routers wurde nicht bestätigt; es wurde nichts "
                              "gesendet.");
    case RouterError::CertificateChanged:
        return QStringLiteral(
                   "Der Router meldet sich mit einem anderen Zertifikat als bisher; es wurde "
                   "nichts "
                   "gesendet.\rFingerabdruck jetzt: %1\rHaben Sie den Router nicht selbst "
                   "zurückgesetzt oder ersetzt, gibt sich vielleicht ein anderes Gerät als Router "
                   "aus. Sonst vergessen Sie in den Router-Einstellungen das alte Zertifikat.")
            .arg(Tr64Client::readableFingerprint(result.certificateSha256));
    case RouterError::Fault:
        return QStringLiteral("Der Router lehnt die Anfrage ab (Fehler %1: %2).\rBitte prüfen Sie "
                              "die Wählhilfe und das Telefon in den Router-Einstellungen.")
            .arg(result.upnpErrorCode)
            .arg(result.detail);
    case RouterError::BadAnswer:
        return QStringLiteral("Der Router unter „%1“ gab eine unverständliche Antwort (%2).\r")
                   .arg(address, result.detail) +
               ApplicationAccess;
    }
    return QString();
}

// server: empty for the router, else the address of another server as the user gave it.
inline QString certificateQuestion(const QString& sha256Hex, const QString& server = QString()) {
    const QString who = server.isEmpty() ? QStringLiteral("Der Router")
                                         : QStringLiteral("Der Server „%1“").arg(server);
    const QString where = server.isEmpty() ? QStringLiteral("der Router in seiner Oberfläche zeigt")
                                           : QStringLiteral("der Betreiber des Servers nennt");
    return QStringLiteral("%2 meldet sich zum ersten Mal verschlüsselt. Sein Zertifikat "
                          "hat den SHA-256-Fingerabdruck:\r\r%1\r\rStimmt er mit dem überein, den "
                          "%3? Nur dann sollten Sie ihm "
                          "vertrauen. Kurbelfon merkt sich das Zertifikat und lehnt später jedes "
                          "andere ab.\r\rDem Zertifikat vertrauen?")
        .arg(Tr64Client::readableFingerprint(sha256Hex), who, where);
}

inline const QString CertificateTitle = QStringLiteral("Zertifikat des Routers");
inline const QString PlainHttpWarning = QStringLiteral(
    "Ohne Verschlüsselung kann jeder im Heimnetz mitlesen, welche Nummern Sie wählen.");
inline QString noKeyStore(const QString& why) {
    return QStringLiteral("Der Schlüsselbund des Desktops ist nicht erreichbar (%1).\rDas "
                          "Router-Kennwort wird daher nicht gespeichert; Kurbelfon fragt einmal "
                          "je Sitzung danach.")
        .arg(why);
}
// Beside an empty user name field.
inline const QString PasswordOnlyUserHint =
    QStringLiteral("leer: „dslf-config“ (Anmeldung nur mit Kennwort)");
inline const QString PasswordPrompt = QStringLiteral("Kennwort des Router-Benutzers „%1“:");

inline QString connectionWorks(int phoneCount, const QString& current) {
    QString text = QStringLiteral("Die Verbindung zum Router und die Anmeldung funktionieren; der "
                                  "Router kennt %1 Telefone.\r")
                       .arg(phoneCount);
    if (current.isEmpty())
        return text + QStringLiteral("Die Wählhilfe ist aber ausgeschaltet oder hat kein Telefon: "
                                     "Bitte schalten Sie sie im Router ein.");
    return text +
           QStringLiteral("Die Wählhilfe ist eingeschaltet und lässt „%1“ klingeln.").arg(current);
}

inline QString ringing(const QString& phone, const QString& digits) {
    return QStringLiteral("Der Router lässt jetzt „%1“ klingeln.\rSobald Sie abheben, wählt er "
                          "%2.")
        .arg(phone, digits);
}
inline const QString Connecting = QStringLiteral("Verbindung zum Router …");
inline const QString HungUp = QStringLiteral("Der Router hat aufgelegt.");

} // namespace RouterMessages
