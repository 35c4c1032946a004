// The address book client against a real Radicale (plain and TLS) and, for what Radicale never
// does, a scripted peer on 127.0.0.1; and the multistatus reader on its own.
#include "RadicaleServer.h"
#include "ScriptedRouter.h"
#include "contacts/CardDavClient.h"
#include "router/EndlessBody.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(CardDavResult::Error)
using Error = CardDavResult::Error;

namespace {

QByteArray card(const QByteArray& version, const QByteArray& name, const QByteArray& lines) {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\nUID:" + name.toBase64() + "\r\nFN:" + name +
           "\r\n" + lines + "END:VCARD\r\n";
}
const QByteArray Card30 = card("3.0", "Berta Brandt", "TEL;TYPE=CELL:0171 2345678\r\n");
const QByteArray Cards[] = {
    Card30, card("4.0", "Carl Conrad", "TEL;VALUE=uri;TYPE=home:tel:+49-30-1234567\r\n"),
    card("3.0", "Dora Dreier", "TEL;TYPE=HOME:030 111\r\nTEL:030 222\r\nTEL:0160 333\r\n"),
    card("4.0", "Łukasz Łęcki", "TEL:+48 22 1234567\r\n")};

// Answers each request with what the test says, as a hostile or odd server would.
class ScriptedPeer : public QTcpServer {
public:
    std::function<QByteArray(const QByteArray& method, const QByteArray& body)> answer;
    bool endless = false; // a chunked 207 without end instead

    ScriptedPeer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
        });
    }

private:
    void read(QTcpSocket* socket) {
        const QByteArray buffer = socket->peek(socket->bytesAvailable());
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        static const QRegularExpression length(QStringLiteral("(?im)^content-length:\\s*(\\d+)"));
        const qsizetype size =
            length.match(QString::fromLatin1(buffer.left(end))).captured(1).toLongLong();
        if (end < 0 || buffer.size() < end + 4 + size)
            return;
        socket->skip(end + 4 + size);
        if (endless)
            return writeEndlessAnswer(socket, "HTTP/1.1 207 Multi-Status\r\n");
        socket->write(answer(buffer.left(buffer.indexOf(' ')), buffer.mid(end + 4, size)));
    }
};

QByteArray http(int status, const QByteArray& body, const QByteArray& headers = {}) {
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray multistatus(const QByteArray& href, const QByteArray& props,
                       const QByteArray& status = "200 OK") {
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:"
           "ns:carddav\"><d:response><d:href>" +
           href + "</d:href><d:propstat><d:prop>" + props + "</d:prop><d:status>HTTP/1.1 " +
           status + "</d:status></d:propstat></d:response></d:multistatus>";
}

// Runs a request of the client to its end: its result and what it found.
template <typename Item, typename Start>
std::pair<CardDavResult, QList<Item>> finished(const CardDavTarget& target, Start start) {
    CardDavClient client(target);
    std::optional<std::pair<CardDavResult, QList<Item>>> done;
    start(client, [&](const CardDavResult& r, const QList<Item>& items) { done = {r, items}; });
    [&] { QTRY_VERIFY_WITH_TIMEOUT(done.has_value(), 60000); }();
    return done.value_or(std::pair<CardDavResult, QList<Item>>());
}

auto find(const CardDavTarget& target) {
    return finished<CardDavBook>(target, [](CardDavClient& c, auto done) { c.findBooks(done); });
}

auto read(const CardDavTarget& target, const QUrl& book) {
    return finished<VCardContact>(
        target, [&book](CardDavClient& c, auto done) { c.readContacts(book, done); });
}

} // namespace

class TestCardDav : public QObject {
    Q_OBJECT

    RadicaleServer m_plain;
    RadicaleServer m_tls{true};

private slots:
    void initTestCase() {
        for (RadicaleServer* server : {&m_plain, &m_tls}) {
            QVERIFY2(server->start(), qPrintable(server->log()));
            QVERIFY(server->makeBook("kontakte", "Kontakte"));
            QVERIFY(server->makeBook("leer", "Leeres Buch"));
            QVERIFY(server->makeBook("kalender", "Termine", true));
            QVERIFY(server->put(
                "kontakte", {{"b", Cards[0]}, {"c", Cards[1]}, {"d", Cards[2]}, {"l", Cards[3]}}));
        }
    }

    void findBooks_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Error>("error");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("books");
        const QStringList both{"Kontakte", "Leeres Buch"}, none;
        QTest::newRow("server address") << "/" << Error::None << "" << both;
        QTest::newRow("principal") << "/anna/" << Error::None << "" << both;
        QTest::newRow("collection") << "/anna/kontakte/" << Error::None << "" << both.mid(0, 1);
        QTest::newRow("calendar") << "/anna/kalender/" << Error::NoAddressBook << "" << none;
        QTest::newRow("wrong password") << "/" << Error::LoginRefused << "password" << none;
        QTest::newRow("plain http not allowed") << "/" << Error::PlainHttp << "no http" << none;
        QTest::newRow("nobody there") << "/" << Error::Unreachable << "closed" << none;
    }
    void findBooks() {
        QFETCH(QString, path);
        QFETCH(QString, change);
        CardDavTarget target{m_plain.address().resolved(QUrl(path)),
                             m_plain.user,
                             change == "password" ? "falsch" : m_plain.password,
                             change != "no http",
                             {}};
        if (change == "closed")
            target.address.setPort(1);
        const auto [result, books] = find(target);
        QTEST(result.error, "error");
        QStringList names;
        for (const CardDavBook& book : books)
            names.append(book.name);
        names.sort();
        QTEST(names, "books");
        const QString message = CardDavClient::message(result, target.address.toString());
        QCOMPARE(message.contains(target.address.toString()), !result.ok());
    }

    void readContacts_data() {
        QTest::addColumn<QString>("name"); // empty: the empty book
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("vCard 3.0") << "Berta Brandt" << QStringList{"0171 2345678"};
        QTest::newRow("vCard 4.0, tel: URI") << "Carl Conrad" << QStringList{"tel:+49-30-1234567"};
        QTest::newRow("three numbers")
            << "Dora Dreier" << QStringList{"030 111", "030 222", "0160 333"};
        QTest::newRow("outside Windows-1252") << "Łukasz Łęcki" << QStringList{"+48 22 1234567"};
        QTest::newRow("empty book") << "" << QStringList();
    }
    void readContacts() {
        QFETCH(QString, name);
        const CardDavTarget target{m_plain.address(), m_plain.user, m_plain.password, true, {}};
        const auto [result, contacts] =
            read(target, m_plain.bookUrl(name.isEmpty() ? "leer" : "kontakte"));
        QVERIFY2(result.ok(), qPrintable(result.detail));
        QCOMPARE(contacts.size(), name.isEmpty() ? 0 : 4);
        QStringList numbers;
        for (const VCardContact& contact : contacts) {
            for (const VCardPhone& phone : contact.phones)
                numbers.append(contact.formattedName == name ? phone.number : QString());
        }
        numbers.removeAll(QString());
        QTEST(numbers, "numbers");
    }

    void tls_data() {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<Error>("error");
        QTest::newRow("unknown certificate") << "" << Error::CertificateUnknown;
        QTest::newRow("pinned certificate") << "server" << Error::None;
        QTest::newRow("another pin") << QString(64, 'a') << Error::CertificateChanged;
        QTest::newRow("typed without https://") << "typed" << Error::None;
    }
    void tls() {
        QFETCH(QString, pin);
        const QUrl book = m_tls.bookUrl("kontakte");
        const CardDavTarget target{
            pin == "typed" ? CardDavClient::addressOf(book.toString().mid(8)) : book, m_tls.user,
            m_tls.password, false,
            pin == "server" || pin == "typed" ? m_tls.certificateSha256() : pin};
        const auto [result, books] = find(target);
        QTEST(result.error, "error");
        if (!result.ok())
            QCOMPARE(result.certificateSha256, m_tls.certificateSha256());
        else
            QCOMPARE(read(target, books.value(0).url).second.size(), 4);
    }

    void nothingSentBeforeTheCertificateIsKnown() {
        ScriptedRouter peer; // counts what arrives inside TLS
        QVERIFY(peer.makeCertificate() && peer.listen());
        const auto [result, books] =
            find({QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(peer.securePort())),
                  "anna",
                  "geheim",
                  false,
                  {}});
        QCOMPARE(result.error, Error::CertificateUnknown);
        QCOMPARE(peer.tlsBytesReceived, 0);
    }

    void hostile_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<Error>("error");
        QTest::newRow("redirect to another host") << "other host" << Error::OtherHost;
        QTest::newRow("redirect in a circle") << "circle" << Error::BadAnswer;
        QTest::newRow("50 MB announced") << "huge" << Error::TooLarge;
        QTest::newRow("50 MB chunked") << "endless" << Error::TooLarge;
        QTest::newRow("web page") << "html" << Error::NotCardDav;
        QTest::newRow("document type") << "dtd" << Error::BadAnswer;
        QTest::newRow("no addressbook-query") << "multiget" << Error::None;
    }
    void hostile() {
        QFETCH(QString, scenario);
        ScriptedPeer peer;
        const QByteArray book = multistatus("/b/", "<d:resourcetype><d:collection/>"
                                                   "<c:addressbook/></d:resourcetype>");
        peer.answer = [&](const QByteArray& method, const QByteArray& body) -> QByteArray {
            if (scenario == "other host")
                return http(301, "", "Location: http://localhost:1/\r\n");
            if (scenario == "circle")
                return http(307, "", "Location: /\r\n");
            if (scenario == "huge")
                return "HTTP/1.1 207 X\r\nContent-Length: 52428800\r\n\r\n<";
            if (scenario == "html")
                return http(200, "<html><body>Willkommen</body></html>");
            if (scenario == "dtd")
                return http(207, "<!DOCTYPE d:multistatus [<!ENTITY a \"a\">]>" + book);
            if (method == "REPORT" && body.contains("addressbook-multiget"))
                return http(207,
                            multistatus("/b/1", "<c:address-data>" + Card30 + "</c:address-data>"));
            if (method == "REPORT")
                return http(501, "");
            return http(207, QByteArray(book).replace(
                                 "</d:multistatus>",
                                 "<d:response><d:href>/b/1</d:href><d:propstat><d:prop/>"
                                 "<d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
                                 "</d:response></d:multistatus>"));
        };
        peer.endless = scenario == "endless";
        const CardDavTarget target{
            QUrl(QStringLiteral("http://127.0.0.1:%1/b/").arg(peer.serverPort())),
            "anna",
            "geheim",
            true,
            {}};
        const auto [result, books] = find(target);
        QTEST(result.error, "error");
        if (result.ok()) {
            const auto [readResult, contacts] = read(target, books.value(0).url);
            QVERIFY(readResult.ok());
            QCOMPARE(contacts.value(0).formattedName, QStringLiteral("Berta Brandt"));
        }
    }

    void multistatusReader_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("read"); // "refused", "none" or the responses' flags
        const QByteArray types = "<d:resourcetype><d:collection/><c:addressbook/></d:resourcetype>";
        QTest::newRow("address book") << multistatus("/b/", types) << "ca";
        QTest::newRow("not found properties left out")
            << multistatus("/x/", types, "404 Not Found") << "";
        QTest::newRow("document type")
            << QByteArray("<!DOCTYPE x><d:multistatus xmlns:d=\"DAV:\"/>") << "refused";
        QTest::newRow("too deep") << multistatus("/", QByteArray("<d:x>").repeated(30))
                                  << "refused";
        QTest::newRow("not multistatus") << QByteArray("<html/>") << "none";
        QTest::newRow("broken") << multistatus("/", "<d:response>") << "refused";
    }
    void multistatusReader() {
        QFETCH(QByteArray, xml);
        const MultistatusReader::Result result = MultistatusReader::read(xml);
        QString flags;
        for (const MultistatusResponse& r : result.responses)
            flags += QString(r.collection ? "c" : "") + (r.addressbook ? "a" : "");
        QTEST(!result.error.isEmpty() ? "refused" : !result.multistatus ? "none" : flags, "read");
    }
};

QTEST_GUILESS_MAIN(TestCardDav)
#include "test_carddav.moc"
