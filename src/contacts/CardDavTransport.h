#pragma once

#include "contacts/CardDavTypes.h"
#include "support/NetworkModule.h"

#include <QByteArray>
#include <functional>

// One WebDAV exchange as the network module hands it back.
struct CardDavAnswer {
    CardDavResult result; // a failure of the exchange itself; the status is the caller's to judge
    int status = 0;
    QByteArray body;
    QUrl url; // where the answer came from, after redirects: hrefs are relative to it
};

// What the network module offers the address book client: QtNetwork with its TLS libraries is
// loaded at the first request.
class CardDavTransport {
public:
    static constexpr const char* ModuleName = NetworkModuleName;
    static constexpr const char* CreateSymbol = "kurbelfonCreateCardDavTransport";
    static constexpr int TimeLimitMs = 15000;
    static constexpr qint64 MaxAnswerBytes = 20 * 1024 * 1024;
    static constexpr int MaxRedirects = 5;
    using Done = std::function<void(const CardDavAnswer&)>;
    using CreateFunction = CardDavTransport*(const CardDavTarget& target);

    virtual ~CardDavTransport() = default;
    // method: "PROPFIND", "REPORT"; depth < 0 sends no Depth header. Only to the target's scheme,
    // host and port. done runs exactly once, later, unless the transport is destroyed first.
    virtual void send(const QByteArray& method, const QUrl& url, int depth, const QByteArray& body,
                      Done done) = 0;
};
