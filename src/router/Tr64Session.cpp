#include "router/Tr64Session.h"

#include "router/AnswerRelay.h"
#include "router/ReplyGuard.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <QtNetwork/private/qauthenticator_p.h>
#include <memory>

namespace {
const QString DeviceInfoService = QStringLiteral("urn:dslforum-org:service:DeviceInfo:1");
const QString DeviceInfoUrl = QStringLiteral("/upnp/control/deviceinfo");
constexpr int UpnpNotAuthorized = 606;
} // namespace

struct Tr64Session::Exchange {
    QByteArray body;
    RouterError refusal = RouterError::None;
    QString refusalDetail;
    QString certificateSha256;
};

Tr64Session::Tr64Session(const Tr64Target& target) : m_target(target) {}

void Tr64Session::call(const QString& service, const QString& controlUrl, const QString& action,
                       const SoapMessage::Arguments& arguments, Done done) {
    withSecurePort([=, this](const Tr64Result& portKnown) {
        if (!portKnown.ok())
            done(portKnown);
        else
            post(!m_target.plainHttp, !m_target.plainHttp, service, controlUrl, action, arguments,
                 done);
    });
}

void Tr64Session::fetch(const QString& url, qint64 maxBytes, FetchDone done) {
    withSecurePort([=, this](const Tr64Result& portKnown) {
        if (!portKnown.ok()) {
            done(portKnown, QByteArray());
            return;
        }
        const QUrl target(url, QUrl::StrictMode);
        if (!isRouters(target)) {
            // The session id must not leave the router, nor travel where TLS was chosen.
            Tr64Result refused;
            refused.error = RouterError::BadAnswer;
            refused.detail = QStringLiteral("fremde Adresse");
            QTimer::singleShot(0, this, [done, refused] { done(refused, QByteArray()); });
            return;
        }
        send(QNetworkRequest(target), nullptr, maxBytes, FetchTimeLimitMs, false,
             [done](QNetworkReply* reply, const Exchange& exchange) {
                 Tr64Result result = failure(reply, exchange);
                 const int status =
                     reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                 // Redirects are not followed: the list is where the router said it is.
                 if (result.ok() && status != 200) {
                     result.error = RouterError::BadAnswer;
                     result.detail = QStringLiteral("HTTP %1").arg(status);
                 }
                 done(result, result.ok() ? exchange.body : QByteArray());
             });
    });
}

bool Tr64Session::isRouters(const QUrl& url) const {
    const bool secure = !m_target.plainHttp;
    return url.isValid() &&
           url.scheme() == (secure ? QLatin1String("https") : QLatin1String("http")) &&
           url.userInfo().isEmpty() && AnswerRelay::sameHost(url.host(), m_target.host) &&
           url.port(secure ? 443 : 80) == (secure ? m_securePort : m_target.port);
}

void Tr64Session::withSecurePort(Done next) {
    if (m_target.plainHttp || m_securePort > 0) {
        next(Tr64Result());
        return;
    }
    // The TLS port is asked over the plain port; nothing secret goes with the question.
    post(false, false, DeviceInfoService, DeviceInfoUrl, QStringLiteral("GetSecurityPort"), {},
         [this, next](const Tr64Result& result) {
             // An answer that is no HTTP on the port of the address: the TLS port was typed
             // in. TLS with the pinned certificate goes on there; nothing secret went out.
             if (result.error == RouterError::Unreachable && m_answerNotHttp) {
                 m_securePort = m_target.port;
                 next(Tr64Result());
                 return;
             }
             if (!result.ok()) {
                 next(result);
                 return;
             }
             bool ok = false;
             const int port = result.values.value(QStringLiteral("NewSecurityPort")).toInt(&ok);
             if (!ok || port <= 0 || port > 65535) {
                 Tr64Result bad;
                 bad.error = RouterError::BadAnswer;
                 bad.detail = QStringLiteral("GetSecurityPort");
                 next(bad);
                 return;
             }
             m_securePort = port;
             next(Tr64Result());
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
    const QByteArray soap = SoapMessage::request(service, action, arguments);
    send(request, &soap, MaxAnswerBytes, TimeLimitMs, withLogin,
         [=, this](QNetworkReply* reply, const Exchange& exchange) {
             const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
             // Without TLS the login waits until the router has asked for Digest: QtNetwork
             // would answer a Basic challenge too, and that sends the password as it is.
             if (!withLogin && status == 401 && action != QLatin1String("GetSecurityPort") &&
                 reply->rawHeader("WWW-Authenticate").trimmed().toLower().startsWith("digest")) {
                 post(secure, true, service, controlUrl, action, arguments, done);
                 return;
             }
             m_answerNotHttp =
                 status == 0 && (reply->error() == QNetworkReply::ProtocolFailure ||
                                 reply->error() == QNetworkReply::RemoteHostClosedError);
             const Done finished = done;
             finished(outcome(reply, exchange, action));
         });
}

void Tr64Session::send(QNetworkRequest request, const QByteArray* soap, qint64 maxBytes,
                       int timeLimitMs, bool withLogin, Finished finished) {
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (request.url().scheme() == QLatin1String("https")) {
        // The router's certificate is self-signed: no authority vouches for it, so the pinned
        // fingerprint decides, once the handshake is done and before the request goes out.
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        request.setSslConfiguration(tls);
    }
    auto exchange = std::make_shared<Exchange>();
    // The router is in the home network: only the guard's own relay sees the traffic.
    auto* guard = new ReplyGuard(m_target.host, maxBytes, timeLimitMs, this);
    if (withLogin) {
        connect(guard->manager(), &QNetworkAccessManager::authenticationRequired, this,
                &Tr64Session::onAuthenticationRequired);
    }
    QNetworkReply* reply =
        soap ? guard->manager()->post(request, *soap) : guard->manager()->get(request);
    guard->watch(reply);
    connect(reply, &QNetworkReply::encrypted, this,
            [this, reply, guard, exchange] { checkCertificate(reply, guard, *exchange); });
    connect(guard, &ReplyGuard::finished, this, [guard, exchange, finished](QNetworkReply* done) {
        guard->deleteLater();
        exchange->body = guard->body();
        // A refused certificate says more than the abort it caused.
        if (exchange->refusal == RouterError::None) {
            if (guard->stopped() == ReplyGuard::Stop::NoAnswer) {
                exchange->refusal = RouterError::NoAnswer;
            } else if (guard->stopped() == ReplyGuard::Stop::TooLarge) {
                exchange->refusal = RouterError::BadAnswer;
                exchange->refusalDetail = QStringLiteral("zu groß");
            }
        }
        const Finished run = finished;
        run(done, *exchange);
    });
}

void Tr64Session::checkCertificate(QNetworkReply* reply, ReplyGuard* guard, Exchange& exchange) {
    QString fingerprint;
    const ReplyGuard::Pin pin = ReplyGuard::comparePin(
        reply->sslConfiguration().peerCertificate().toDer(), m_target.pinnedSha256, &fingerprint);
    if (pin == ReplyGuard::Pin::Matches)
        return;
    exchange.certificateSha256 = fingerprint;
    exchange.refusal = pin == ReplyGuard::Pin::Unknown ? RouterError::CertificateUnknown
                                                       : RouterError::CertificateChanged;
    guard->stop(ReplyGuard::Stop::Refused);
}

void Tr64Session::onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator) {
    if (!ReplyGuard::firstChallenge(reply))
        return;
    // Only a Digest answer keeps the password to itself; whoever asks for anything else (a
    // device answering in the router's place) gets no credentials at all.
    if (QAuthenticatorPrivate::getPrivate(*authenticator)->method !=
        QAuthenticatorPrivate::DigestMd5)
        return;
    authenticator->setUser(m_target.user);
    authenticator->setPassword(m_target.password);
}

Tr64Result Tr64Session::failure(QNetworkReply* reply, const Exchange& exchange) {
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
    }
    return result;
}

Tr64Result Tr64Session::outcome(QNetworkReply* reply, const Exchange& exchange,
                                const QString& action) {
    Tr64Result result = failure(reply, exchange);
    if (!result.ok())
        return result;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const SoapMessage::Answer answer = SoapMessage::parse(exchange.body, action);
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
