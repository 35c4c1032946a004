// Arbitrary text as a tel: or callto: link from the desktop: the number it gives is clean, and so
// is the link as a message shows it.
#include "CleanOutput.h"
#include "contacts/PhoneNumbers.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString link = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QString> number = PhoneNumbers::NumberFromLink(link, QStringLiteral("49"));
    if (number)
        requireClean("link number", QString(), *number);
    QString shown = PhoneNumbers::LinkForDisplay(link);
    requireClean("link shown", shown.remove(QLatin1Char('"')), QString());
    return 0;
}
