#pragma once

#include "router/RouterSettings.h"
#include "router/Tr64Client.h"

#include <QObject>
#include <QStringList>
#include <functional>

// The router's dial helper ("Wählhilfe", service X_VoIP): it rings one of the router's
// telephones and dials once that is picked up. Also reads the telephones and the own codes.
class RouterDialHelper : public QObject {
    Q_OBJECT
public:
    static const QString Service;    // urn:dslforum-org:service:X_VoIP:1
    static const QString ControlUrl; // /upnp/control/x_voip
    // What the router names the telephone while the helper is switched off.
    static const QString Unconfigured;
    // Index 1, 2, ... until the router says there is no such port; more are not believed.
    static constexpr int MaxPhones = 40;

    explicit RouterDialHelper(const Tr64Target& target, QObject* parent = nullptr);
    static Tr64Target targetFor(const RouterSettings& settings, const QString& password);

    const Tr64Target& target() const { return m_client->target(); }

    // phone: the telephone to ring, as the router names it; empty: the one the router has.
    // done gets the telephone that rings.
    void dial(const QString& digits, const QString& phone,
              std::function<void(const Tr64Result&, const QString& ringing)> done);
    void hangUp(Tr64Client::Done done);
    // The router's telephones and the one the helper rings now (empty while it is off).
    void readPhones(
        std::function<void(const Tr64Result&, const QStringList& phones, const QString& current)>
            done);
    // The own country code and area code, without prefixes.
    void readCodes(
        std::function<void(const Tr64Result&, const QString& country, const QString& area)> done);

private:
    void call(const QString& action, const SoapMessage::Arguments& arguments,
              Tr64Client::Done done);
    void
    readPhonePort(int index, QStringList phones, const QString& current,
                  std::function<void(const Tr64Result&, const QStringList&, const QString&)> done);

    Tr64Client* m_client;
};
