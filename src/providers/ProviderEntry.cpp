#include "providers/ProviderEntry.h"

#include "register/EntryLine.h"

ProviderEntry ProviderEntry::fromFlags(const QString& name, const QString& networkNumber, int moFr,
                                       int saSo, int startHour, int endHour, int local,
                                       int longDistance, int abroad) {
    ProviderEntry entry;
    // The file has no escape for a double quote: the row holds what the file will hold.
    entry.Name = name.trimmed();
    ReplaceQuotes(entry.Name);
    entry.NetworkNumber = networkNumber.trimmed();
    ReplaceQuotes(entry.NetworkNumber);
    const int dayCode = (2 * saSo) | moFr;
    entry.DayCode = dayCode >= 1 && dayCode <= 3 ? dayCode : 0;
    entry.StartHour = startHour;
    entry.EndHour = endHour;
    entry.Local = local != 0;
    entry.LongDistance = longDistance != 0;
    entry.Abroad = abroad != 0;
    return entry;
}

QString ProviderEntry::dayText() const {
    switch (DayCode) {
    case 1:
        return QStringLiteral("Mo-Fr");
    case 2:
        return QStringLiteral("Sa-So");
    case 3:
        return QStringLiteral("Immer");
    default:
        return QString();
    }
}

QString ProviderEntry::callTypeText() const {
    QString text;
    if (Local)
        text += u'N';
    if (LongDistance)
        text += u'F';
    if (Abroad)
        text += u'A';
    return text;
}

QString ProviderEntry::columnText(int column) const {
    switch (column) {
    case NameColumn:
        return Name;
    case NetworkColumn:
        return NetworkNumber;
    case DayColumn:
        return dayText();
    case StartColumn:
        return HourText(StartHour);
    case EndColumn:
        return HourText(EndHour);
    case CallTypeColumn:
        return callTypeText();
    default:
        return QString();
    }
}

QString HourText(int hour) {
    if (hour >= 0 && hour <= 99)
        return QStringLiteral("%1h").arg(hour, 2, 10, QLatin1Char('0'));
    return QString::number(hour) + u'h';
}

QString FormatHourRange(int startHour, int endHour) {
    return QString::number(startHour + 100).right(2) + QStringLiteral("h - ") +
           QString::number(endHour + 100).right(2) + u'h';
}
