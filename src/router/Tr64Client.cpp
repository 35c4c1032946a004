#include "router/Tr64Client.h"

#include "support/ProgramModule.h"

#include <QStringList>
#include <QTimer>

bool Tr64Target::setAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    port = 49000;
    // "[v6]" and "[v6]:port"; a bare IPv6 address has colons of its own and names no port.
    const qsizetype bracket =
        trimmed.startsWith(QLatin1Char('[')) ? trimmed.indexOf(QLatin1Char(']')) : -1;
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    const bool namesPort = bracket >= 0 ? colon > bracket : trimmed.count(QLatin1Char(':')) == 1;
    host = bracket >= 0 ? trimmed.mid(1, bracket - 1) : namesPort ? trimmed.left(colon) : trimmed;
    if (namesPort) {
        bool ok = false;
        port = trimmed.mid(colon + 1).toInt(&ok);
        if (!ok || port <= 0 || port > 65535)
            return false;
    } else if (bracket >= 0 && bracket != trimmed.size() - 1) {
        return false;
    }
    return !host.isEmpty();
}

Tr64Client::Tr64Client(const Tr64Target& target, QObject* parent)
    : QObject(parent), m_target(target) {}

Tr64Client::~Tr64Client() = default;

QString Tr64Client::readableFingerprint(const QString& sha256Hex) {
    QStringList pairs;
    for (qsizetype i = 0; i < sha256Hex.size(); i += 2)
        pairs.append(sha256Hex.mid(i, 2).toUpper());
    return pairs.join(QLatin1Char(':'));
}

void Tr64Client::call(const QString& service, const QString& controlUrl, const QString& action,
                      const SoapMessage::Arguments& arguments, Done done) {
    if (!m_transport) {
        Tr64Result missing;
        m_transport = ProgramModule::createPart<Tr64Transport>(QStringLiteral("Netzwerkanbindung"),
                                                               &missing.detail, m_target);
        if (!m_transport) {
            missing.error = RouterError::Unreachable;
            QTimer::singleShot(0, this, [done, missing] { done(missing); });
            return;
        }
    }
    m_transport->call(service, controlUrl, action, arguments, std::move(done));
}
