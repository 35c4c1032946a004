#include "router/PhonebookReader.h"

#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>

namespace {

// phonebooks, phonebook, contact, its parts (person, telephony), their fields (realName,
// number): anything deeper is no phone book.
constexpr int MaxDepth = 5;

// The router's number types as the contact lists name them; unknown ones stay unnamed.
QString typeOf(const QString& routerType) {
    if (routerType.startsWith(QLatin1String("fax")))
        return QStringLiteral("Fax");
    static const QHash<QString, QString> Types{
        {QStringLiteral("home"), QStringLiteral("privat")},
        {QStringLiteral("mobile"), QStringLiteral("mobil")},
        {QStringLiteral("work"), QStringLiteral("Arbeit")},
        {QStringLiteral("intern"), QStringLiteral("intern")}};
    return Types.value(routerType);
}

QString fieldOf(const QString& text) {
    return text.left(PhonebookReader::MaxFieldLength).simplified();
}

} // namespace

PhonebookReader::Result PhonebookReader::read(const QByteArray& xml) {
    Result result;
    const auto refuse = [&result](const QString& why) {
        result.contacts.clear();
        result.bookName.clear();
        result.error = why;
        return result;
    };
    const QString unreadable = QStringLiteral("Das Telefonbuch des Routers ist unverständlich.");
    if (xml.size() > MaxBytes)
        return refuse(QStringLiteral("Das Telefonbuch des Routers ist zu groß."));
    QXmlStreamReader reader(xml);
    int depth = 0;
    VCardContact contact;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities of a document type could expand without end or reach out of the file.
            return refuse(QStringLiteral("Das Telefonbuch des Routers enthält einen Dokumenttyp."));
        case QXmlStreamReader::StartElement: {
            if (++depth > MaxDepth)
                return refuse(unreadable);
            const QStringView name = reader.name();
            if (depth == 1 && name != QLatin1String("phonebooks"))
                return refuse(QStringLiteral("Der Router hat kein Telefonbuch geschickt."));
            if (depth == 2 && name == QLatin1String("phonebook") && result.bookName.isEmpty())
                result.bookName =
                    fieldOf(reader.attributes().value(QLatin1String("name")).toString());
            if (depth == 3 && name == QLatin1String("contact"))
                contact = VCardContact();
            const bool isName = name == QLatin1String("realName");
            if (depth == 5 && (isName || name == QLatin1String("number"))) {
                const QString type = reader.attributes().value(QLatin1String("type")).toString();
                const QString text =
                    fieldOf(reader.readElementText(QXmlStreamReader::IncludeChildElements));
                --depth;
                if (isName)
                    contact.formattedName = text;
                else if (!text.isEmpty())
                    contact.phones.append({text, typeOf(type)});
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (depth-- == 3 && reader.name() == QLatin1String("contact") &&
                (!contact.formattedName.isEmpty() || !contact.phones.isEmpty())) {
                // Part of a book would look like all of it: too many is refused as a whole.
                if (result.contacts.size() >= MaxContacts)
                    return refuse(
                        QStringLiteral("Das Telefonbuch des Routers hat mehr als %1 Kontakte.")
                            .arg(QLocale(QLocale::German).toString(MaxContacts)));
                result.contacts.append(contact);
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return refuse(unreadable);
    result.ok = true;
    return result;
}
