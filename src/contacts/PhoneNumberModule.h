#pragma once

#include <QString>

// What the phone number module offers: a number as people write it into the stored format
// ("49 89 1234567"). false: not a readable number.
using StoredNumberFunction = bool(const QString& rawNumber, const QString& ownCountryCode,
                                  QString* stored);
constexpr const char* PhoneNumberModuleName = "kurbelfon-phonenumbers";
constexpr const char* StoredNumberSymbol = "kurbelfonStoredNumber";
