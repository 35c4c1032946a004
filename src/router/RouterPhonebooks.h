#pragma once

#include "contacts/VCardReader.h"
#include "router/Tr64Client.h"

#include <QList>
#include <QObject>
#include <functional>

// The router's phone books (service X_AVM-DE_OnTel, as the call list): their names, and the
// contacts of one, fetched from the URL the router names with its session.
class RouterPhonebooks : public QObject {
    Q_OBJECT
public:
    struct Book {
        int id = 0;
        QString name;
    };
    // More are not believed.
    static constexpr int MaxBooks = 50;

    using BooksDone = std::function<void(const Tr64Result&, const QList<Book>&)>;
    using ContactsDone = std::function<void(const Tr64Result&, const QList<VCardContact>&)>;

    explicit RouterPhonebooks(const Tr64Target& target, QObject* parent = nullptr);

    // done runs exactly once, unless this object is destroyed first.
    void readBooks(BooksDone done);
    // A book that does not read is a bad answer, the reader's error its detail.
    void readContacts(int id, ContactsDone done);

private:
    void readBook(QList<int> ids, QList<Book> books, BooksDone done);

    Tr64Client* m_client;
};
