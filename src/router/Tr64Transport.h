#pragma once

#include "router/SoapMessage.h"
#include "router/Tr64Types.h"
#include "support/NetworkModule.h"

#include <functional>

// What the network module offers the router's client: QtNetwork with its TLS, Kerberos and proxy
// libraries is loaded at the first request, not before the first frame.
class Tr64Transport {
public:
    static constexpr const char* ModuleName = NetworkModuleName;
    static constexpr const char* CreateSymbol = "kurbelfonCreateTr64Transport";
    static constexpr int TimeLimitMs = 5000;
    static constexpr qint64 MaxAnswerBytes = 1024 * 1024;
    // The router's lists can be large, and it writes them slowly.
    static constexpr int FetchTimeLimitMs = 15000;
    using Done = std::function<void(const Tr64Result&)>;
    using FetchDone = std::function<void(const Tr64Result&, const QByteArray& body)>;
    using CreateFunction = Tr64Transport*(const Tr64Target& target);

    virtual ~Tr64Transport() = default;
    // done runs exactly once, later, unless the transport is destroyed first.
    virtual void call(const QString& service, const QString& controlUrl, const QString& action,
                      const SoapMessage::Arguments& arguments, Done done) = 0;
    // GETs a document the router named in an answer; its URL carries the session, so no login.
    // Only the router's own host and port, over TLS unless plain HTTP was chosen; the body is
    // refused when it reaches maxBytes.
    virtual void fetch(const QString& url, qint64 maxBytes, FetchDone done) = 0;
};
