#include "contacts/PhoneNumbers.h"

#include "dialing/DialComposition.h"
#include "support/MessageText.h"

#include <algorithm>

#include <QRegularExpression>
#include <QUrl>
#include <phonenumbers/phonenumberutil.h>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

const QString TelScheme = QStringLiteral("tel:");
const QString CalltoScheme = QStringLiteral("callto:");

bool hasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

int digitCount(const QString& text) {
    int count = 0;
    for (const QChar c : text) {
        if (c.isDigit())
            ++count;
    }
    return count;
}

std::string regionOf(const QString& countryCode) {
    bool ok = false;
    const int code = countryCode.trimmed().toInt(&ok);
    std::string region = "ZZ";
    if (ok)
        PhoneNumberUtil::GetInstance()->GetRegionCodeForCountryCode(code, &region);
    return region;
}

} // namespace

namespace PhoneNumbers {

std::optional<QString> StoredNumber(const QString& rawNumber, const QString& ownCountryCode) {
    if (hasControlCharacter(rawNumber))
        return std::nullopt;
    const int digits = digitCount(rawNumber);
    if (digits == 0 || digits > MaxDigits)
        return std::nullopt;
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    if (util->Parse(rawNumber.trimmed().toStdString(), regionOf(ownCountryCode), &number) !=
        PhoneNumberUtil::NO_PARSING_ERROR)
        return std::nullopt;
    std::string national;
    util->GetNationalSignificantNumber(number, &national);
    if (national.empty())
        return std::nullopt;
    const QString rest = QString::fromStdString(national);
    const qsizetype areaLength = util->GetLengthOfNationalDestinationCode(number);
    QString stored = QString::number(number.country_code()) + QLatin1Char(' ');
    // Countries without area codes keep their number in one piece.
    if (areaLength > 0 && areaLength < rest.size())
        stored += rest.left(areaLength) + QLatin1Char(' ') + rest.mid(areaLength);
    else
        stored += rest;
    return stored;
}

bool IsPhoneLink(const QString& argument) {
    return argument.startsWith(TelScheme, Qt::CaseInsensitive) ||
           argument.startsWith(CalltoScheme, Qt::CaseInsensitive);
}

std::optional<QString> NumberFromLink(const QString& link, const QString& ownCountryCode) {
    if (!IsPhoneLink(link) || hasControlCharacter(link))
        return std::nullopt;
    QString body = link.mid(link.indexOf(QLatin1Char(':')) + 1);
    // callto: links of some programs write "callto://+49...".
    while (body.startsWith(QLatin1Char('/')))
        body.remove(0, 1);
    // Parameters (";phone-context=", ";ext=") and queries are no part of what is dialed.
    const qsizetype end = body.indexOf(QRegularExpression(QStringLiteral("[;?#]")));
    if (end >= 0)
        body.truncate(end);
    const QString number = QUrl::fromPercentEncoding(body.toUtf8());
    // Decoding may bring back what the link hid: "%0D" must not reach the modem.
    if (hasControlCharacter(number))
        return std::nullopt;
    return StoredNumber(number, ownCountryCode);
}

QString LinkForDisplay(const QString& link) {
    constexpr int MaxShown = 80;
    return MessageText::Quoted(link, MaxShown);
}

} // namespace PhoneNumbers
