#include "contacts/VCardWriter.h"

#include "register/EntryLine.h"

namespace {

QString escaped(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char(','), QStringLiteral("\\,"));
    value.replace(QLatin1Char(';'), QStringLiteral("\\;"));
    return value;
}

} // namespace

QByteArray WriteVCards(const QStringList& entryLines) {
    QString out;
    for (const QString& line : entryLines) {
        const QString name = GetEntryName(line);
        // The register's "Surname, Given name"; a name without the comma is the surname.
        const qsizetype comma = name.indexOf(QStringLiteral(", "));
        const QString family = comma >= 0 ? name.left(comma) : name;
        const QString given = comma >= 0 ? name.mid(comma + 2) : QString();
        out += QStringLiteral("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:") + escaped(name) +
               QStringLiteral("\r\nN:") + escaped(family) + QLatin1Char(';') + escaped(given) +
               QStringLiteral(";;;\r\n");
        // The stored blanks become the URI's visual separators.
        const QString number =
            GetEntryNumber(line).simplified().replace(QLatin1Char(' '), QLatin1Char('-'));
        if (!number.isEmpty())
            out += QStringLiteral("TEL;VALUE=uri:tel:+") + number + QStringLiteral("\r\n");
        out += QStringLiteral("END:VCARD\r\n");
    }
    return out.toUtf8();
}
