#include "contacts/CardDavSession.h"

#include "router/ReplyGuard.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QtNetwork/private/qauthenticator_p.h>
#include <memory>

namespace {

int portOf(const QUrl& url) {
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

bool redirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

CardDavAnswer failed(CardDavResult::Error error, const QString& detail = QString()) {
    CardDavAnswer answer;
    answer.result.error = error;
    answer.result.detail = detail;
    return answer;
}

} // namespace

struct CardDavSession::Exchange {
    QByteArray method;
    QUrl url;
    int depth = -1;
    QByteArray body;
    int redirects = 0;
    CardDavResult::Error refusal = CardDavResult::Error::None;
    QString certificateSha256;
    Done done;
};

CardDavSession::CardDavSession(const CardDavTarget& target) : m_target(target) {}

bool CardDavSession::sameServer(const QUrl& url) const {
    return url.scheme() == m_target.address.scheme() &&
           url.host().compare(m_target.address.host(), Qt::CaseInsensitive) == 0 &&
           portOf(url) == portOf(m_target.address);
}

void CardDavSession::send(const QByteArray& method, const QUrl& url, int depth,
                          const QByteArray& body, Done done) {
    const auto later = [this, done](const CardDavAnswer& answer) {
        QTimer::singleShot(0, this, [done, answer] { done(answer); });
    };
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http"))
        return later(failed(CardDavResult::Error::Unreachable, scheme));
    if (!sameServer(url))
        return later(failed(CardDavResult::Error::OtherHost, url.host()));
    // Password and contacts would be readable on the way.
    if (scheme == QLatin1String("http") && !m_target.plainHttpAllowed)
        return later(failed(CardDavResult::Error::PlainHttp));
    auto started = std::make_shared<Exchange>();
    started->method = method;
    started->url = url;
    started->depth = depth;
    started->body = body;
    started->done = std::move(done);
    exchange(started);
}

void CardDavSession::exchange(const std::shared_ptr<Exchange>& exchange) {
    QNetworkRequest request(exchange->url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/xml; charset=utf-8"));
    if (exchange->depth >= 0)
        request.setRawHeader("Depth", QByteArray::number(exchange->depth));
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    auto* guard = new ReplyGuard(exchange->url.host(), MaxAnswerBytes, TimeLimitMs, this);
    connect(guard->manager(), &QNetworkAccessManager::authenticationRequired, this,
            &CardDavSession::onAuthenticationRequired);
    QNetworkReply* reply =
        guard->manager()->sendCustomRequest(request, exchange->method, exchange->body);
    guard->watch(reply);
    connect(reply, &QNetworkReply::sslErrors, this,
            [this, reply, guard, exchange](const QList<QSslError>& errors) {
                checkCertificate(reply, errors, guard, *exchange);
            });
    connect(guard, &ReplyGuard::finished, this,
            [this, guard, exchange](QNetworkReply* done) { finish(done, guard, exchange); });
}

void CardDavSession::checkCertificate(QNetworkReply* reply, const QList<QSslError>& errors,
                                      ReplyGuard* guard, Exchange& exchange) {
    // The system's authorities do not vouch for the certificate: the fingerprint the user
    // confirmed decides, before the request goes out.
    QSslCertificate certificate = reply->sslConfiguration().peerCertificate();
    for (qsizetype i = 0; certificate.isNull() && i < errors.size(); ++i)
        certificate = errors.at(i).certificate();
    QString fingerprint;
    const ReplyGuard::Pin pin =
        ReplyGuard::comparePin(certificate.toDer(), m_target.pinnedSha256, &fingerprint);
    if (pin == ReplyGuard::Pin::Matches) {
        reply->ignoreSslErrors(errors);
        return;
    }
    exchange.certificateSha256 = fingerprint;
    exchange.refusal = pin == ReplyGuard::Pin::Unknown ? CardDavResult::Error::CertificateUnknown
                                                       : CardDavResult::Error::CertificateChanged;
    guard->stop(ReplyGuard::Stop::Refused);
}

void CardDavSession::onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator) {
    if (!ReplyGuard::firstChallenge(reply))
        return;
    // Digest keeps the password to itself; Basic carries it as it is, so only inside TLS or
    // where the user allowed plain HTTP. Any other scheme gets no credentials at all.
    const auto method = QAuthenticatorPrivate::getPrivate(*authenticator)->method;
    const bool readable = reply->url().scheme() != QLatin1String("https");
    if (method != QAuthenticatorPrivate::DigestMd5 &&
        (method != QAuthenticatorPrivate::Basic || (readable && !m_target.plainHttpAllowed)))
        return;
    authenticator->setUser(m_target.user);
    authenticator->setPassword(m_target.password);
}

void CardDavSession::finish(QNetworkReply* reply, ReplyGuard* guard,
                            const std::shared_ptr<Exchange>& exchange) {
    guard->deleteLater();
    using Error = CardDavResult::Error;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    CardDavAnswer answer;
    answer.status = status;
    answer.url = exchange->url;
    answer.result.certificateSha256 = exchange->certificateSha256;
    if (exchange->refusal != Error::None) {
        answer.result.error = exchange->refusal;
    } else if (guard->stopped() == ReplyGuard::Stop::TooLarge) {
        answer.result.error = Error::TooLarge;
    } else if (guard->stopped() == ReplyGuard::Stop::NoAnswer ||
               (status == 0 && reply->error() == QNetworkReply::TimeoutError)) {
        answer.result.error = Error::NoAnswer;
    } else if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        answer.result.error = Error::LoginRefused;
    } else if (status == 0) {
        answer.result.error = Error::Unreachable;
        answer.result.detail = reply->errorString();
    } else if (redirect(status)) {
        const QUrl next = exchange->url.resolved(
            reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
        if (!sameServer(next)) {
            answer.result.error = Error::OtherHost;
            answer.result.detail = next.host();
        } else if (exchange->redirects >= MaxRedirects) {
            answer.result.error = Error::BadAnswer;
            answer.result.detail = QStringLiteral("zu viele Weiterleitungen");
        } else {
            exchange->url = next;
            ++exchange->redirects;
            this->exchange(exchange);
            return;
        }
    } else {
        answer.body = guard->body();
    }
    const Done done = std::move(exchange->done);
    done(answer);
}

extern "C" Q_DECL_EXPORT CardDavTransport*
kurbelfonCreateCardDavTransport(const CardDavTarget& target) {
    return new CardDavSession(target);
}
