#include "dialing/ToneKeys.h"

QString ToneKeys(const QString& dialString) {
    QString keys;
    const qsizetype dial = dialString.indexOf(QLatin1Char('D'), 0, Qt::CaseInsensitive);
    if (dial < 0)
        return keys;
    for (qsizetype i = dial + 1; i < dialString.size(); ++i) {
        const QChar c = dialString.at(i);
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('#'))
            keys += c;
        else if (c == QLatin1Char('*'))
            keys += QLatin1Char('x');
    }
    return keys;
}
