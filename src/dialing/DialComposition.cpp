#include "dialing/DialComposition.h"

namespace {

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

} // namespace

QString WithoutControlCharacters(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 32)
            clean.append(c);
    }
    return clean;
}

CallPlan PlanCall(const DialSettings& settings, const QString& number, int zeroFlag) {
    CallPlan plan;
    plan.localNumber = WithoutControlCharacters(number);
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
        prefixPart += WithoutControlCharacters(*providerNumber);
    if (plan.CallDistance == AbroadCall)
        prefixPart += WithoutControlCharacters(settings.InternationalPrefix);
    const bool pulse = settings.PulseDialing != 0;
    QString handoverPart;
    if (settings.HandoverEnabled != 0 && !pulse)
        handoverPart = QStringLiteral(",!,") + WithoutControlCharacters(settings.HandoverNumber);

    ComposedDial dial;
    dial.CallDistance = plan.CallDistance;
    dial.DialString = QStringLiteral("AT") + WithoutControlCharacters(settings.ExtraModemCommands) +
                      QStringLiteral("D") + (pulse ? QStringLiteral("P") : QStringLiteral("T")) +
                      WithoutControlCharacters(settings.OutsideLinePrefix) + prefixPart +
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
