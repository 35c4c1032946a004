#include "contacts/ContactEntries.h"

#include "contacts/PhoneNumbers.h"
#include "dialing/DialComposition.h"
#include "register/EntryLine.h"
#include "support/Cp1252.h"
#include "support/MessageText.h"

#include <QSet>

namespace {

// A long list would push the message box off the screen: with a value of each quoted, one
// skipped contact can take two rows.
constexpr int MaxListed = 12;
// A skipped value is quoted only so far that the user knows which one it was.
constexpr int MaxQuoted = 40;

QString contactName(const VCardContact& contact) {
    QString name;
    if (!contact.familyName.isEmpty() && !contact.givenName.isEmpty())
        name = contact.familyName + QStringLiteral(", ") + contact.givenName;
    else if (!contact.familyName.isEmpty() || !contact.givenName.isEmpty())
        name = contact.familyName + contact.givenName;
    else
        name = contact.formattedName;
    // The register file quotes its fields: a double quote would end one early. A control
    // character would be saved unseen and reach every message that names the entry.
    ReplaceQuotes(name);
    return WithoutControlCharacters(name).simplified();
}

QString entryKey(const QString& name, const QString& number) {
    return name + QChar(0) + number;
}

// A fax answers no call; "**11" rings a telephone on the same router, from no other line.
bool faxOrInternal(const VCardPhone& phone) {
    return phone.type == QLatin1String("Fax") || phone.type == QLatin1String("intern") ||
           phone.number.trimmed().startsWith(QLatin1String("**"));
}

// "1 Eintrag", "2 Einträge"
QString counted(int count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

} // namespace

ContactEntries EntriesFromContacts(const QList<VCardContact>& contacts,
                                   const QString& ownCountryCode,
                                   const QStringList& existingLines) {
    ContactEntries result;
    QSet<QString> present;
    for (const QString& line : existingLines)
        present.insert(entryKey(GetEntryName(line), GetEntryNumber(line)));
    for (const VCardContact& contact : contacts) {
        QList<VCardPhone> phones;
        for (const VCardPhone& phone : contact.phones) {
            if (faxOrInternal(phone))
                ++result.faxOrInternal;
            else
                phones << phone;
        }
        if (phones.isEmpty()) {
            if (contact.phones.isEmpty())
                ++result.withoutNumber;
            continue;
        }
        QString name = contactName(contact);
        // The register holds Windows-1252 only: "Łukasz" is kept as "Lukasz", and said so.
        if (const QString near = Cp1252::nearest(name); near != name && Cp1252::canEncode(near)) {
            result.renamed << QStringLiteral("\u201E%1\u201C als \u201E%2\u201C")
                                  .arg(MessageText::Quoted(name, MaxQuoted),
                                       MessageText::Quoted(near, MaxQuoted));
            name = near;
        }
        const QString who =
            name.isEmpty() ? QStringLiteral("(ohne Namen)") : MessageText::Quoted(name, MaxQuoted);
        if (name.isEmpty()) {
            result.skipped << who + QStringLiteral(": kein Name");
            continue;
        }
        if (!Cp1252::canEncode(name)) {
            result.skipped << who + QStringLiteral(": Der Name enthält Zeichen, die das "
                                                   "Telefonregister nicht speichern kann.");
            continue;
        }
        for (const VCardPhone& phone : phones) {
            const std::optional<QString> number =
                PhoneNumbers::StoredNumber(phone.number, ownCountryCode);
            if (!number) {
                result.skipped << who + QStringLiteral(": Die Nummer \u201E%1\u201C ist nicht "
                                                       "lesbar.")
                                            .arg(MessageText::Quoted(phone.number, MaxQuoted));
                continue;
            }
            QString entryName = name;
            if (phones.size() > 1 && !phone.type.isEmpty())
                entryName += QStringLiteral(" (%1)").arg(phone.type);
            const QString key = entryKey(entryName, *number);
            if (present.contains(key)) {
                ++result.present;
                continue;
            }
            present.insert(key);
            result.lines << MakeEntryLine(entryName, *number, 1);
        }
    }
    return result;
}

QString ImportReport(const ContactEntries& entries) {
    QString text = entries.lines.size() == 1
                       ? QStringLiteral("1 Eintrag wurde übernommen.")
                       : QStringLiteral("%1 Einträge wurden übernommen.").arg(entries.lines.size());
    if (entries.present > 0)
        text += QLatin1Char('\r') +
                counted(entries.present, QStringLiteral("Eintrag"), QStringLiteral("Einträge")) +
                QStringLiteral(" schon vorhanden.");
    if (entries.withoutNumber > 0)
        text +=
            QLatin1Char('\r') +
            counted(entries.withoutNumber, QStringLiteral("Kontakt"), QStringLiteral("Kontakte")) +
            QStringLiteral(" ohne Rufnummer.");
    if (entries.faxOrInternal > 0)
        text += QLatin1Char('\r') +
                counted(entries.faxOrInternal, QStringLiteral("Fax- oder interne Nummer"),
                        QStringLiteral("Fax- und interne Nummern")) +
                QStringLiteral(" nicht übernommen.");
    const auto list = [&text](const QString& heading, const QStringList& rows) {
        if (rows.isEmpty())
            return;
        text += QStringLiteral("\r\r") + heading;
        for (qsizetype i = 0; i < rows.size() && i < MaxListed; ++i)
            text += QLatin1Char('\r') + rows.at(i);
        if (rows.size() > MaxListed)
            text += QStringLiteral("\r… und %1 weitere.").arg(rows.size() - MaxListed);
    };
    list(QStringLiteral("Mit ähnlichen Buchstaben übernommen:"), entries.renamed);
    list(QStringLiteral("Nicht übernommen:"), entries.skipped);
    return text;
}
