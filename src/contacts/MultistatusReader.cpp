#include "contacts/MultistatusReader.h"

#include <QXmlStreamReader>

namespace {

const QString Dav = QStringLiteral("DAV:");
const QString CardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");
const QString CalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

// "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
int statusOf(const QString& line) {
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

// The properties of one <propstat>, kept apart until its <status> says whether they count.
struct Properties {
    bool collection = false;
    bool addressbook = false;
    bool calendar = false;
    QString displayName;
    QString principal;
    QStringList homes;
    QString addressData;
    bool hasAddressData = false;
    int status = 0;
};

void take(const Properties& found, MultistatusResponse& response) {
    response.collection |= found.collection;
    response.addressbook |= found.addressbook;
    response.calendar |= found.calendar;
    if (!found.displayName.isEmpty())
        response.displayName = found.displayName;
    if (!found.principal.isEmpty())
        response.principal = found.principal;
    response.homes += found.homes;
    if (found.hasAddressData) {
        response.addressData = found.addressData;
        response.hasAddressData = true;
    }
}

class Reader {
public:
    explicit Reader(const QByteArray& xml) : m_xml(xml) {}

    MultistatusReader::Result read() {
        while (next()) {
            if (!m_xml.isStartElement())
                continue;
            if (m_depth == 1) {
                m_result.multistatus =
                    m_xml.namespaceUri() == Dav && m_xml.name() == QLatin1String("multistatus");
                if (!m_result.multistatus)
                    return m_result;
            } else if (m_depth == 2 && isDav("response")) {
                if (m_result.responses.size() >= MultistatusReader::MaxResponses)
                    return refuse(QStringLiteral("mehr als %1 Einträge")
                                      .arg(MultistatusReader::MaxResponses));
                MultistatusResponse response;
                readResponse(response);
                m_result.responses.append(response);
            }
        }
        if (m_xml.hasError() && m_result.error.isEmpty())
            refuse(m_xml.errorString());
        return m_result;
    }

private:
    bool isDav(const char* name) const {
        return m_xml.namespaceUri() == Dav && m_xml.name() == QLatin1String(name);
    }
    bool isCard(const char* name) const {
        return m_xml.namespaceUri() == CardDav && m_xml.name() == QLatin1String(name);
    }

    MultistatusReader::Result refuse(const QString& why) {
        m_result.error = why;
        m_result.responses.clear();
        m_failed = true;
        return m_result;
    }

    // The next start or end of an element; false at the end or when the document is refused.
    bool next() {
        while (!m_failed && !m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::DTD:
                // Entities of a document type could expand without end or reach out of the file.
                refuse(QStringLiteral("Dokumenttyp"));
                return false;
            case QXmlStreamReader::StartElement:
                if (++m_depth > MultistatusReader::MaxDepth) {
                    refuse(QStringLiteral("zu tief verschachtelt"));
                    return false;
                }
                return true;
            case QXmlStreamReader::EndElement:
                --m_depth;
                return true;
            default:
                break;
            }
        }
        if (m_xml.hasError() && !m_failed)
            refuse(m_xml.errorString());
        return false;
    }

    // The next element inside the one at depth, which was started last or before.
    bool inside(int depth) { return next() && m_depth >= depth; }

    // The text of the element just started; what is nested inside counts towards the depth.
    QString text() {
        const int depth = m_depth;
        QString all;
        while (!m_failed && !m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::Characters)
                all += m_xml.text();
            else if (token == QXmlStreamReader::DTD)
                refuse(QStringLiteral("Dokumenttyp"));
            else if (token == QXmlStreamReader::StartElement &&
                     ++m_depth > MultistatusReader::MaxDepth)
                refuse(QStringLiteral("zu tief verschachtelt"));
            else if (token == QXmlStreamReader::EndElement && --m_depth < depth)
                break;
        }
        return all;
    }

    // The <href>s directly inside the element just started.
    QStringList hrefs() {
        QStringList found;
        const int depth = m_depth;
        while (inside(depth)) {
            if (m_xml.isStartElement() && m_depth == depth + 1 && isDav("href"))
                found.append(text().trimmed());
        }
        return found;
    }

    void readResponse(MultistatusResponse& response) {
        const int depth = m_depth;
        while (inside(depth)) {
            if (!m_xml.isStartElement() || m_depth != depth + 1)
                continue;
            if (isDav("href") && response.href.isEmpty()) {
                response.href = text().trimmed();
            } else if (isDav("status")) {
                response.status = statusOf(text());
            } else if (isDav("propstat")) {
                const Properties found = readPropstat();
                if (found.status >= 200 && found.status < 300) {
                    take(found, response);
                    if (response.status == 0)
                        response.status = found.status;
                }
            }
        }
    }

    Properties readPropstat() {
        Properties found;
        const int depth = m_depth;
        while (inside(depth)) {
            if (!m_xml.isStartElement() || m_depth != depth + 1)
                continue;
            if (isDav("status"))
                found.status = statusOf(text());
            else if (isDav("prop"))
                readProp(found);
        }
        return found;
    }

    void readProp(Properties& found) {
        const int depth = m_depth;
        while (inside(depth)) {
            if (!m_xml.isStartElement() || m_depth != depth + 1)
                continue;
            if (isDav("resourcetype")) {
                readResourceType(found);
            } else if (isDav("displayname")) {
                found.displayName = text().trimmed();
            } else if (isDav("current-user-principal")) {
                found.principal = hrefs().value(0);
            } else if (isCard("addressbook-home-set")) {
                found.homes += hrefs();
            } else if (isCard("address-data")) {
                found.addressData = text();
                found.hasAddressData = true;
            }
        }
    }

    void readResourceType(Properties& found) {
        const int depth = m_depth;
        while (inside(depth)) {
            if (!m_xml.isStartElement() || m_depth != depth + 1)
                continue;
            found.collection |= isDav("collection");
            found.addressbook |= isCard("addressbook");
            found.calendar |=
                m_xml.namespaceUri() == CalDav && m_xml.name() == QLatin1String("calendar");
        }
    }

    QXmlStreamReader m_xml;
    MultistatusReader::Result m_result;
    int m_depth = 0;
    bool m_failed = false;
};

} // namespace

MultistatusReader::Result MultistatusReader::read(const QByteArray& xml) {
    if (xml.size() > MaxBytes) {
        Result tooLarge;
        tooLarge.multistatus = true;
        tooLarge.error = QStringLiteral("zu groß");
        return tooLarge;
    }
    return Reader(xml).read();
}
