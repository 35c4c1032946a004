#pragma once

#include "router/CallListReader.h"
#include "router/Tr64Client.h"

#include <QObject>
#include <functional>

// The router's call list (service X_AVM-DE_OnTel): the router names a URL with its session,
// the list is fetched from there and read.
class RouterCallList : public QObject {
    Q_OBJECT
public:
    static const QString Service;    // urn:dslforum-org:service:X_AVM-DE_OnTel:1
    static const QString ControlUrl; // /upnp/control/x_contact

    using Done = std::function<void(const Tr64Result&, const CallListReader::Result&)>;

    explicit RouterCallList(const Tr64Target& target, QObject* parent = nullptr);

    // The newest maxCalls calls. A list that does not read is a bad answer, the reader's error
    // its detail. done runs exactly once, unless this object is destroyed first.
    void read(int maxCalls, Done done);

private:
    Tr64Client* m_client;
};
