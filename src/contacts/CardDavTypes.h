#pragma once

#include <QString>
#include <QUrl>

// Where and as whom to reach a CardDAV address book.
struct CardDavTarget {
    QUrl address; // the server's or a collection's address as the user typed it
    QString user;
    QString password;
    bool plainHttpAllowed = false; // the user chose http:// knowing that it is readable
    QString pinnedSha256;          // hex, for a certificate no authority vouches for
};

struct CardDavBook {
    QUrl url;
    QString name; // the server's display name, else the last part of the path
};

// Why a request to an address book came to nothing; each is a message the user can act on.
struct CardDavResult {
    enum class Error {
        None,
        Unreachable,        // no connection
        NoAnswer,           // the time limit passed
        LoginRefused,       // user name or password refused
        NotCardDav,         // the server does not speak WebDAV at the address
        NoAddressBook,      // a calendar, something else, or no address book found
        OtherHost,          // sent to another server or scheme; nothing went there
        PlainHttp,          // http:// without the user's consent; nothing was sent
        CertificateUnknown, // no authority vouches for it and none is pinned; nothing was sent
        CertificateChanged, // not the pinned one; nothing was sent
        TooLarge,           // over the size or contact limit
        BadAnswer           // unreadable, or an error status
    };
    Error error = Error::None;
    QString detail;            // the server's or the network's words, plain text
    QString certificateSha256; // with CertificateUnknown and CertificateChanged

    bool ok() const { return error == Error::None; }
};
