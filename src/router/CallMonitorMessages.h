#pragma once

#include <QString>

// What the user reads about the call monitor and incoming calls.
namespace CallMonitorMessages {

inline const QString Switch = QStringLiteral("&Anrufmonitor");
inline const QString Off = QStringLiteral("aus");
inline const QString Connecting = QStringLiteral("verbinde …");
inline const QString Connected = QStringLiteral("verbunden");
// %1 seconds, %2 the reason
inline const QString Waiting = QStringLiteral("getrennt, neuer Versuch in %1 s (%2)");
inline const QString Refused =
    QStringLiteral("Verbindung abgelehnt, Anrufmonitor im Router einschalten: #96*5*");
inline const QString ClosedByRouter = QStringLiteral("vom Router beendet");
inline const QString HostNotFound = QStringLiteral("Router nicht gefunden");
inline const QString NoAnswer = QStringLiteral("keine Antwort");
inline const QString NetworkDown = QStringLiteral("Netzwerk nicht erreichbar");
inline const QString OtherError = QStringLiteral("Verbindungsfehler");

// %1 who: an entry as "Name (Karte)" or the number
inline const QString Incoming = QStringLiteral("Anruf von %1");
inline const QString IncomingWithheld = QStringLiteral("Anruf mit unterdrückter Rufnummer");
inline const QString Missed = QStringLiteral("Verpasster Anruf von %1");
inline const QString MissedWithheld =
    QStringLiteral("Verpasster Anruf mit unterdrückter Rufnummer");
// %1 how many, in a burst too quick to show each
inline const QString MissedCount = QStringLiteral("%1 verpasste Anrufe");
// %1 the own number that was called, under a caller without a name
inline const QString CalledLine = QStringLiteral("an %1");
inline const QString CallBack = QStringLiteral("&Zurückrufen");
// %1 entry name, %2 card name
inline const QString EntryOnCard = QStringLiteral("%1 (%2)");
// The tray icon's tip: the monitor's state, or the missed calls while there are any
inline const QString TrayTip = QStringLiteral("Kurbelfon – Anrufmonitor: %1");
inline const QString TrayTipMissedOne = QStringLiteral("Kurbelfon – 1 verpasster Anruf");
inline const QString TrayTipMissed = QStringLiteral("Kurbelfon – %1 verpasste Anrufe");

} // namespace CallMonitorMessages
