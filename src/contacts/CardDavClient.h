#pragma once

#include "contacts/CardDavTypes.h"
#include "contacts/MultistatusReader.h"
#include "contacts/VCardReader.h"

#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class CardDavTransport;
struct CardDavAnswer;

// Reads contacts from a CardDAV address book (Nextcloud, Radicale, Baïkal, mailbox.org,
// iCloud). The requests go through the network module, loaded at the first one.
class CardDavClient : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxContacts = 10000;
    using BooksDone = std::function<void(const CardDavResult&, const QList<CardDavBook>&)>;
    using ContactsDone = std::function<void(const CardDavResult&, const QList<VCardContact>&)>;

    explicit CardDavClient(const CardDavTarget& target, QObject* parent = nullptr);
    ~CardDavClient() override;

    // The address books at the address: a collection URL gives itself; a server address is
    // found through /.well-known/carddav, current-user-principal, addressbook-home-set.
    // done runs exactly once, unless this client is destroyed first.
    void findBooks(BooksDone done);
    // All contacts of one book; an empty book is no error.
    void readContacts(const QUrl& book, ContactsDone done);

    // German, for a message box: plain text, lines separated by "\n".
    static QString message(const CardDavResult& result, const QString& address);

private:
    using AnswerDone = std::function<void(const CardDavAnswer&)>;
    void send(const QByteArray& method, const QUrl& url, int depth, const QByteArray& body,
              AnswerDone done);
    void askPrincipal(const QUrl& url, bool wellKnownTried, BooksDone done);
    void askHome(const QUrl& principal, BooksDone done);
    void listHome(const QUrl& home, BooksDone done);
    void readByMultiget(const QUrl& book, ContactsDone done);
    void multigetBatch(const QUrl& book, std::shared_ptr<QStringList> cards,
                       std::shared_ptr<QList<VCardContact>> contacts, ContactsDone done);
    // The cards of the responses added to contacts; a failure past the contact limit.
    static std::optional<CardDavResult> take(const MultistatusReader::Result& read,
                                             QList<VCardContact>& contacts);

    CardDavTarget m_target;
    std::unique_ptr<CardDavTransport> m_transport;
};
