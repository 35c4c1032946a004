#pragma once

#include "contacts/ContactSourceSettings.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Kontakte holen": one of the router's phone books or a CardDAV address book as the source of
// a card's contacts. It shows what it is given and forwards what the user asks for; reading the
// books and the contacts is left to whoever listens. "OK" without a book listed asks for the
// books first: with just one, it is read at once.
class ContactSourceDialog : public QDialog {
    Q_OBJECT
public:
    struct Book {
        QString key; // the router's phone book id, or the address book's URL
        QString name;
    };

    ContactSourceDialog(const ContactSourceSettings& last, QWidget* parent = nullptr);

    // The source as chosen now, the book included.
    ContactSourceSettings source() const;
    bool routerChosen() const;
    QString typedPassword() const;
    // The router's phone books, or the address books found; the last one chosen is preselected.
    void showBooks(const QList<Book>& books);
    // A certificate the user trusted for the CardDAV server.
    void setCertificate(const QString& sha256Hex);
    // While a request is under way: no second one, and a word on what is being done.
    void setBusy(const QString& doing);
    bool isBusy() const { return m_busy; }
    void askForPassword();

    void accept() override;

signals:
    // thenRead: asked for by "OK"; a single book found is then read at once.
    void booksWanted(bool thenRead);
    void contactsWanted();

private:
    void chooseKind(bool byUser);
    void forgetCardDavBooks();

    ContactSourceSettings m_last;
    QRadioButton* m_router;
    QRadioButton* m_cardDav;
    QComboBox* m_routerBooks;
    QLineEdit* m_address;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_plainHttp;
    QLabel* m_plainWarning;
    QPushButton* m_search;
    QComboBox* m_cardDavBooks;
    QLabel* m_status;
    QList<QWidget*> m_routerPart;
    QList<QWidget*> m_cardDavPart;
    bool m_routerBooksListed = false;
    bool m_busy = false;
};
