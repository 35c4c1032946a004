#include "contacts/VCardReader.h"

#include "support/Cp1252.h"

#include <QStringList>

namespace {

struct Property {
    QByteArray name;
    QList<QByteArray> parameters; // upper case, "TYPE=CELL" or 2.1's bare "CELL"
    QByteArray value;
};

bool isQuotedPrintable(const QList<QByteArray>& parameters) {
    for (const QByteArray& p : parameters) {
        if (p == "QUOTED-PRINTABLE" || p == "ENCODING=QUOTED-PRINTABLE")
            return true;
    }
    return false;
}

QByteArray parameterValue(const QList<QByteArray>& parameters, const QByteArray& key) {
    for (const QByteArray& p : parameters) {
        if (p.startsWith(key + '='))
            return p.mid(key.size() + 1);
    }
    return QByteArray();
}

// Splits "NAME;PARAM;PARAM:value", dropping a group prefix ("item1.TEL").
Property parseLine(const QByteArray& line) {
    Property property;
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return property;
    const QList<QByteArray> head = line.left(colon).split(';');
    property.name = head.first().toUpper();
    const qsizetype dot = property.name.lastIndexOf('.');
    if (dot >= 0)
        property.name = property.name.mid(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        QByteArray parameter = head.at(i).trimmed().toUpper();
        parameter.replace('"', QByteArray());
        property.parameters << parameter;
    }
    property.value = line.mid(colon + 1);
    return property;
}

QByteArray decodeQuotedPrintable(const QByteArray& value) {
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == '=' && i + 2 < value.size()) {
            bool ok = false;
            const int byte = value.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(byte);
                i += 2;
                continue;
            }
        }
        out += value.at(i);
    }
    return out;
}

QString decodeText(const QByteArray& bytes, const QByteArray& charset) {
    if (charset == "WINDOWS-1252" || charset == "CP1252" || charset == "ISO-8859-1" ||
        charset == "ISO-8859-15" || charset == "LATIN1")
        return Cp1252::decode(bytes);
    return QString::fromUtf8(bytes);
}

QString valueText(const Property& property) {
    QByteArray raw = property.value;
    if (isQuotedPrintable(property.parameters))
        raw = decodeQuotedPrintable(raw);
    return decodeText(raw, parameterValue(property.parameters, "CHARSET"));
}

// The components of a structured value, split at unescaped ";" and unescaped.
QStringList components(const QString& value) {
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            parts.last() += next == QLatin1Char('n') || next == QLatin1Char('N')
                                ? QChar(QLatin1Char(' '))
                                : next;
        } else if (c == QLatin1Char(';')) {
            parts << QString();
        } else {
            parts.last() += c;
        }
    }
    for (QString& part : parts)
        part = part.trimmed();
    return parts;
}

QString phoneType(const QList<QByteArray>& parameters) {
    QList<QByteArray> types;
    for (const QByteArray& p : parameters) {
        const QByteArray list = p.startsWith("TYPE=") ? p.mid(5) : p;
        types += list.split(',');
    }
    // A fax number is never dialed by voice: the import leaves it out by this type.
    if (types.contains("FAX"))
        return QStringLiteral("Fax");
    if (types.contains("CELL") || types.contains("MOBILE"))
        return QStringLiteral("mobil");
    if (types.contains("WORK"))
        return QStringLiteral("Arbeit");
    if (types.contains("HOME"))
        return QStringLiteral("privat");
    return QString();
}

// Physical lines into logical ones: folded lines continue with a blank or tab, and a
// quoted-printable value continues after a line ending in "=".
QList<QByteArray> logicalLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    bool softBreak = false;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (softBreak && !lines.isEmpty()) {
            lines.last().chop(1); // the "=" of the soft break
            lines.last() += line.trimmed();
        } else if ((line.startsWith(' ') || line.startsWith('\t')) && !lines.isEmpty()) {
            lines.last() += line.mid(1);
        } else {
            lines << line;
        }
        softBreak =
            lines.last().endsWith('=') && lines.last().toUpper().contains("QUOTED-PRINTABLE");
    }
    return lines;
}

} // namespace

QList<VCardContact> ReadVCards(const QByteArray& bytes) {
    QList<VCardContact> contacts;
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    bool inside = false;
    VCardContact contact;
    for (const QByteArray& line : logicalLines(text)) {
        const Property property = parseLine(line);
        if (property.name == "BEGIN" && property.value.trimmed().toUpper() == "VCARD") {
            inside = true;
            contact = VCardContact();
        } else if (property.name == "END" && property.value.trimmed().toUpper() == "VCARD") {
            if (inside)
                contacts << contact;
            inside = false;
        } else if (!inside) {
            continue;
        } else if (property.name == "N") {
            const QStringList parts = components(valueText(property));
            contact.familyName = parts.value(0);
            contact.givenName = parts.value(1);
        } else if (property.name == "FN") {
            contact.formattedName = components(valueText(property)).join(QLatin1Char(';'));
        } else if (property.name == "TEL") {
            const QString number = valueText(property).trimmed();
            if (!number.isEmpty())
                contact.phones << VCardPhone{number, phoneType(property.parameters)};
        }
    }
    return contacts;
}
