#include "contacts/CardDavClient.h"

#include "contacts/CardDavTransport.h"
#include "contacts/MultistatusReader.h"
#include "contacts/WebDavBodies.h"
#include "router/Tr64Client.h"
#include "support/MessageText.h"
#include "support/ProgramModule.h"

#include <QTimer>
#include <optional>

namespace {

using Error = CardDavResult::Error;
constexpr int MultiStatus = 207;
constexpr int MultigetBatch = 100;
constexpr int DetailLength = 200;

CardDavResult failure(Error error, const QString& detail = QString()) {
    CardDavResult result;
    result.error = error;
    result.detail = detail;
    return result;
}

// What no status can turn into a success: the exchange failed, or the login was refused.
std::optional<CardDavResult> refused(const CardDavAnswer& answer) {
    if (!answer.result.ok())
        return answer.result;
    if (answer.status == 401 || answer.status == 403)
        return failure(Error::LoginRefused, QStringLiteral("HTTP %1").arg(answer.status));
    return std::nullopt;
}

// Why an answer that should have been a multistatus is no use.
CardDavResult unreadable(const CardDavAnswer& answer, const MultistatusReader::Result& read) {
    const QString status = QStringLiteral("HTTP %1").arg(answer.status);
    if (!read.error.isEmpty() || read.multistatus)
        return failure(Error::BadAnswer, read.error.isEmpty() ? status : read.error);
    return failure(answer.status == 404 ? Error::NoAddressBook : Error::NotCardDav, status);
}

QUrl resolve(const CardDavAnswer& answer, const QString& href) {
    return answer.url.resolved(QUrl::fromEncoded(href.toUtf8(), QUrl::TolerantMode));
}

// The first response that says something about the resource asked for.
const MultistatusResponse* found(const MultistatusReader::Result& read) {
    for (const MultistatusResponse& response : read.responses) {
        if (response.status >= 200 && response.status < 300)
            return &response;
    }
    return nullptr;
}

QString nameOf(const MultistatusResponse& response, const QUrl& url) {
    if (!response.displayName.isEmpty())
        return response.displayName.left(DetailLength);
    const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.isEmpty() ? url.host() : parts.last();
}

} // namespace

CardDavClient::CardDavClient(const CardDavTarget& target, QObject* parent)
    : QObject(parent), m_target(target) {}

CardDavClient::~CardDavClient() = default;

void CardDavClient::send(const QByteArray& method, const QUrl& url, int depth,
                         const QByteArray& body, AnswerDone done) {
    if (!m_transport) {
        CardDavAnswer missing;
        m_transport = ProgramModule::createPart<CardDavTransport>(
            QStringLiteral("Netzwerkanbindung"), &missing.result.detail, m_target);
        if (!m_transport) {
            missing.result.error = Error::Unreachable;
            QTimer::singleShot(0, this, [done, missing] { done(missing); });
            return;
        }
    }
    m_transport->send(method, url, depth, body, std::move(done));
}

void CardDavClient::findBooks(BooksDone done) {
    QUrl start = m_target.address;
    if (!start.isValid() || start.host().isEmpty()) {
        QTimer::singleShot(0, this, [done] { done(failure(Error::Unreachable), {}); });
        return;
    }
    if (start.path().isEmpty())
        start.setPath(QStringLiteral("/"));
    askPrincipal(start, false, std::move(done));
}

void CardDavClient::askPrincipal(const QUrl& url, bool wellKnownTried, BooksDone done) {
    send("PROPFIND", url, 0, WebDavBodies::discovery(), [=, this](const CardDavAnswer& answer) {
        if (const auto why = refused(answer))
            return done(*why, {});
        const MultistatusReader::Result read = MultistatusReader::read(answer.body);
        const MultistatusResponse* self =
            answer.status == MultiStatus && read.ok() ? found(read) : nullptr;
        // A server address: the service is announced at a well-known path (RFC 6764).
        const auto wellKnown = [&](Error otherwise) {
            if (wellKnownTried)
                return done(failure(otherwise, QStringLiteral("HTTP %1").arg(answer.status)), {});
            askPrincipal(url.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), true, done);
        };
        if (!read.error.isEmpty())
            return done(failure(Error::BadAnswer, read.error), {});
        if (!self)
            return wellKnown(read.multistatus ? Error::NoAddressBook : Error::NotCardDav);
        if (self->addressbook)
            return done({}, {{answer.url, nameOf(*self, answer.url)}});
        if (self->calendar)
            return done(failure(Error::NoAddressBook, QStringLiteral("Kalender")), {});
        if (!self->homes.isEmpty())
            return listHome(resolve(answer, self->homes.first()), done);
        if (!self->principal.isEmpty())
            return askHome(resolve(answer, self->principal), done);
        if (self->collection)
            return listHome(answer.url, done);
        wellKnown(Error::NoAddressBook);
    });
}

void CardDavClient::askHome(const QUrl& principal, BooksDone done) {
    send("PROPFIND", principal, 0, WebDavBodies::discovery(),
         [=, this](const CardDavAnswer& answer) {
             if (const auto why = refused(answer))
                 return done(*why, {});
             const MultistatusReader::Result read = MultistatusReader::read(answer.body);
             const MultistatusResponse* self =
                 answer.status == MultiStatus && read.ok() ? found(read) : nullptr;
             if (!self || self->homes.isEmpty())
                 return done(failure(Error::NoAddressBook, read.error), {});
             listHome(resolve(answer, self->homes.first()), done);
         });
}

void CardDavClient::listHome(const QUrl& home, BooksDone done) {
    send("PROPFIND", home, 1, WebDavBodies::discovery(), [=](const CardDavAnswer& answer) {
        if (const auto why = refused(answer))
            return done(*why, {});
        const MultistatusReader::Result read = MultistatusReader::read(answer.body);
        if (answer.status != MultiStatus || !read.ok())
            return done(unreadable(answer, read), {});
        QList<CardDavBook> books;
        for (const MultistatusResponse& response : read.responses) {
            const QUrl url = resolve(answer, response.href);
            if (response.addressbook && response.status >= 200 && response.status < 300)
                books.append({url, nameOf(response, url)});
        }
        if (books.isEmpty())
            return done(failure(Error::NoAddressBook), {});
        done({}, books);
    });
}

void CardDavClient::readContacts(const QUrl& book, ContactsDone done) {
    send("REPORT", book, 1, WebDavBodies::addressbookQuery(),
         [=, this](const CardDavAnswer& answer) {
             if (!answer.result.ok() || answer.status == 401)
                 return done(refused(answer).value_or(answer.result), {});
             const MultistatusReader::Result read = MultistatusReader::read(answer.body);
             bool complete = answer.status == MultiStatus && read.ok();
             for (const MultistatusResponse& response : read.responses)
                 complete = complete && (response.hasAddressData || response.collection);
             // Some servers know no addressbook-query, or answer it without the cards.
             if (!complete)
                 return readByMultiget(book, done);
             auto contacts = std::make_shared<QList<VCardContact>>();
             if (const auto why = take(read, *contacts))
                 return done(*why, {});
             done({}, *contacts);
         });
}

std::optional<CardDavResult> CardDavClient::take(const MultistatusReader::Result& read,
                                                 QList<VCardContact>& contacts) {
    for (const MultistatusResponse& response : read.responses) {
        if (!response.hasAddressData)
            continue;
        contacts += ReadVCards(response.addressData.toUtf8());
        if (contacts.size() > MaxContacts)
            return failure(Error::TooLarge, QStringLiteral("mehr als 10.000 Kontakte"));
    }
    return std::nullopt;
}

void CardDavClient::readByMultiget(const QUrl& book, ContactsDone done) {
    send("PROPFIND", book, 1, WebDavBodies::members(), [=, this](const CardDavAnswer& answer) {
        if (const auto why = refused(answer))
            return done(*why, {});
        const MultistatusReader::Result read = MultistatusReader::read(answer.body);
        if (answer.status != MultiStatus || !read.ok())
            return done(unreadable(answer, read), {});
        auto cards = std::make_shared<QStringList>();
        for (const MultistatusResponse& response : read.responses) {
            const QUrl url = resolve(answer, response.href);
            if (response.collection) {
                if (url.path() == answer.url.path() && !response.addressbook)
                    return done(failure(Error::NoAddressBook), {});
                continue;
            }
            if (response.status >= 200 && response.status < 300)
                cards->append(url.path(QUrl::FullyEncoded));
        }
        if (cards->size() > MaxContacts)
            return done(failure(Error::TooLarge, QStringLiteral("mehr als 10.000 Kontakte")), {});
        multigetBatch(answer.url, cards, std::make_shared<QList<VCardContact>>(), done);
    });
}

void CardDavClient::multigetBatch(const QUrl& book, std::shared_ptr<QStringList> cards,
                                  std::shared_ptr<QList<VCardContact>> contacts,
                                  ContactsDone done) {
    if (cards->isEmpty())
        return done({}, *contacts);
    const QStringList batch = cards->mid(0, MultigetBatch);
    cards->remove(0, batch.size());
    send("REPORT", book, 1, WebDavBodies::multiget(batch), [=, this](const CardDavAnswer& answer) {
        if (const auto why = refused(answer))
            return done(*why, {});
        const MultistatusReader::Result read = MultistatusReader::read(answer.body);
        if (answer.status != MultiStatus || !read.ok())
            return done(unreadable(answer, read), {});
        if (const auto why = take(read, *contacts))
            return done(*why, {});
        multigetBatch(book, cards, contacts, done);
    });
}

QString CardDavClient::message(const CardDavResult& result, const QString& address) {
    const QString at = MessageText::Quoted(address, DetailLength);
    const QString detail = MessageText::Quoted(result.detail, DetailLength);
    const QString fingerprint = Tr64Client::readableFingerprint(result.certificateSha256);
    switch (result.error) {
    case Error::None:
        return QString();
    case Error::Unreachable:
        return QStringLiteral("Das Adressbuch unter „%1“ ist nicht erreichbar (%2).\nBitte prüfen "
                              "Sie die Adresse und die Verbindung zum Netz.")
            .arg(at, detail);
    case Error::NoAnswer:
        return QStringLiteral("Der Server unter „%1“ antwortet nicht.\nBitte versuchen Sie es "
                              "später noch einmal.")
            .arg(at);
    case Error::LoginRefused:
        return QStringLiteral("Der Server unter „%1“ hat Benutzername oder Kennwort "
                              "abgelehnt.\nBitte prüfen Sie beides.")
            .arg(at);
    case Error::NotCardDav:
        return QStringLiteral("Unter „%1“ antwortet kein CardDAV-Server.\nBitte prüfen Sie die "
                              "Adresse; Ihr Anbieter nennt sie für Adressbücher, oft mit „dav“ "
                              "darin.")
            .arg(at);
    case Error::NoAddressBook:
        return result.detail == QLatin1String("Kalender")
                   ? QStringLiteral("Unter „%1“ liegt ein Kalender, kein Adressbuch.\nBitte "
                                    "geben Sie die Adresse des Adressbuchs oder nur die des "
                                    "Servers an.")
                         .arg(at)
                   : QStringLiteral("Unter „%1“ wurde kein Adressbuch gefunden.\nBitte geben Sie "
                                    "die Adresse des Adressbuchs oder nur die des Servers an.")
                         .arg(at);
    case Error::OtherHost:
        return QStringLiteral("Der Server unter „%1“ verweist auf einen anderen Server („%2“); "
                              "dorthin wurde nichts gesendet.\nBitte geben Sie die Adresse des "
                              "anderen Servers selbst an, wenn Sie ihm vertrauen.")
            .arg(at, detail);
    case Error::PlainHttp:
        return QStringLiteral("Die Adresse „%1“ ist unverschlüsselt (http://); es wurde nichts "
                              "gesendet.\nKennwort und Kontakte wären unterwegs lesbar. Bitte "
                              "verwenden Sie https:// oder erlauben Sie die unverschlüsselte "
                              "Verbindung ausdrücklich.")
            .arg(at);
    case Error::CertificateUnknown:
        return QStringLiteral("Für das Zertifikat des Servers unter „%1“ bürgt keine bekannte "
                              "Stelle; es wurde nichts gesendet.\nFingerabdruck: %2\nVertrauen "
                              "Sie ihm nur, wenn er mit dem Ihres Servers übereinstimmt.")
            .arg(at, fingerprint);
    case Error::CertificateChanged:
        return QStringLiteral("Der Server unter „%1“ meldet sich mit einem anderen Zertifikat als "
                              "bisher; es wurde nichts gesendet.\nFingerabdruck jetzt: %2\nHaben "
                              "Sie das Zertifikat nicht selbst erneuert, gibt sich vielleicht ein "
                              "anderer Rechner als Ihr Server aus.")
            .arg(at, fingerprint);
    case Error::TooLarge:
        return QStringLiteral("Das Adressbuch unter „%1“ ist zu groß (über 20 MB oder über "
                              "10.000 Kontakte).")
            .arg(at);
    case Error::BadAnswer:
        return QStringLiteral("Der Server unter „%1“ gab eine unverständliche Antwort (%2).")
            .arg(at, detail);
    }
    return QString();
}
