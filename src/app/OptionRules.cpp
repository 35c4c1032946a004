#include "app/OptionRules.h"

#include <algorithm>
#include <cmath>

namespace OptionRules {

QString normaliseCode(const QString& typed) {
    qsizetype pos = 0;
    while (pos < typed.size() && typed.at(pos).isSpace())
        ++pos;
    // German users write a country code as "+49"; a minus sign is never meant and reads as 0.
    if (pos < typed.size() && typed.at(pos) == QLatin1Char('+'))
        ++pos;
    QString digits;
    while (pos < typed.size() && typed.at(pos) >= QLatin1Char('0') &&
           typed.at(pos) <= QLatin1Char('9'))
        digits.append(typed.at(pos++));
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

int sliderValueForSize(double size) {
    const int whole = int(std::lround(std::clamp(size, double(MinFontSize), double(MaxFontSize))));
    return MaxFontSize + MinFontSize - whole;
}

int sizeForSliderValue(int value) {
    return MaxFontSize + MinFontSize - value;
}

int comListIndexForPort(int comPort) {
    return std::clamp(comPort, 1, PortCount) - 1;
}

int wahlArtIndexForPulseDialing(int pulseDialing) {
    return std::clamp(pulseDialing, 0, 1);
}

} // namespace OptionRules
