#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

// What leaves an import or a link for the register and the modem: no control character (it
// would be saved unseen or end a modem command), no double quote (it would end a field of the
// register file), and a number of digits and blanks only.
inline void requireClean(const char* what, const QString& name, const QString& number) {
    const auto fail = [&](const char* why) {
        std::fprintf(stderr, "%s: %s\nname: %s\nnumber: %s\n", what, why,
                     name.toUtf8().toPercentEncoding(" ").constData(),
                     number.toUtf8().toPercentEncoding(" ").constData());
        std::abort();
    };
    for (const QChar c : name) {
        if (c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() <= 159))
            fail("control character in the name");
        if (c == QLatin1Char('"'))
            fail("double quote in the name");
    }
    for (const QChar c : number) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char(' '))
            fail("not a digit or blank in the number");
    }
}
