#include "router/SoapMessage.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString EnvelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString EncodingStyle = QStringLiteral("http://schemas.xmlsoap.org/soap/encoding/");
// Envelope, Body, the action's answer, its arguments: nothing a router sends lies deeper than
// the fault's detail, and a deep nest only costs time.
constexpr int MaxDepth = 8;

// The text of the current element, or nullopt when it holds elements of its own.
QString readText(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::SkipChildElements);
}
} // namespace

QByteArray SoapMessage::request(const QString& service, const QString& action,
                                const Arguments& arguments) {
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(EnvelopeNs, QStringLiteral("s"));
    xml.writeStartElement(EnvelopeNs, QStringLiteral("Envelope"));
    xml.writeAttribute(EnvelopeNs, QStringLiteral("encodingStyle"), EncodingStyle);
    xml.writeStartElement(EnvelopeNs, QStringLiteral("Body"));
    // The action's namespace is declared on the action itself, as routers expect it.
    xml.writeStartElement(QStringLiteral("u:") + action);
    xml.writeAttribute(QStringLiteral("xmlns:u"), service);
    for (const auto& [name, value] : arguments)
        xml.writeTextElement(name, value);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

SoapMessage::Answer SoapMessage::parse(const QByteArray& body, const QString& action) {
    Answer answer;
    const QString responseName = action + QStringLiteral("Response");
    QXmlStreamReader xml(body);
    int depth = 0;
    bool inResponse = false;
    bool inUpnpError = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities of a document type could expand without end or reach out of the file.
            return Answer();
        case QXmlStreamReader::StartElement: {
            if (++depth > MaxDepth)
                return Answer();
            const QString name = xml.name().toString();
            if (inResponse) {
                answer.values.insert(name, readText(xml));
                --depth;
            } else if (inUpnpError && name == QLatin1String("errorCode")) {
                answer.upnpErrorCode = readText(xml).trimmed().toInt();
                --depth;
            } else if (inUpnpError && name == QLatin1String("errorDescription")) {
                answer.errorDescription = readText(xml).trimmed();
                --depth;
            } else if (name == responseName) {
                inResponse = true;
                answer.understood = true;
            } else if (name == QLatin1String("Fault")) {
                answer.fault = true;
                answer.understood = true;
            } else if (answer.fault && name == QLatin1String("UPnPError")) {
                inUpnpError = true;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            if (xml.name() == responseName)
                inResponse = false;
            else if (xml.name() == QLatin1String("UPnPError"))
                inUpnpError = false;
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return Answer();
    return answer;
}
