#pragma once

#include <QByteArray>
#include <QStringList>

// The request bodies of the address book client, written with QXmlStreamWriter.
namespace WebDavBodies {

// PROPFIND asking for what discovery needs: resource type, display name, the user's principal
// and the home of the address books.
QByteArray discovery();
// PROPFIND for the members of a book: resource type and entity tag, no content.
QByteArray members();
// REPORT addressbook-query for every card with its entity tag.
QByteArray addressbookQuery();
// REPORT addressbook-multiget for the cards at the given paths.
QByteArray multiget(const QStringList& paths);

} // namespace WebDavBodies
