#include "contacts/WebDavBodies.h"

#include <QXmlStreamWriter>
#include <initializer_list>
#include <utility>

namespace {

const QString Dav = QStringLiteral("DAV:");
const QString CardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");
using Property = std::pair<const QString&, const char*>;

// <root><D:prop>the properties</D:prop>the hrefs</root>, both namespaces declared on the root.
QByteArray document(const QString& ns, const char* root, std::initializer_list<Property> properties,
                    const QStringList& hrefs = {}) {
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(Dav, QStringLiteral("D"));
    xml.writeNamespace(CardDav, QStringLiteral("C"));
    xml.writeStartElement(ns, QLatin1String(root));
    xml.writeStartElement(Dav, QStringLiteral("prop"));
    for (const Property& property : properties)
        xml.writeEmptyElement(property.first, QLatin1String(property.second));
    xml.writeEndElement();
    for (const QString& href : hrefs)
        xml.writeTextElement(Dav, QStringLiteral("href"), href);
    xml.writeEndDocument();
    return body;
}

} // namespace

QByteArray WebDavBodies::discovery() {
    return document(Dav, "propfind",
                    {{Dav, "resourcetype"},
                     {Dav, "displayname"},
                     {Dav, "current-user-principal"},
                     {CardDav, "addressbook-home-set"}});
}

QByteArray WebDavBodies::members() {
    return document(Dav, "propfind", {{Dav, "resourcetype"}, {Dav, "getetag"}});
}

QByteArray WebDavBodies::addressbookQuery() {
    return document(CardDav, "addressbook-query", {{Dav, "getetag"}, {CardDav, "address-data"}});
}

QByteArray WebDavBodies::multiget(const QStringList& paths) {
    return document(CardDav, "addressbook-multiget", {{Dav, "getetag"}, {CardDav, "address-data"}},
                    paths);
}
