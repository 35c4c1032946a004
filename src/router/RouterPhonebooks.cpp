#include "router/RouterPhonebooks.h"

#include "router/PhonebookReader.h"
#include "router/RouterCallList.h"

namespace {
const QString GetPhonebook = QStringLiteral("GetPhonebook");
const QString PhonebookId = QStringLiteral("NewPhonebookID");
} // namespace

RouterPhonebooks::RouterPhonebooks(const Tr64Target& target, QObject* parent)
    : QObject(parent), m_client(new Tr64Client(target, this)) {}

void RouterPhonebooks::readBooks(BooksDone done) {
    m_client->call(RouterCallList::Service, RouterCallList::ControlUrl,
                   QStringLiteral("GetPhonebookList"), {}, [this, done](const Tr64Result& result) {
                       if (!result.ok()) {
                           done(result, {});
                           return;
                       }
                       // "0,1": the ids of the books.
                       QList<int> ids;
                       const QStringList listed =
                           result.values.value(QStringLiteral("NewPhonebookList"))
                               .split(QLatin1Char(','), Qt::SkipEmptyParts);
                       for (const QString& text : listed) {
                           bool ok = false;
                           const int id = text.trimmed().toInt(&ok);
                           if (ok && id >= 0 && !ids.contains(id) && ids.size() < MaxBooks)
                               ids.append(id);
                       }
                       readBook(ids, {}, done);
                   });
}

void RouterPhonebooks::readBook(QList<int> ids, QList<Book> books, BooksDone done) {
    if (ids.isEmpty()) {
        done(Tr64Result(), books);
        return;
    }
    const int id = ids.takeFirst();
    m_client->call(RouterCallList::Service, RouterCallList::ControlUrl, GetPhonebook,
                   {{PhonebookId, QString::number(id)}},
                   [this, id, ids, books, done](const Tr64Result& result) mutable {
                       if (!result.ok()) {
                           done(result, {});
                           return;
                       }
                       books.append({id, result.values.value(QStringLiteral("NewPhonebookName"))
                                             .left(PhonebookReader::MaxFieldLength)
                                             .simplified()});
                       readBook(ids, books, done);
                   });
}

void RouterPhonebooks::readContacts(int id, ContactsDone done) {
    m_client->fetchNamed(
        RouterCallList::Service, RouterCallList::ControlUrl, GetPhonebook,
        {{PhonebookId, QString::number(id)}}, QStringLiteral("NewPhonebookURL"), QString(),
        PhonebookReader::MaxBytes, [done](const Tr64Result& fetched, const QByteArray& body) {
            const PhonebookReader::Result book =
                fetched.ok() ? PhonebookReader::read(body) : PhonebookReader::Result();
            done(Tr64Client::readOutcome(fetched, book.ok, book.error), book.contacts);
        });
}
