// A library of its own, loaded when the program first reads a number (see ProgramModule).
#include "contacts/PhoneNumberModule.h"

#include <phonenumbers/phonenumberutil.h>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

std::string regionOf(const QString& countryCode) {
    bool ok = false;
    const int code = countryCode.trimmed().toInt(&ok);
    std::string region = "ZZ";
    if (ok)
        PhoneNumberUtil::GetInstance()->GetRegionCodeForCountryCode(code, &region);
    return region;
}

} // namespace

extern "C" Q_DECL_EXPORT bool
kurbelfonStoredNumber(const QString& rawNumber, const QString& ownCountryCode, QString* stored) {
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    if (util->Parse(rawNumber.toStdString(), regionOf(ownCountryCode), &number) !=
        PhoneNumberUtil::NO_PARSING_ERROR)
        return false;
    std::string national;
    util->GetNationalSignificantNumber(number, &national);
    if (national.empty())
        return false;
    const QString rest = QString::fromStdString(national);
    const qsizetype areaLength = util->GetLengthOfNationalDestinationCode(number);
    *stored = QString::number(number.country_code()) + QLatin1Char(' ');
    // Countries without area codes keep their number in one piece.
    if (areaLength > 0 && areaLength < rest.size())
        *stored += rest.left(areaLength) + QLatin1Char(' ') + rest.mid(areaLength);
    else
        *stored += rest;
    return true;
}
