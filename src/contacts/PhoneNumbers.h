#pragma once

#include "register/DialSettings.h"

#include <QString>
#include <optional>

// Numbers from outside (tel: links, address books) into the register's stored format:
// "country code, blank, area code, blank, rest", e.g. "49 89 1234567".
namespace PhoneNumbers {

// More digits than this are no phone number but a mistake or an attack.
constexpr int MaxDigits = 40;

// rawNumber: as written by people ("+49 (89) 123-4567", "089 1234567"); one without a country
// code counts as a number of ownCountryCode's region. nullopt: not a readable number.
std::optional<QString> StoredNumber(const QString& rawNumber, const QString& ownCountryCode);

// A number typed into the entry editor, in the stored format where it was typed the way one dials
// at home: no country code begins with 0, so a single leading "0" starts a number of the own
// country, and one that begins with the international prefix has its country code after it.
// Any other number is kept as typed; so is one of those when the own country code is empty.
QString EntryNumber(const QString& typed, const DialSettings& settings);

// true for an argument that is a tel: or callto: link (whatever it holds).
bool IsPhoneLink(const QString& argument);

// The number of a tel:/callto: link in the stored format; nullopt when it holds no dialable
// number (no digits, too many, control characters, unreadable).
std::optional<QString> NumberFromLink(const QString& link, const QString& ownCountryCode);

// The link as a message may show it: control characters would garble the message box.
QString LinkForDisplay(const QString& link);

} // namespace PhoneNumbers
