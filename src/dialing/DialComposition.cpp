#include "dialing/DialComposition.h"

namespace {

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

bool isDialCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           QStringView(u" *#,WPT!@").contains(c);
}

// A leading "+" marks the number as international: what follows it is the stored number.
QString withoutInternationalMark(const QString& number) {
    const QString rest = withoutLeadingBlanks(number);
    return rest.startsWith(QLatin1Char('+')) ? withoutLeadingBlanks(rest.mid(1)) : number;
}

} // namespace

bool IsControlCharacter(QChar c) {
    return c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() <= 159);
}

QString WithoutControlCharacters(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (!IsControlCharacter(c))
            clean.append(c);
    }
    return clean;
}

QString DialCharactersOnly(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (isDialCharacter(c))
            clean.append(c);
    }
    return clean;
}

QString CharactersNotDialed(const QString& number) {
    QString dropped;
    for (const QChar c : withoutInternationalMark(number)) {
        if (!isDialCharacter(c) && !dropped.contains(c))
            dropped.append(c);
    }
    return dropped;
}

CallPlan PlanCall(const DialSettings& settings, const QString& number, int zeroFlag) {
    CallPlan plan;
    plan.localNumber = DialCharactersOnly(withoutInternationalMark(number));
    const QString& country = settings.OwnCountryCode;
    if (country.isEmpty() || !plan.localNumber.startsWith(country)) {
        plan.CallDistance = AbroadCall;
        return plan;
    }
    plan.localNumber = withoutLeadingBlanks(plan.localNumber.mid(country.size()));
    const QString& area = settings.OwnAreaCode;
    if (!area.isEmpty() && plan.localNumber.startsWith(area)) {
        plan.localNumber = withoutLeadingBlanks(plan.localNumber.mid(area.size()));
        plan.CallDistance = LocalCall;
    } else {
        if (zeroFlag != 0)
            plan.localNumber.prepend(QLatin1Char('0'));
        plan.CallDistance = NationalCall;
    }
    return plan;
}

ComposedDial ComposeDial(const DialSettings& settings, const CallPlan& plan,
                         const std::optional<QString>& providerNumber) {
    QString prefixPart;
    if (providerNumber)
        prefixPart += DialCharactersOnly(*providerNumber);
    if (plan.CallDistance == AbroadCall)
        prefixPart += DialCharactersOnly(settings.InternationalPrefix);
    const bool pulse = settings.PulseDialing != 0;
    QString handoverPart;
    if (settings.HandoverEnabled != 0 && !pulse)
        handoverPart = QStringLiteral(",!,") + DialCharactersOnly(settings.HandoverNumber);

    ComposedDial dial;
    dial.CallDistance = plan.CallDistance;
    dial.DialString = QStringLiteral("AT") + WithoutControlCharacters(settings.ExtraModemCommands) +
                      QStringLiteral("D") + (pulse ? QStringLiteral("P") : QStringLiteral("T")) +
                      DialCharactersOnly(settings.OutsideLinePrefix) + prefixPart +
                      plan.localNumber + handoverPart + QStringLiteral(";H\r");
    dial.displayNumber =
        plan.CallDistance == AbroadCall ? QStringLiteral("+") + plan.localNumber : plan.localNumber;
    return dial;
}

QString RouterDialDigits(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('*') ||
            c == QLatin1Char('#'))
            digits.append(c);
    }
    return digits;
}

QString ComposeRouterDial(const DialSettings& settings, const CallPlan& plan,
                          const std::optional<QString>& providerNumber) {
    QString digits = providerNumber.value_or(QString());
    if (plan.CallDistance == AbroadCall)
        digits += settings.InternationalPrefix;
    return RouterDialDigits(digits + plan.localNumber);
}
