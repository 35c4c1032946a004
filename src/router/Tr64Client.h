#pragma once

#include "router/Tr64Transport.h"

#include <QObject>
#include <memory>

// The router's TR-064 actions, asynchronous only. The requests go through the network module,
// loaded at the first one.
class Tr64Client : public QObject {
    Q_OBJECT
public:
    static constexpr int TimeLimitMs = Tr64Transport::TimeLimitMs;
    static constexpr qint64 MaxAnswerBytes = Tr64Transport::MaxAnswerBytes;

    using Done = Tr64Transport::Done;
    using FetchDone = Tr64Transport::FetchDone;

    explicit Tr64Client(const Tr64Target& target, QObject* parent = nullptr);
    ~Tr64Client() override;

    // done runs exactly once, unless this client is destroyed first.
    void call(const QString& service, const QString& controlUrl, const QString& action,
              const SoapMessage::Arguments& arguments, Done done);
    // GETs a document the router named in an answer (see Tr64Transport::fetch).
    void fetch(const QString& url, qint64 maxBytes, FetchDone done);
    // Calls an action whose answer names a document (the value urlName), and fetches it with
    // query appended. The result carries the action's values.
    void fetchNamed(const QString& service, const QString& controlUrl, const QString& action,
                    const SoapMessage::Arguments& arguments, const QString& urlName,
                    const QString& query, qint64 maxBytes, FetchDone done);
    // A fetched document that did not read is a bad answer, the reader's reason its detail.
    static Tr64Result readOutcome(const Tr64Result& fetched, bool read, const QString& error);

    const Tr64Target& target() const { return m_target; }
    // The fingerprint as people compare it: upper-case pairs separated by colons.
    static QString readableFingerprint(const QString& sha256Hex);

private:
    // The network module, loaded at the first request; false with the reason in missing.
    bool loadTransport(Tr64Result& missing);

    Tr64Target m_target;
    std::unique_ptr<Tr64Transport> m_transport;
};
