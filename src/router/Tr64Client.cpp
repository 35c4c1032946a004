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

bool Tr64Client::loadTransport(Tr64Result& missing) {
    if (!m_transport) {
        m_transport = ProgramModule::createPart<Tr64Transport>(QStringLiteral("Netzwerkanbindung"),
                                                               &missing.detail, m_target);
        missing.error = RouterError::Unreachable;
    }
    return m_transport != nullptr;
}

void Tr64Client::call(const QString& service, const QString& controlUrl, const QString& action,
                      const SoapMessage::Arguments& arguments, Done done) {
    Tr64Result missing;
    if (!loadTransport(missing)) {
        QTimer::singleShot(0, this, [done, missing] { done(missing); });
        return;
    }
    m_transport->call(service, controlUrl, action, arguments, std::move(done));
}

void Tr64Client::fetch(const QString& url, qint64 maxBytes, FetchDone done) {
    Tr64Result missing;
    if (!loadTransport(missing)) {
        QTimer::singleShot(0, this, [done, missing] { done(missing, QByteArray()); });
        return;
    }
    m_transport->fetch(url, maxBytes, std::move(done));
}

void Tr64Client::fetchNamed(const QString& service, const QString& controlUrl,
                            const QString& action, const SoapMessage::Arguments& arguments,
                            const QString& urlName, const QString& query, qint64 maxBytes,
                            FetchDone done) {
    call(service, controlUrl, action, arguments,
         [this, action, urlName, query, maxBytes, done](const Tr64Result& answer) {
             const QString url = answer.values.value(urlName).trimmed();
             if (answer.ok() && url.isEmpty()) {
                 Tr64Result bad;
                 bad.error = RouterError::BadAnswer;
                 bad.detail = action;
                 done(bad, QByteArray());
                 return;
             }
             if (!answer.ok()) {
                 done(answer, QByteArray());
                 return;
             }
             fetch(url + query, maxBytes,
                   [answer, done](const Tr64Result& fetched, const QByteArray& body) {
                       Tr64Result result = fetched;
                       result.values = answer.values;
                       done(result, body);
                   });
         });
}

Tr64Result Tr64Client::readOutcome(const Tr64Result& fetched, bool read, const QString& error) {
    Tr64Result result = fetched;
    if (fetched.ok() && !read) {
        result.error = RouterError::BadAnswer;
        result.detail = error;
    }
    return result;
}
