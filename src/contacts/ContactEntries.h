#pragma once

#include "contacts/VCardReader.h"

#include <QStringList>

// What an import of contacts brings to a card.
struct ContactEntries {
    QStringList lines;   // new entry lines, none already on the card
    QStringList skipped; // "who: why", for the message at the end
    QStringList renamed; // "„as given“ als „as written“": names written with nearest letters
    int present = 0;     // numbers already on the card under the same name
    int withoutNumber = 0; // contacts without any telephone number
    int faxOrInternal = 0; // fax numbers and the router's own extensions ("**11"), left out
};

// One entry per number, named "Surname, Given name" (else the formatted name), the number's
// type after the name when a contact has several. Fax and internal numbers are not for dialing
// from here and are only counted. existingLines: the card's lines.
ContactEntries EntriesFromContacts(const QList<VCardContact>& contacts,
                                   const QString& ownCountryCode, const QStringList& existingLines);

// The one message at the end of an import.
QString ImportReport(const ContactEntries& entries);
