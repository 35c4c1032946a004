#pragma once

#include "app/ContactSourceDialog.h"
#include "contacts/VCardReader.h"
#include "support/RegistryStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class ContactImport;
class RouterCall;
class RouterPassword;
class QWidget;
struct ContactSourceSettings;

// "Kontakte holen": asks for the source of a card's contacts, reads the router's phone books
// or a CardDAV server's address books and then the chosen one's contacts, and hands them to the
// import. The dialog stays usable while the network answers; each failure is one message.
class ContactFetch : public QObject {
    Q_OBJECT
public:
    ContactFetch(RouterCall* router, ContactImport* import, QWidget* window);

    void fetch(int card);

signals:
    void modalDialogOpenChanged(bool open);

private:
    void readBooks(bool thenRead);
    void readContacts();
    void readRouter(bool books);
    void readCardDav(bool books);
    // A single book is read at once when "OK" asked for the books.
    void listBooks(const QList<ContactSourceDialog::Book>& books);
    // Messages and further dialogs wait until the network's answer is handled.
    void later(std::function<void()> then);
    void fail(const QString& message);
    void imported(const QList<VCardContact>& contacts);
    void withCardDavPassword(const ContactSourceSettings& source,
                             std::function<void(const QString&)> use);
    RouterPassword* cardDavPassword(const ContactSourceSettings& source);

    RegistryStore m_store;
    RouterCall* m_router;
    ContactImport* m_import;
    QWidget* m_window;
    QPointer<ContactSourceDialog> m_dialog;
    int m_card = 0;
    bool m_readAfterBooks = false;
    // One for each address and user: each asked once per run where no key store holds it.
    QHash<QString, RouterPassword*> m_cardDavPasswords;
};
