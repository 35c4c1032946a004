#pragma once

#include <QString>

class RegistryStore;

// What the program knows about the home router, kept in the program's settings store so that the
// register file keeps its format. The password is not here: it lives in the desktop's key store.
struct RouterSettings {
    static const QString Key;            // "SOFTWARE\Kurbelfon\Router" below HKEY_CURRENT_USER
    static const QString DefaultAddress; // "fritz.box"

    bool dialThroughRouter = false; // the third dial hardware
    QString address = DefaultAddress;
    QString user;
    QString phone;               // the telephone the router rings, as the router names it
    bool plainHttp = false;      // only when the user asked for it
    QString certificateSha256;   // hex, pinned on first use; empty until then
    bool passwordStored = false; // the key store holds one: the dialog may offer to keep it
    bool callMonitor = false;
    static constexpr quint16 DefaultCallMonitorPort = 1012;
    // Not offered to users (the router's port is fixed); tests point it at a peer of their own.
    quint16 callMonitorPort = DefaultCallMonitorPort;

    static RouterSettings load(const RegistryStore& store);
    bool save(RegistryStore& store) const;
};
