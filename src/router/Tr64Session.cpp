#include "router/Tr64Session.h"

#include "router/ReplyGuard.h"

#include <QAuthenticator>
#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QUrl>
#include <QtNetwork/private/qauthenticator_p.h>
#include <memory>

namespace {
const QString DeviceInfoService = QStringLiteral("urn:dslforum-org:service:DeviceInfo:1");
const QString DeviceInfoUrl = QStringLiteral("/upnp/control/deviceinfo");
constexpr int UpnpNotAuthorized = 606;
} // namespace

struct Tr64Session::Exchange {
    QString action;
    QByteArray body;
    RouterError refusal = RouterError::None;
    QString refusalDetail;
    QString certificateSha256;
    Done done;
};

Tr64Session::Tr64Session(const Tr64Target& target) : m_target(target) {}

void Tr64Session::call(const QString& service, const QString& controlUrl, const QString& action,
                       const SoapMessage::Arguments& arguments, Done done) {
    if (m_target.plainHttp || m_securePort > 0) {
        post(!m_target.plainHttp, !m_target.plainHttp, service, controlUrl, action, arguments,
             std::move(done));
        return;
    }
    // The TLS port is asked over the plain port; nothing secret goes with the question.
    post(false, false, DeviceInfoService, DeviceInfoUrl, QStringLiteral("GetSecurityPort"), {},
         [this, service, controlUrl, action, arguments, done](const Tr64Result& result) {
             // An answer that is no HTTP on the port of the address: the TLS port was typed
             // in. TLS with the pinned certificate goes on there; nothing secret went out.
             if (result.error == RouterError::Unreachable && m_answerNotHttp) {
                 m_securePort = m_target.port;
                 post(true, true, service, controlUrl, action, arguments, done);
                 return;
             }
             if (!result.ok()) {
                 done(result);
                 return;
             }
             bool ok = false;
             const int port = result.values.value(QStringLiteral("NewSecurityPort")).toInt(&ok);
             if (!ok || port <= 0 || port > 65535) {
                 Tr64Result bad;
                 bad.error = RouterError::BadAnswer;
                 bad.detail = QStringLiteral("GetSecurityPort");
                 done(bad);
                 return;
             }
             m_securePort = port;
             post(true, true, service, controlUrl, action, arguments, done);
         });
}

void Tr64Session::post(bool secure, bool withLogin, const QString& service,
                       const QString& controlUrl, const QString& action,
                       const SoapMessage::Arguments& arguments, Done done) {
    QUrl url;
    url.setScheme(secure ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(m_target.host);
    url.setPort(secure ? m_securePort : m_target.port);
    url.setPath(controlUrl);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("text/xml; charset=\"utf-8\""));
    request.setRawHeader("SOAPACTION", (service + QLatin1Char('#') + action).toUtf8());
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (secure) {
        // The router's certificate is self-signed: no authority vouches for it, so the pinned
        // fingerprint decides, once the handshake is done and before the request goes out.
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        request.setSslConfiguration(tls);
    }
    auto exchange = std::make_shared<Exchange>();
    exchange->action = action;
    exchange->done = std::move(done);
    // The router is in the home network: only the guard's own relay sees the traffic.
    auto* guard = new ReplyGuard(m_target.host, MaxAnswerBytes, TimeLimitMs, this);
    if (withLogin) {
        connect(guard->manager(), &QNetworkAccessManager::authenticationRequired, this,
                &Tr64Session::onAuthenticationRequired);
    }
    QNetworkReply* reply =
        guard->manager()->post(request, SoapMessage::request(service, action, arguments));
    guard->watch(reply);
    connect(reply, &QNetworkReply::encrypted, this, [this, reply, guard, exchange] {
        if (!checkCertificate(reply, *exchange))
            guard->stop(ReplyGuard::Stop::Refused);
    });
    connect(guard, &ReplyGuard::finished, this, [=, this] {
        guard->deleteLater();
        exchange->body = guard->body();
        if (exchange->refusal == RouterError::None && guard->stopped() != ReplyGuard::Stop::None) {
            const bool late = guard->stopped() == ReplyGuard::Stop::NoAnswer;
            exchange->refusal = late ? RouterError::NoAnswer : RouterError::BadAnswer;
            exchange->refusalDetail = late ? QString() : QStringLiteral("zu groß");
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // Without TLS the login waits until the router has asked for Digest: QtNetwork
        // would answer a Basic challenge too, and that sends the password as it is.
        if (!withLogin && status == 401 && action != QLatin1String("GetSecurityPort") &&
            reply->rawHeader("WWW-Authenticate").trimmed().toLower().startsWith("digest")) {
            post(secure, true, service, controlUrl, action, arguments, exchange->done);
            return;
        }
        m_answerNotHttp = status == 0 && (reply->error() == QNetworkReply::ProtocolFailure ||
                                          reply->error() == QNetworkReply::RemoteHostClosedError);
        const Tr64Result result = outcome(reply, *exchange);
        const Done finished = std::move(exchange->done);
        finished(result);
    });
}

bool Tr64Session::checkCertificate(QNetworkReply* reply, Exchange& exchange) {
    const QByteArray der = reply->sslConfiguration().peerCertificate().toDer();
    const QString fingerprint =
        QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex());
    if (!der.isEmpty() && fingerprint.compare(m_target.pinnedSha256, Qt::CaseInsensitive) == 0)
        return true;
    exchange.certificateSha256 = fingerprint;
    exchange.refusal = m_target.pinnedSha256.isEmpty() ? RouterError::CertificateUnknown
                                                       : RouterError::CertificateChanged;
    return false;
}

void Tr64Session::onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator) {
    // A second challenge means the first answer was refused; trying it again cannot help.
    const int tries = reply->property("kurbelfonLogins").toInt() + 1;
    reply->setProperty("kurbelfonLogins", tries);
    if (tries > 1)
        return;
    // Only a Digest answer keeps the password to itself; whoever asks for anything else (a
    // device answering in the router's place) gets no credentials at all.
    if (QAuthenticatorPrivate::getPrivate(*authenticator)->method !=
        QAuthenticatorPrivate::DigestMd5)
        return;
    authenticator->setUser(m_target.user);
    authenticator->setPassword(m_target.password);
}

Tr64Result Tr64Session::outcome(QNetworkReply* reply, const Exchange& exchange) const {
    Tr64Result result;
    result.certificateSha256 = exchange.certificateSha256;
    if (exchange.refusal != RouterError::None) {
        result.error = exchange.refusal;
        result.detail = exchange.refusalDetail;
        return result;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        result.error = RouterError::LoginRefused;
        return result;
    }
    if (status == 0) {
        result.error = reply->error() == QNetworkReply::TimeoutError ? RouterError::NoAnswer
                                                                     : RouterError::Unreachable;
        result.detail = reply->errorString();
        return result;
    }
    const SoapMessage::Answer answer = SoapMessage::parse(exchange.body, exchange.action);
    if (status == 200 && answer.understood && !answer.fault) {
        result.values = answer.values;
        return result;
    }
    if (answer.fault) {
        result.upnpErrorCode = answer.upnpErrorCode;
        result.detail = answer.errorDescription;
        result.error = answer.upnpErrorCode == UpnpNotAuthorized ? RouterError::NotAllowed
                                                                 : RouterError::Fault;
        return result;
    }
    result.error = RouterError::BadAnswer;
    result.detail = QStringLiteral("HTTP %1").arg(status);
    return result;
}

extern "C" Q_DECL_EXPORT Tr64Transport* kurbelfonCreateTr64Transport(const Tr64Target& target) {
    return new Tr64Session(target);
}
