#include "router/RouterCallList.h"

const QString RouterCallList::Service = QStringLiteral("urn:dslforum-org:service:X_AVM-DE_OnTel:1");
const QString RouterCallList::ControlUrl = QStringLiteral("/upnp/control/x_contact");

RouterCallList::RouterCallList(const Tr64Target& target, QObject* parent)
    : QObject(parent), m_client(new Tr64Client(target, this)) {}

void RouterCallList::read(int maxCalls, Done done) {
    m_client->fetchNamed(Service, ControlUrl, QStringLiteral("GetCallList"), {},
                         QStringLiteral("NewCallListURL"), QStringLiteral("&max=%1").arg(maxCalls),
                         CallListReader::MaxBytes,
                         [done](const Tr64Result& fetched, const QByteArray& body) {
                             const CallListReader::Result list = fetched.ok()
                                                                     ? CallListReader::read(body)
                                                                     : CallListReader::Result();
                             done(Tr64Client::readOutcome(fetched, list.ok, list.error), list);
                         });
}
