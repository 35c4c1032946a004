#pragma once

#include "router/Tr64Transport.h"

#include <QObject>

class QAuthenticator;
class QNetworkReply;
class QNetworkRequest;
class QUrl;
class ReplyGuard;

// TR-064 actions as SOAP over HTTP: digest login, TLS on the router's security port with its
// self-signed certificate pinned, every answer size- and time-limited. Part of the network
// module (see Tr64Transport).
class Tr64Session : public QObject, public Tr64Transport {
    Q_OBJECT
public:
    explicit Tr64Session(const Tr64Target& target);

    void call(const QString& service, const QString& controlUrl, const QString& action,
              const SoapMessage::Arguments& arguments, Done done) override;
    void fetch(const QString& url, qint64 maxBytes, FetchDone done) override;

private:
    struct Exchange;
    using Finished = std::function<void(QNetworkReply*, const Exchange&)>;
    // Over TLS the router's security port is asked first, once; next gets a failure or nothing.
    void withSecurePort(Done next);
    // withLogin: answer the router's login challenge. Over TLS the pinned certificate vouches
    // for the router; without it the challenge is looked at first.
    void post(bool secure, bool withLogin, const QString& service, const QString& controlUrl,
              const QString& action, const SoapMessage::Arguments& arguments, Done done);
    // One request on a connection of its own, sent through a ReplyGuard: the pinned certificate
    // checked before anything is sent, body and time limited. soap: the body to POST; without
    // it a GET.
    void send(QNetworkRequest request, const QByteArray* soap, qint64 maxBytes, int timeLimitMs,
              bool withLogin, Finished finished);
    void checkCertificate(QNetworkReply* reply, ReplyGuard* guard, Exchange& exchange);
    void onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    bool isRouters(const QUrl& url) const;
    // A refusal, a failed login or no HTTP answer at all; ok when an answer came.
    static Tr64Result failure(QNetworkReply* reply, const Exchange& exchange);
    static Tr64Result outcome(QNetworkReply* reply, const Exchange& exchange,
                              const QString& action);

    Tr64Target m_target;
    int m_securePort = 0;
    bool m_answerNotHttp = false; // the last answer: bytes that were no HTTP, or none at all
};
