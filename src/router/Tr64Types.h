#pragma once

#include <QMap>
#include <QString>

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
    // Routers set to log in with the password alone still expect a user name over TR-064: this
    // one, the name TR-064 itself gives the configuring user.
    static inline const QString PasswordOnlyUser = QStringLiteral("dslf-config");

    QString host;
    int port = 49000; // the plain TR-064 port; the TLS port is the router's to say
    bool plainHttp = false;
    QString user;
    QString password;
    QString pinnedSha256; // hex, empty until the user confirmed a certificate

    // "host" or "host:port"; false when the port is no port.
    bool setAddress(const QString& address);
};
