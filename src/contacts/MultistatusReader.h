#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One <response> of a WebDAV multistatus: what it names and the properties the server found.
struct MultistatusResponse {
    QString href;   // as the server wrote it, percent-encoded, often relative
    int status = 0; // the response's own status, else that of its found properties
    bool collection = false;
    bool addressbook = false;
    bool calendar = false;
    QString displayName;
    QString principal;   // current-user-principal
    QStringList homes;   // addressbook-home-set
    QString addressData; // the vCard text of addressbook-query and addressbook-multiget
    bool hasAddressData = false;
};

// A 207 Multi-Status body (RFC 4918, with the CardDAV properties of RFC 6352), read as an answer
// from the network must be: no document type and so no entities, a bounded size, depth and
// count. Properties the server reports as not found or forbidden are left out.
class MultistatusReader {
public:
    static constexpr qint64 MaxBytes = 20 * 1024 * 1024;
    static constexpr int MaxResponses = 10000;
    static constexpr int MaxDepth = 24;

    struct Result {
        bool multistatus = false; // the body was a DAV: multistatus at all
        QString error;            // why it was refused, empty when read
        QList<MultistatusResponse> responses;
        bool ok() const { return multistatus && error.isEmpty(); }
    };
    static Result read(const QByteArray& xml);
};
