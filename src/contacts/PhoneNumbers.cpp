#include "contacts/PhoneNumbers.h"

#include "contacts/PhoneNumberModule.h"
#include "dialing/DialComposition.h"
#include "support/MessageText.h"
#include "support/ProgramModule.h"

#include <algorithm>

#include <QRegularExpression>
#include <QUrl>

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

// libphonenumber brings protobuf and abseil: they are loaded with the first number read.
StoredNumberFunction* storedNumberFunction() {
    static StoredNumberFunction* const function = [] {
        ProgramModule module(PhoneNumberModuleName);
        auto* resolved = module.resolveAs<StoredNumberFunction>(StoredNumberSymbol);
        if (!resolved)
            qWarning("No phone numbers can be read: %s", qPrintable(module.errorString()));
        return resolved;
    }();
    return function;
}

// Only what people write between digits goes through libphonenumber: it would drop anything
// else ("," pauses, "*", "#") without a word.
bool isPlainNumber(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.isDigit() || QStringView(u" ()-/.").contains(c); });
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == u' ')
        ++start;
    return text.mid(start);
}

} // namespace

namespace PhoneNumbers {

QString EntryNumber(const QString& typed, const DialSettings& settings) {
    const QString number = typed.trimmed();
    const QString& country = settings.OwnCountryCode;
    if (!number.startsWith(u'0') || country.isEmpty())
        return typed;
    const QString international = settings.InternationalPrefix.isEmpty()
                                      ? QStringLiteral("00")
                                      : settings.InternationalPrefix;
    const bool abroad = number.startsWith(international);
    const QString rest = withoutLeadingBlanks(number.mid(abroad ? international.size() : 1));
    if (digitCount(rest) == 0)
        return typed;
    if (isPlainNumber(rest)) {
        const std::optional<QString> stored = StoredNumber(abroad ? u'+' + rest : number, country);
        if (stored)
            return *stored;
    }
    return abroad ? rest : country + u' ' + rest;
}

std::optional<QString> StoredNumber(const QString& rawNumber, const QString& ownCountryCode) {
    if (hasControlCharacter(rawNumber))
        return std::nullopt;
    const int digits = digitCount(rawNumber);
    if (digits == 0 || digits > MaxDigits)
        return std::nullopt;
    StoredNumberFunction* function = storedNumberFunction();
    QString stored;
    if (!function || !function(rawNumber.trimmed(), ownCountryCode, &stored))
        return std::nullopt;
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
