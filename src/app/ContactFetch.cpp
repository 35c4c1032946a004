#include "app/ContactFetch.h"

#include "app/ContactImport.h"
#include "app/RouterCall.h"
#include "app/RouterSettingsDialog.h"
#include "contacts/CardDavClient.h"
#include "contacts/ContactSourceSettings.h"
#include "router/RouterMessages.h"
#include "router/RouterPassword.h"
#include "router/RouterPhonebooks.h"
#include "support/UserMessage.h"

#include <QTimer>

namespace {

const QString ReadingContacts = QStringLiteral("Die Kontakte werden gelesen …");

// "cloud.example.org" is meant as https; http only where the user allowed it.
QUrl cardDavUrl(const ContactSourceSettings& source) {
    QString address = source.cardDavAddress;
    if (!address.contains(QLatin1String("://")))
        address.prepend(source.cardDavPlainHttp ? QStringLiteral("http://")
                                                : QStringLiteral("https://"));
    return QUrl(address);
}

} // namespace

ContactFetch::ContactFetch(RouterCall* router, ContactImport* import, QWidget* window)
    : QObject(window), m_router(router), m_import(import), m_window(window) {}

void ContactFetch::fetch(int card) {
    if (m_dialog) {
        m_dialog->activateWindow();
        return;
    }
    m_card = card;
    auto* dialog = new ContactSourceDialog(ContactSourceSettings::load(m_store, card), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog = dialog;
    connect(dialog, &ContactSourceDialog::booksWanted, this, &ContactFetch::readBooks);
    connect(dialog, &ContactSourceDialog::contactsWanted, this, &ContactFetch::readContacts);
    connect(dialog, &QDialog::finished, this, [this] { emit modalDialogOpenChanged(false); });
    emit modalDialogOpenChanged(true);
    dialog->open();
    // The router's books once more, unless it was never asked: no password question before
    // the user chose a source.
    if (dialog->routerChosen() && !dialog->source().routerBookName.isEmpty())
        readBooks(false);
}

void ContactFetch::readBooks(bool thenRead) {
    m_readAfterBooks = thenRead;
    if (m_dialog)
        m_dialog->routerChosen() ? readRouter(true) : readCardDav(true);
}

void ContactFetch::listBooks(const QList<ContactSourceDialog::Book>& books) {
    m_dialog->setBusy(QString());
    m_dialog->showBooks(books);
    if (m_readAfterBooks && books.size() == 1)
        readContacts();
}

void ContactFetch::readContacts() {
    if (m_dialog)
        m_dialog->routerChosen() ? readRouter(false) : readCardDav(false);
}

void ContactFetch::later(std::function<void()> then) {
    if (m_dialog)
        QTimer::singleShot(0, m_dialog, std::move(then));
}

void ContactFetch::fail(const QString& message) {
    if (m_dialog)
        m_dialog->setBusy(QString());
    UserMessage::error(m_dialog ? static_cast<QWidget*>(m_dialog) : m_window, message);
}

void ContactFetch::readRouter(bool books) {
    m_dialog->setBusy(books ? QStringLiteral("Die Telefonbücher des Routers werden gelesen …")
                            : ReadingContacts);
    const int bookId = m_dialog->source().routerBookId;
    QPointer<ContactSourceDialog> dialog = m_dialog;
    const auto failed = [this, books](const Tr64Result& result) {
        if (m_router->retryAfter(result, m_dialog)) {
            readRouter(books);
            return;
        }
        m_dialog->setBusy(QString());
        // A certificate not trusted: the user knows that nothing was read.
        if (result.error == RouterError::CertificateUnknown)
            return;
        fail(result.error == RouterError::NotAllowed
                 ? QStringLiteral("Der Router-Benutzer darf das Telefonbuch nicht lesen.\rBitte "
                                  "geben Sie ihm im Router das Recht für Telefonie.")
                 : RouterMessages::forError(result, m_router->settings().address, QString()));
    };
    m_router->withTarget(
        true,
        [=, this](const Tr64Target& target) {
            if (!dialog)
                return;
            auto* reader = new RouterPhonebooks(target, dialog);
            if (books) {
                reader->readBooks([=, this](const Tr64Result& result,
                                            const QList<RouterPhonebooks::Book>& found) {
                    later([=, this] {
                        reader->deleteLater();
                        if (!result.ok())
                            return failed(result);
                        QList<ContactSourceDialog::Book> listed;
                        for (const RouterPhonebooks::Book& book : found)
                            listed
                                << ContactSourceDialog::Book{QString::number(book.id), book.name};
                        listBooks(listed);
                        if (listed.isEmpty())
                            fail(QStringLiteral("Der Router hat kein Telefonbuch."));
                    });
                });
                return;
            }
            reader->readContacts(
                bookId, [=, this](const Tr64Result& result, const QList<VCardContact>& contacts) {
                    later([=, this] {
                        reader->deleteLater();
                        if (!result.ok())
                            return failed(result);
                        imported(contacts);
                    });
                });
        },
        [dialog] {
            if (dialog)
                dialog->setBusy(QString());
        });
}

void ContactFetch::readCardDav(bool books) {
    const ContactSourceSettings source = m_dialog->source();
    QPointer<ContactSourceDialog> dialog = m_dialog;
    withCardDavPassword(source, [=, this](const QString& password) {
        if (!dialog)
            return;
        dialog->setBusy(books ? QStringLiteral("Die Adressbücher werden gesucht …")
                              : ReadingContacts);
        auto* client = new CardDavClient(CardDavTarget{cardDavUrl(source), source.cardDavUser,
                                                       password, source.cardDavPlainHttp,
                                                       source.cardDavCertificateSha256},
                                         dialog);
        const auto failed = [=, this](const CardDavResult& result) {
            client->deleteLater();
            if (result.error == CardDavResult::Error::CertificateUnknown) {
                m_dialog->setBusy(QString());
                if (RouterSettingsDialog::confirmCertificate(m_dialog, result.certificateSha256,
                                                             source.cardDavAddress)) {
                    m_dialog->setCertificate(result.certificateSha256);
                    m_dialog->source().save(m_store, m_card);
                    readCardDav(books);
                }
                return;
            }
            if (result.error == CardDavResult::Error::LoginRefused)
                cardDavPassword(source)->forgetThisRun();
            fail(CardDavClient::message(result, source.cardDavAddress));
        };
        if (books) {
            client->findBooks(
                [=, this](const CardDavResult& result, const QList<CardDavBook>& found) {
                    later([=, this] {
                        if (!result.ok())
                            return failed(result);
                        client->deleteLater();
                        QList<ContactSourceDialog::Book> listed;
                        for (const CardDavBook& book : found)
                            listed << ContactSourceDialog::Book{book.url.toString(), book.name};
                        listBooks(listed);
                    });
                });
            return;
        }
        client->readContacts(
            QUrl(source.cardDavBookUrl),
            [=, this](const CardDavResult& result, const QList<VCardContact>& contacts) {
                later([=, this] {
                    if (!result.ok())
                        return failed(result);
                    client->deleteLater();
                    imported(contacts);
                });
            });
    });
}

void ContactFetch::imported(const QList<VCardContact>& contacts) {
    const int card = m_card;
    m_dialog->source().save(m_store, card);
    m_dialog->done(QDialog::Accepted);
    m_import->importContacts(card, contacts);
}

RouterPassword* ContactFetch::cardDavPassword(const ContactSourceSettings& source) {
    const QString key = source.passwordKey();
    RouterPassword*& password = m_cardDavPasswords[key];
    if (!password)
        password = new RouterPassword(this, key);
    return password;
}

void ContactFetch::withCardDavPassword(const ContactSourceSettings& source,
                                       std::function<void(const QString&)> use) {
    RouterPassword* password = cardDavPassword(source);
    const QString typed = m_dialog->typedPassword();
    if (!typed.isEmpty()) {
        password->keepForThisRun(typed);
        password->write(typed, [](bool, const QString&) {});
        use(typed);
        return;
    }
    const QString user = source.cardDavUser;
    password->read([this, use, user](const std::optional<QString>& known,
                                     const QString& noKeyStore) {
        later([=, this] {
            if (known && !known->isEmpty()) {
                use(*known);
                return;
            }
            QString text =
                QStringLiteral("Bitte geben Sie das Kennwort des Benutzers „%1“ ein.").arg(user);
            if (!noKeyStore.isEmpty())
                text += QStringLiteral("\r\rDer Schlüsselbund des Desktops ist nicht erreichbar "
                                       "(%1); Kurbelfon behält das Kennwort nur bis zum Ende "
                                       "des Programms.")
                            .arg(noKeyStore);
            UserMessage::information(m_dialog, text);
            m_dialog->askForPassword();
        });
    });
}
