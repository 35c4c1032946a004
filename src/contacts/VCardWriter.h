#pragma once

#include <QByteArray>
#include <QStringList>

// A card's entries as vCard 4.0 (RFC 6350), UTF-8, one contact per entry with FN, N and the
// number as a tel: URI: what phones and CardDAV servers import, and what the program's own
// import reads back as the same entries.
QByteArray WriteVCards(const QStringList& entryLines);
