#pragma once

#include "contacts/CardDavTransport.h"

#include <QObject>

class QAuthenticator;
class QNetworkReply;
class QSslError;
class ReplyGuard;

// WebDAV requests to an address book server: TLS checked by the system's authorities or else a
// pinned fingerprint, Basic login only where it is not readable on the way, redirects followed
// by hand within the server, every answer size- and time-limited. Part of the network module
// (see CardDavTransport).
class CardDavSession : public QObject, public CardDavTransport {
    Q_OBJECT
public:
    explicit CardDavSession(const CardDavTarget& target);

    void send(const QByteArray& method, const QUrl& url, int depth, const QByteArray& body,
              Done done) override;

private:
    struct Exchange;
    void exchange(const std::shared_ptr<Exchange>& exchange);
    void checkCertificate(QNetworkReply* reply, const QList<QSslError>& errors, ReplyGuard* guard,
                          Exchange& exchange);
    void onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    void finish(QNetworkReply* reply, ReplyGuard* guard, const std::shared_ptr<Exchange>& exchange);
    bool sameServer(const QUrl& url) const;

    CardDavTarget m_target;
};
