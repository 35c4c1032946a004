// The address book client against a real Radicale (plain and TLS) and, for what Radicale never
// does, a scripted peer on 127.0.0.1; and the multistatus reader on its own.
#include "RadicaleServer.h"
#include "contacts/CardDavClient.h"
#include "contacts/MultistatusReader.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(CardDavResult::Error)
using Error = CardDavResult::Error;

namespace {

const QByteArray Card30 = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:b1\r\nN:Brandt;Berta;;;\r\nFN:Berta "
                          "Brandt\r\nTEL;TYPE=CELL:0171 2345678\r\nEND:VCARD\r\n";
const QByteArray Card40 = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:c1\r\nN:Conrad;Carl;;;\r\nFN:Carl "
                          "Conrad\r\nTEL;VALUE=uri;TYPE=home:tel:+49-30-1234567\r\nEND:VCARD\r\n";
const QByteArray ThreeNumbers =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:d1\r\nN:Dreier;Dora;;;\r\nFN:Dora Dreier\r\nTEL;TYPE=HOME:"
    "030 111\r\nTEL;TYPE=WORK:030 222\r\nTEL;TYPE=CELL:0160 333\r\nEND:VCARD\r\n";
const QByteArray Lukasz = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:l1\r\nN:Łęcki;Łukasz;;;\r\nFN:Łukasz "
                          "Łęcki\r\nTEL:+48 22 1234567\r\nEND:VCARD\r\n";

// Answers every request with what the test says, as a hostile or odd server would.
class ScriptedPeer : public QTcpServer {
public:
    using Answer = std::function<QByteArray(const QByteArray& method, const QByteArray& body)>;
    Answer answer;
    qint64 endless = 0; // bytes of a chunked 207 sent instead, without end

    ScriptedPeer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
        });
    }
    QUrl url(const QString& path = QStringLiteral("/")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
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
        if (endless) {
            socket->write("HTTP/1.1 207 Multi-Status\r\nTransfer-Encoding: chunked\r\n\r\n");
            const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
            connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
                if (socket->bytesToWrite() < chunk.size())
                    socket->write(chunk);
            });
            socket->write(chunk);
            return;
        }
        socket->write(answer(buffer.left(buffer.indexOf(' ')), buffer.mid(end + 4, size)));
    }
};

QByteArray http(int status, const QByteArray& body, const QByteArray& headers = {}) {
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray multistatus(const QByteArray& responses) {
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
           "xmlns:c=\"urn:ietf:params:xml:ns:carddav\">" +
           responses + "</d:multistatus>";
}

QByteArray response(const QByteArray& href, const QByteArray& props,
                    const QByteArray& status = "200 OK") {
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + props +
           "</d:prop><d:status>HTTP/1.1 " + status + "</d:status></d:propstat></d:response>";
}

} // namespace

class TestCardDav : public QObject {
    Q_OBJECT

    RadicaleServer m_plain;
    RadicaleServer m_tls{true};

    CardDavTarget targetAt(const QUrl& address, const RadicaleServer& server) {
        return {address, server.user, server.password, true, QString()};
    }
    std::pair<CardDavResult, QList<CardDavBook>> find(const CardDavTarget& target) {
        CardDavClient client(target);
        std::optional<std::pair<CardDavResult, QList<CardDavBook>>> found;
        client.findBooks([&](const CardDavResult& r, const QList<CardDavBook>& b) {
            found = {r, b};
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(found.has_value(), 60000); }();
        return found.value_or(std::pair<CardDavResult, QList<CardDavBook>>());
    }
    std::pair<CardDavResult, QList<VCardContact>> read(const CardDavTarget& target,
                                                       const QUrl& book) {
        CardDavClient client(target);
        std::optional<std::pair<CardDavResult, QList<VCardContact>>> read;
        client.readContacts(book, [&](const CardDavResult& r, const QList<VCardContact>& c) {
            read = {r, c};
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(read.has_value(), 60000); }();
        return read.value_or(std::pair<CardDavResult, QList<VCardContact>>());
    }

private slots:
    void initTestCase() {
        for (RadicaleServer* server : {&m_plain, &m_tls}) {
            QVERIFY2(server->start(), qPrintable(server->log()));
            QVERIFY(server->makeBook("kontakte", "Kontakte"));
            QVERIFY(server->makeBook("leer", "Leeres Buch"));
            QVERIFY(server->makeBook("kalender", "Termine", true));
            QVERIFY(server->put(
                "kontakte",
                {{"b1", Card30}, {"c1", Card40}, {"d1", ThreeNumbers}, {"l1", Lukasz}}));
        }
    }

    void findBooks_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("change");
        QTest::addColumn<Error>("error");
        QTest::addColumn<QStringList>("books");
        const QStringList both{"Kontakte", "Leeres Buch"};
        QTest::newRow("server address") << "/"
                                        << "" << Error::None << both;
        QTest::newRow("principal") << "/anna/"
                                   << "" << Error::None << both;
        QTest::newRow("collection") << "/anna/kontakte/"
                                    << "" << Error::None << QStringList{"Kontakte"};
        QTest::newRow("calendar") << "/anna/kalender/"
                                  << "" << Error::NoAddressBook << QStringList();
        QTest::newRow("wrong password") << "/"
                                        << "password" << Error::LoginRefused << QStringList();
        QTest::newRow("plain http not allowed") << "/"
                                                << "no http" << Error::PlainHttp << QStringList();
        QTest::newRow("nobody there") << "/"
                                      << "closed" << Error::Unreachable << QStringList();
    }
    void findBooks() {
        QFETCH(QString, path);
        QFETCH(QString, change);
        CardDavTarget target = targetAt(m_plain.address().resolved(QUrl(path)), m_plain);
        target.password = change == "password" ? "falsch" : target.password;
        target.plainHttpAllowed = change != "no http";
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
        QFETCH(QStringList, numbers);
        const QUrl book = m_plain.bookUrl(name.isEmpty() ? "leer" : "kontakte");
        const auto [result, contacts] = read(targetAt(m_plain.address(), m_plain), book);
        QVERIFY2(result.ok(), qPrintable(result.detail));
        QCOMPARE(contacts.size(), name.isEmpty() ? 0 : 4);
        for (const VCardContact& contact : contacts) {
            if (contact.formattedName != name)
                continue;
            QStringList found;
            for (const VCardPhone& phone : contact.phones)
                found.append(phone.number);
            QCOMPARE(found, numbers);
        }
    }

    void tls_data() {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<Error>("error");
        QTest::newRow("unknown certificate") << "" << Error::CertificateUnknown;
        QTest::newRow("pinned certificate") << "server" << Error::None;
        QTest::newRow("another pin") << QString(64, 'a') << Error::CertificateChanged;
    }
    void tls() {
        QFETCH(QString, pin);
        CardDavTarget target = targetAt(m_tls.bookUrl("kontakte"), m_tls);
        target.plainHttpAllowed = false;
        target.pinnedSha256 = pin == "server" ? m_tls.certificateSha256() : pin;
        const auto [result, books] = find(target);
        QTEST(result.error, "error");
        if (!result.ok())
            QCOMPARE(result.certificateSha256, m_tls.certificateSha256());
        else
            QCOMPARE(read(target, books.value(0).url).second.size(), 4);
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
        const QByteArray book =
            response("/b/", "<d:resourcetype><d:collection/><c:addressbook/></d:resourcetype>");
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
                return http(207,
                            "<!DOCTYPE d:multistatus [<!ENTITY a \"aaaa\">]>" + multistatus(book));
            if (method == "REPORT" && body.contains("addressbook-multiget"))
                return http(207, multistatus(response("/b/1.vcf", "<c:address-data>" + Card30 +
                                                                      "</c:address-data>")));
            if (method == "REPORT")
                return http(501, "");
            return http(207,
                        multistatus(book + response("/b/1.vcf", "<d:getetag>\"1\"</d:getetag>")));
        };
        peer.endless = scenario == "endless";
        const CardDavTarget target{peer.url("/b/"), "anna", "geheim", true, QString()};
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
        QTest::addColumn<QString>(
            "read"); // per response: href status flags name principal homes data
        const QByteArray types = "<d:resourcetype><d:collection/><c:addressbook/></d:resourcetype>";
        QTest::newRow("address book")
            << multistatus(response("/a/b/", types + "<d:displayname>B</d:displayname>"))
            << "/a/b/ 200 ca B";
        QTest::newRow("principal and homes")
            << multistatus(
                   response("/", "<d:current-user-principal><d:href>/p/</d:href></"
                                 "d:current-user-principal><c:addressbook-home-set><d:href>/h1/</"
                                 "d:href><d:href>/h2/</d:href></c:addressbook-home-set>"))
            << "/ 200 /p/ /h1/,/h2/";
        QTest::newRow("calendar")
            << multistatus(response("/k/",
                                    "<d:resourcetype><d:collection/><x:calendar "
                                    "xmlns:x=\"urn:ietf:params:xml:ns:caldav\"/></d:resourcetype>"))
            << "/k/ 200 ck";
        QTest::newRow("not found properties left out")
            << multistatus(response("/x/", types, "404 Not Found")) << "/x/ 0";
        QTest::newRow("card") << multistatus(response(
                                     "/b/1.vcf", "<c:address-data>BEGIN:VCARD</c:address-data>"))
                              << "/b/1.vcf 200 BEGIN:VCARD";
        QTest::newRow("document type")
            << QByteArray("<!DOCTYPE x><d:multistatus xmlns:d=\"DAV:\"/>") << "refused";
        QTest::newRow("too deep") << multistatus(QByteArray("<d:x>").repeated(30)) << "refused";
        QTest::newRow("not multistatus") << QByteArray("<html/>") << "none";
        QTest::newRow("broken") << multistatus("<d:response>") << "refused";
    }
    void multistatusReader() {
        QFETCH(QByteArray, xml);
        const MultistatusReader::Result result = MultistatusReader::read(xml);
        QStringList read;
        for (const MultistatusResponse& r : result.responses) {
            const QString flags = QString(r.collection ? "c" : "") + (r.addressbook ? "a" : "") +
                                  (r.calendar ? "k" : "");
            read.append(QStringList{r.href, QString::number(r.status), flags, r.displayName,
                                    r.principal, r.homes.join(','), r.addressData}
                            .join(' ')
                            .simplified());
        }
        QTEST(!result.error.isEmpty() ? "refused"
              : !result.multistatus   ? "none"
                                      : read.join('|'),
              "read");
    }
};

QTEST_GUILESS_MAIN(TestCardDav)
#include "test_carddav.moc"
