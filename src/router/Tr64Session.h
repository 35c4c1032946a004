#pragma once

#include "router/Tr64Transport.h"

#include <QObject>

class QAuthenticator;
class QNetworkReply;

// TR-064 actions as SOAP over HTTP: digest login, TLS on the router's security port with its
// self-signed certificate pinned, every answer size- and time-limited. Part of the network
// module (see Tr64Transport).
class Tr64Session : public QObject, public Tr64Transport {
    Q_OBJECT
public:
    explicit Tr64Session(const Tr64Target& target);

    void call(const QString& service, const QString& controlUrl, const QString& action,
              const SoapMessage::Arguments& arguments, Done done) override;

private:
    struct Exchange;
    // withLogin: answer the router's login challenge. Over TLS the pinned certificate vouches
    // for the router; without it the challenge is looked at first.
    void post(bool secure, bool withLogin, const QString& service, const QString& controlUrl,
              const QString& action, const SoapMessage::Arguments& arguments, Done done);
    // False when the certificate is not the pinned one; the exchange then says why.
    bool checkCertificate(QNetworkReply* reply, Exchange& exchange);
    void onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    Tr64Result outcome(QNetworkReply* reply, const Exchange& exchange) const;

    Tr64Target m_target;
    int m_securePort = 0;
    bool m_answerNotHttp = false; // the last answer: bytes that were no HTTP, or none at all
};
