#pragma once

#include "router/SoapMessage.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class QAuthenticator;
class QNetworkReply;

// Why a request to the router came to nothing; each is a message the user can act on.
enum class RouterError {
    None,
    Unreachable,        // no connection: wrong address, or access for applications switched off
    NoAnswer,           // the time limit passed
    LoginRefused,       // the digest answer was refused: user name or password
    NotAllowed,         // logged in, but the user lacks the rights
    HelperOff,          // the dial helper is off or has no telephone
    NoSuchPhone,        // the chosen telephone does not exist
    CertificateUnknown, // first TLS contact: the fingerprint must be confirmed
    CertificateChanged, // a different certificate than the pinned one; nothing was sent
    Fault,              // a fault with a UPnP error code that none of the above explains
    BadAnswer           // unreadable, too large, or not a TR-064 answer
};

struct Tr64Result {
    RouterError error = RouterError::None;
    int upnpErrorCode = 0;
    QString detail;            // the router's or the network's own words, for the curious
    QString certificateSha256; // with CertificateUnknown and CertificateChanged
    QMap<QString, QString> values;

    bool ok() const { return error == RouterError::None; }
};

// Where and as whom to reach the router.
struct Tr64Target {
    QString host;
    int port = 49000; // the plain TR-064 port; the TLS port is the router's to say
    bool plainHttp = false;
    QString user;
    QString password;
    QString pinnedSha256; // hex, empty until the user confirmed a certificate

    // "host" or "host:port"; false when the port is no port.
    bool setAddress(const QString& address);
};

// TR-064 actions as SOAP over HTTP: digest login, TLS on the router's security port with its
// self-signed certificate pinned, every answer size- and time-limited. Asynchronous only.
class Tr64Client : public QObject {
    Q_OBJECT
public:
    static constexpr int TimeLimitMs = 5000;
    static constexpr qint64 MaxAnswerBytes = 1024 * 1024;

    using Done = std::function<void(const Tr64Result&)>;

    explicit Tr64Client(const Tr64Target& target, QObject* parent = nullptr);

    // done runs exactly once, unless this client is destroyed first.
    void call(const QString& service, const QString& controlUrl, const QString& action,
              const SoapMessage::Arguments& arguments, Done done);

    const Tr64Target& target() const { return m_target; }
    // The fingerprint as people compare it: upper-case pairs separated by colons.
    static QString readableFingerprint(const QString& sha256Hex);

private:
    struct Exchange;
    // withLogin: answer the router's login challenge. Over TLS the pinned certificate vouches
    // for the router; without it the challenge is looked at first.
    void post(bool secure, bool withLogin, const QString& service, const QString& controlUrl,
              const QString& action, const SoapMessage::Arguments& arguments, Done done);
    void checkCertificate(QNetworkReply* reply, Exchange& exchange);
    void onAuthenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    Tr64Result outcome(QNetworkReply* reply, const Exchange& exchange) const;

    Tr64Target m_target;
    int m_securePort = 0;
};
