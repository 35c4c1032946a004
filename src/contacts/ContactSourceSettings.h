#pragma once

#include <QString>

class RegistryStore;

// Where a card's contacts were last fetched from, kept in the program's settings store so that
// "Kontakte holen" offers the same source again. The CardDAV password is in the key store.
struct ContactSourceSettings {
    enum class Kind { Router, CardDav };

    Kind kind = Kind::Router;
    int routerBookId = 0;
    QString routerBookName;
    QString cardDavAddress; // a collection, or just the server
    QString cardDavUser;
    QString cardDavBookUrl; // the address book chosen last, and its name
    QString cardDavBookName;
    QString cardDavCertificateSha256; // hex, pinned on first use
    bool cardDavPlainHttp = false;

    static QString keyFor(int card); // "SOFTWARE\Kurbelfon\Contacts\Card<n>"
    static ContactSourceSettings load(const RegistryStore& store, int card);
    bool save(RegistryStore& store, int card) const;
    // The key store's name for the CardDAV password of this address and user.
    QString passwordKey() const;
};
