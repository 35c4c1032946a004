#pragma once

#include "register/DialSettings.h"

#include <QString>
#include <optional>

// How far a call goes, as the provider list's call types count it.
enum CallDistance { LocalCall = 1, NationalCall = 2, AbroadCall = 3 };

// The stored international number, seen from the caller's own country and area.
struct CallPlan {
    int CallDistance = AbroadCall;
    // What is dialed after the prefixes: the codes that are not dialed cut, the trunk zero added.
    QString localNumber;
};

// One call's modem command and what the progress dialog shows of it.
struct ComposedDial {
    int CallDistance = AbroadCall;
    QString DialString;    // "AT" ... ";H" and one carriage return
    QString displayNumber; // the local number, "+" in front for a call abroad
};

// Decides the distance by plain prefix comparison with the own codes.
CallPlan PlanCall(const DialSettings& settings, const QString& number, int zeroFlag);

// providerNumber: the chosen provider's network number while the provider list is on (it may be
// empty), nullopt while it is off.
ComposedDial ComposeDial(const DialSettings& settings, const CallPlan& plan,
                         const std::optional<QString>& providerNumber);

// A carriage return inside a stored piece would end the modem command early and have the modem
// run the rest as a command of its own; a modem that ignores bit 7 reads 0x8D as one too. Codes
// below 32, 127 and 128-159 never reach the command.
QString WithoutControlCharacters(const QString& text);
bool IsControlCharacter(QChar c);

// What a modem dials: digits, blanks, "*", "#" and the dial modifiers "," "W" "P" "T" "!" "@".
// Anything else in a number (a ";" would end the dialing and start a command) is dropped.
QString DialCharactersOnly(const QString& text);
// The characters of a stored number that are not dialed, each once; a leading "+" is read.
QString CharactersNotDialed(const QString& number);

// The router dials like a telephone on the line: provider network number, international prefix
// for a call abroad, the number. An outside-line prefix belongs to a private exchange in front of
// a modem, so it is left out, as are modem commands, the dial-mode letter and the handover.
QString ComposeRouterDial(const DialSettings& settings, const CallPlan& plan,
                          const std::optional<QString>& providerNumber);

// Only digits, "*" and "#" reach the router; its dial helper takes nothing else as a number.
QString RouterDialDigits(const QString& text);
