// The dial helper's client and the router's lists against a scripted router on 127.0.0.1:
// requests, login, TLS pinning and each way a router can fail.
#include "ScriptedRouter.h"
#include "router/PhonebookReader.h"
#include "router/RouterCallList.h"
#include "router/RouterDialHelper.h"
#include "router/RouterMessages.h"
#include "router/RouterPhonebooks.h"
#include "router/RouterSettings.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(RouterError)

class TestTr64Client : public QObject {
    Q_OBJECT

    // "name: number type, ..." per contact, "|" between them.
    static QString contactsText(const QList<VCardContact>& contacts) {
        QStringList text;
        for (const VCardContact& c : contacts) {
            QStringList phones;
            for (const VCardPhone& p : c.phones)
                phones << p.number + ' ' + p.type;
            text << c.formattedName + ": " + phones.join(", ");
        }
        return text.join('|');
    }

    Tr64Target targetOf(const ScriptedRouter& router) {
        Tr64Target target;
        target.setAddress(router.address());
        target.user = router.user;
        target.password = router.password;
        target.pinnedSha256 = router.certificateSha256();
        return target;
    }

    // Runs a dial to its end; the result and the telephone that rings.
    std::pair<Tr64Result, QString> dial(const Tr64Target& target, const QString& phone) {
        RouterDialHelper helper(target);
        std::optional<std::pair<Tr64Result, QString>> outcome;
        helper.dial(QStringLiteral("030 1234567"), phone,
                    [&](const Tr64Result& r, const QString& ringing) {
                        outcome = {r, ringing};
                    });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 3 * Tr64Client::TimeLimitMs); }();
        return outcome.value_or(std::pair<Tr64Result, QString>());
    }
    template <typename Value> static Value waitFor(std::optional<Value>& outcome) {
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 3 * Tr64Transport::FetchTimeLimitMs);
        }();
        return outcome.value_or(Value());
    }

private slots:
    void requestBody_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("arguments"); // name, value, name, value ...
        QTest::addColumn<QString>("inner");
        QTest::newRow("dial") << "X_AVM-DE_DialNumber"
                              << QStringList{"NewX_AVM-DE_PhoneNumber", "0#<"}
                              << "<NewX_AVM-DE_PhoneNumber>0#&lt;</NewX_AVM-DE_PhoneNumber>";
        QTest::newRow("choose telephone")
            << "X_AVM-DE_DialSetConfig" << QStringList{"NewX_AVM-DE_PhoneName", "FON1: Telefon"}
            << "<NewX_AVM-DE_PhoneName>FON1: Telefon</NewX_AVM-DE_PhoneName>";
        QTest::newRow("telephone port")
            << "X_AVM-DE_GetPhonePort" << QStringList{"NewIndex", "2"} << "<NewIndex>2</NewIndex>";
        QTest::newRow("hang up") << "X_AVM-DE_DialHangup" << QStringList() << "";
    }
    void requestBody() {
        QFETCH(QString, action);
        QFETCH(QStringList, arguments);
        QFETCH(QString, inner);
        SoapMessage::Arguments pairs;
        for (qsizetype i = 0; i + 1 < arguments.size(); i += 2)
            pairs.append({arguments.at(i), arguments.at(i + 1)});
        const QString open =
            QStringLiteral("<u:%1 xmlns:u=\"%2\"").arg(action, RouterDialHelper::Service);
        const QString element = inner.isEmpty()
                                    ? open + QStringLiteral("/>")
                                    : open + QStringLiteral(">%1</u:%2>").arg(inner, action);
        QCOMPARE(QString::fromUtf8(SoapMessage::request(RouterDialHelper::Service, action, pairs)),
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><s:Envelope "
                                "xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                                "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
                                "<s:Body>%1</s:Body></s:Envelope>\n")
                     .arg(element));
    }

    void address_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("host"); // empty: refused
        QTest::addColumn<int>("port");
        QTest::newRow("name") << " fritz.box "
                              << "fritz.box" << 49000;
        QTest::newRow("name and port") << "192.168.178.1:8080"
                                       << "192.168.178.1" << 8080;
        QTest::newRow("no port") << "fritz.box:abc"
                                 << "" << 0;
        QTest::newRow("port too large") << "fritz.box:65536"
                                        << "" << 0;
        QTest::newRow("bare IPv6") << "fd00::1"
                                   << "fd00::1" << 49000;
        QTest::newRow("IPv6 and port") << "[fd00::1]:49001"
                                       << "fd00::1" << 49001;
        QTest::newRow("empty") << ""
                               << "" << 0;
    }
    void address() {
        QFETCH(QString, address);
        QFETCH(QString, host);
        Tr64Target target;
        QCOMPARE(target.setAddress(address), !host.isEmpty());
        if (!host.isEmpty()) {
            QCOMPARE(target.host, host);
            QTEST(target.port, "port");
        }
    }

    void dialsOverTlsWithDigest() {
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        const auto [result, ringing] = dial(targetOf(router), QStringLiteral("FON1: Telefon"));
        QVERIFY2(result.ok(), qPrintable(result.detail));
        QCOMPARE(ringing, QStringLiteral("FON1: Telefon"));
        QCOMPARE(router.actions(),
                 (QStringList{"GetSecurityPort", "X_AVM-DE_DialSetConfig", "X_AVM-DE_DialNumber"}));
        QVERIFY(router.requests.at(2).secure && !router.requests.at(0).secure);
        QCOMPARE(router.requests.at(2).arguments.value("NewX_AVM-DE_PhoneNumber"),
                 QStringLiteral("0301234567"));
        QVERIFY(router.protocolErrors.isEmpty());

        RouterDialHelper helper(targetOf(router));
        QStringList phones;
        QString current, country, area;
        helper.readPhones([&](const Tr64Result&, const QStringList& p, const QString& c) {
            phones = p, current = c;
            helper.readCodes([&](const Tr64Result&, const QString& lkz, const QString& okz) {
                country = lkz, area = okz;
            });
        });
        QTRY_COMPARE(area, QStringLiteral("30"));
        QCOMPARE(country, QStringLiteral("49"));
        QCOMPARE(phones, router.phones);
        QCOMPARE(current, QStringLiteral("FON1: Telefon"));
        bool hungUp = false;
        helper.hangUp([&](const Tr64Result& r) { hungUp = r.ok(); });
        QTRY_VERIFY(hungUp);
        QCOMPARE(router.actions().last(), QStringLiteral("X_AVM-DE_DialHangup"));
        QVERIFY(router.protocolErrors.isEmpty());
    }

    void passwordOnlyLogin() {
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        router.user = Tr64Target::PasswordOnlyUser;
        RouterSettings settings;
        settings.address = router.address();
        settings.certificateSha256 = router.certificateSha256();
        const auto [result, ringing] =
            dial(RouterDialHelper::targetFor(settings, router.password), QString());
        QVERIFY2(result.ok(), qPrintable(result.detail));
    }

    void lists_data() {
        QTest::addColumn<bool>("plainHttp");
        QTest::addColumn<QByteArray>("callList");
        QTest::addColumn<QString>("refusal"); // empty: read
        QTest::newRow("TLS") << false << QByteArray() << "";
        QTest::newRow("plain HTTP") << true << QByteArray() << "";
        QTest::newRow("no call list") << false << QByteArray("<html><body>Login</body></html>")
                                      << "Der Router hat keine Anrufliste geschickt.";
    }
    void lists() {
        QFETCH(bool, plainHttp);
        QFETCH(QByteArray, callList);
        QFETCH(QString, refusal);
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        if (!callList.isEmpty())
            router.callList = callList;
        Tr64Target target = targetOf(router);
        target.plainHttp = plainHttp;
        RouterCallList calls(target);
        std::optional<std::pair<Tr64Result, CallListReader::Result>> read;
        calls.read(20, [&](const Tr64Result& r, const CallListReader::Result& l) {
            read = {r, l};
        });
        const auto [result, list] = waitFor(read);
        QCOMPARE(result.detail, refusal);
        QCOMPARE(list.calls.size(), refusal.isEmpty() ? 6 : 0);
        QCOMPARE(router.fetched.value(0),
                 "/calllist.lua?sid=" + router.sessionId() + QStringLiteral("&max=20"));
        QCOMPARE(router.requests.last().secure, !plainHttp);
        if (!refusal.isEmpty())
            return;

        RouterPhonebooks phonebooks(target);
        QList<RouterPhonebooks::Book> books;
        QList<VCardContact> contacts;
        phonebooks.readBooks([&](const Tr64Result&, const QList<RouterPhonebooks::Book>& b) {
            books = b;
            phonebooks.readContacts(
                0, [&](const Tr64Result&, const QList<VCardContact>& c) { contacts = c; });
        });
        QTRY_COMPARE(contactsText(contacts),
                     QStringLiteral("Anna Muster: 030 1234567 privat, 030 1234599 Fax, **11 "
                                    "intern|Max Mobil: +49 175 5290123 mobil"));
        QCOMPARE(books.size(), 2);
        QCOMPARE(books.at(1).id, 1);
        QCOMPARE(books.at(1).name, QStringLiteral("Firma"));
        QVERIFY(router.protocolErrors.isEmpty());
    }

    // A document the router named is fetched from the router alone, as an action's answer is.
    void fetch_data() {
        QTest::addColumn<QString>("url"); // %1 TLS port, %2 plain port, %3 session
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<RouterError>("error");
        QTest::addColumn<QString>("detail");
        const QString home = QStringLiteral("https://127.0.0.1:%1/calllist.lua?sid=%3");
        QTest::newRow("another host") << "https://localhost:%1/calllist.lua?sid=%3"
                                      << "" << RouterError::BadAnswer << "fremde Adresse";
        QTest::newRow("another port") << "https://127.0.0.1:%2/calllist.lua?sid=%3"
                                      << "" << RouterError::BadAnswer << "fremde Adresse";
        QTest::newRow("plain HTTP on the TLS port")
            << "http://127.0.0.1:%1/calllist.lua?sid=%3"
            << "" << RouterError::BadAnswer << "fremde Adresse";
        QTest::newRow("changed certificate")
            << home << "changed" << RouterError::CertificateChanged << "";
        QTest::newRow("endless") << home << "endless" << RouterError::BadAnswer << "zu groß";
        QTest::newRow("too large") << home << "huge" << RouterError::BadAnswer << "zu groß";
        QTest::newRow("session refused") << "https://127.0.0.1:%1/calllist.lua?sid=x"
                                         << "" << RouterError::BadAnswer << "HTTP 403";
    }
    void fetch() {
        QFETCH(QString, url);
        QFETCH(QString, scenario);
        QFETCH(RouterError, error);
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        Tr64Client client(targetOf(router));
        router.endlessList = scenario == "endless";
        if (scenario == "huge")
            router.callList = QByteArray(CallListReader::MaxBytes, ' ');
        if (scenario == "changed")
            QVERIFY(router.makeCertificate());
        std::optional<std::pair<Tr64Result, QByteArray>> fetched;
        client.fetch(url.replace("%1", QString::number(router.securePort()))
                         .replace("%2", QString::number(router.plainPort()))
                         .replace("%3", router.sessionId()),
                     CallListReader::MaxBytes, [&](const Tr64Result& r, const QByteArray& body) {
                         fetched = {r, body};
                     });
        const auto [result, body] = waitFor(fetched);
        QCOMPARE(result.error, error);
        QTEST(result.detail, "detail");
        QCOMPARE(body, result.ok() ? router.callList : QByteArray());
        // Refused before a byte went out: the session id stayed where it was.
        if (error == RouterError::CertificateChanged || result.detail == "fremde Adresse")
            QCOMPARE(router.tlsBytesReceived, 0);
    }

    void phonebook_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("contacts"); // "!": refused
        const auto book = [](const QByteArray& contacts) {
            return "<?xml version=\"1.0\"?><phonebooks><phonebook name=\"Telefonbuch\">" +
                   contacts + "</phonebook></phonebooks>";
        };
        const QByteArray anna =
            "<contact><person><realName> Anna\n Muster </realName></person>"
            "<telephony><number type=\"home\">1</number><number type=\"mobile\">2"
            "</number><number type=\"work\">3</number><number type=\"fax_home\">4"
            "</number><number type=\"intern\">**5</number><number type=\"memo\">6"
            "</number><number type=\"home\"> </number></telephony></contact>";
        QTest::newRow("types") << book(anna + "<contact><uniqueid>1</uniqueid></contact>")
                               << "Anna Muster: 1 privat, 2 mobil, 3 Arbeit, 4 Fax, **5 intern, 6 ";
        QTest::newRow("empty book") << book("") << "";
        QTest::newRow("document type")
            << "<!DOCTYPE phonebooks [<!ENTITY x \"y\">]>" + book(anna) << "!";
        QTest::newRow("too many contacts")
            << book(anna.repeated(PhonebookReader::MaxContacts + 1)) << "!";
        QTest::newRow("too deep") << book("<contact><person><realName><b><i>x</i></b></"
                                          "realName><a><b><c/></b></a></person></contact>")
                                  << "!";
        QTest::newRow("not a phone book") << QByteArray("<root><Call/></root>") << "!";
        QTest::newRow("broken") << book(anna).chopped(5) << "!";
    }
    void phonebook() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, contacts);
        const PhonebookReader::Result result = PhonebookReader::read(xml);
        QCOMPARE(result.ok, contacts != "!");
        QCOMPARE(result.error.isEmpty(), result.ok);
        QCOMPARE(result.bookName, result.ok ? QStringLiteral("Telefonbuch") : QString());
        QCOMPARE(contactsText(result.contacts), result.ok ? contacts : QString());
    }

    void failures_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<RouterError>("error");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("wrong password") << "password" << RouterError::LoginRefused << "Kennwort";
        QTest::newRow("basic offered") << "basic" << RouterError::LoginRefused << "Kennwort";
        QTest::newRow("helper off") << "off" << RouterError::HelperOff << "Wählhilfe";
        QTest::newRow("no such telephone") << "phone" << RouterError::NoSuchPhone << "„ISDN 9“";
        QTest::newRow("silence") << "silent" << RouterError::NoAnswer << "antwortet nicht";
        QTest::newRow("nobody there")
            << "closed" << RouterError::Unreachable << "Zugriff für Anwendungen";
        QTest::newRow("basic after digest, plain HTTP")
            << "basic repeat" << RouterError::LoginRefused << "Kennwort";
        QTest::newRow("1 MB answer") << "huge" << RouterError::BadAnswer << "zu groß";
        QTest::newRow("endless chunked answer") << "endless" << RouterError::BadAnswer << "zu groß";
        QTest::newRow("endless chunked challenge")
            << "endless 401" << RouterError::BadAnswer << "zu groß";
        QTest::newRow("the TLS port in the address")
            << "tls port" << RouterError::CertificateUnknown << "nichts gesendet";
        QTest::newRow("entities") << "dtd" << RouterError::BadAnswer << "unverständlich";
        QTest::newRow("first certificate")
            << "unpinned" << RouterError::CertificateUnknown << "nichts gesendet";
        QTest::newRow("changed certificate")
            << "changed" << RouterError::CertificateChanged << "anderen Zertifikat";
    }
    void failures() {
        QFETCH(QString, scenario);
        ScriptedRouter router;
        QVERIFY(router.makeCertificate() && router.listen());
        Tr64Target target = targetOf(router);
        QString phone = QStringLiteral("DECT: Mobilteil 1");
        if (scenario == "password")
            target.password = QStringLiteral("falsch");
        router.offerBasic = scenario == "basic";
        router.basicOnRepeat = scenario == "basic repeat";
        router.endlessBody = scenario.startsWith("endless");
        target.plainHttp = scenario.startsWith("basic") || scenario == "endless 401";
        if (scenario == "tls port")
            target.port = router.securePort(), target.pinnedSha256.clear();
        router.silent = scenario == "silent";
        if (scenario == "off")
            router.helperPhone = QStringLiteral("unconfigured"), phone.clear();
        if (scenario == "phone")
            phone = QStringLiteral("ISDN 9");
        if (scenario == "closed")
            target.port = 1;
        if (scenario == "huge")
            router.fixedAnswer = QByteArray(Tr64Client::MaxAnswerBytes, ' ');
        if (scenario == "dtd")
            router.fixedAnswer = "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY x SYSTEM "
                                 "\"file:///etc/passwd\">]><s:Envelope>&x;</s:Envelope>";
        if (scenario == "unpinned")
            target.pinnedSha256.clear();
        if (scenario == "changed")
            QVERIFY(router.makeCertificate());

        const auto [result, ringing] = dial(target, phone);
        QTEST(result.error, "error");
        const QString message = RouterMessages::forError(result, router.address(), phone);
        QFETCH(QString, messagePart);
        QVERIFY2(message.contains(messagePart), qPrintable(message));
        QVERIFY(!router.actions().contains(QStringLiteral("X_AVM-DE_DialNumber")));
        QVERIFY(router.protocolErrors.isEmpty());
        QCOMPARE(router.basicLogins, 0);
        if (result.error == RouterError::CertificateChanged ||
            result.error == RouterError::CertificateUnknown) {
            QCOMPARE(result.certificateSha256, router.certificateSha256());
            QCOMPARE(router.tlsBytesReceived, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestTr64Client)
#include "test_tr64client.moc"
