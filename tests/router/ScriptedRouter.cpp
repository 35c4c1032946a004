#include "ScriptedRouter.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QXmlStreamReader>

namespace {
const QByteArray Realm = "F!Box SOAP-Auth";
const QString Envelope = QStringLiteral(
    "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body>%1</s:Body></"
    "s:Envelope>");

QByteArray md5(const QByteArray& text) {
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

QByteArray fault(int code, const QString& description) {
    return Envelope
        .arg(QStringLiteral("<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</"
                            "faultstring><detail><UPnPError "
                            "xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>%1</"
                            "errorCode><errorDescription>%2</errorDescription></UPnPError></"
                            "detail></s:Fault>")
                 .arg(code)
                 .arg(description))
        .toUtf8();
}
} // namespace

ScriptedRouter::ScriptedRouter()
    : m_plain(new QTcpServer(this)), m_secure(new QSslServer(this)),
      m_sid(QString::number(QRandomGenerator::global()->generate64(), 16)) {
    connect(m_plain, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_plain->nextPendingConnection())
            serve(socket, false);
    });
    connect(m_secure, &QSslServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_secure->nextPendingConnection())
            serve(socket, true);
    });
}

ScriptedRouter::~ScriptedRouter() = default;

bool ScriptedRouter::makeCertificate() {
    QTemporaryDir dir;
    const int exit = QProcess::execute(
        QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
         QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
         QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
         QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
         QStringLiteral("/CN=fritz.box"), QStringLiteral("-keyout"), dir.filePath("key.pem"),
         QStringLiteral("-out"), dir.filePath("cert.pem")});
    QFile cert(dir.filePath("cert.pem"));
    QFile key(dir.filePath("key.pem"));
    if (exit != 0 || !cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return false;
    m_certificate = QSslCertificate(&cert);
    m_key = QSslKey(&key, QSsl::Ec);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(m_certificate);
    tls.setPrivateKey(m_key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_secure->setSslConfiguration(tls);
    return !m_certificate.isNull() && !m_key.isNull();
}

bool ScriptedRouter::listen() {
    return m_plain->listen(QHostAddress::LocalHost) && m_secure->listen(QHostAddress::LocalHost);
}

int ScriptedRouter::plainPort() const {
    return m_plain->serverPort();
}

int ScriptedRouter::securePort() const {
    return m_secure->serverPort();
}

QString ScriptedRouter::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(plainPort());
}

QString ScriptedRouter::certificateSha256() const {
    return QString::fromLatin1(m_certificate.digest(QCryptographicHash::Sha256).toHex());
}

QStringList ScriptedRouter::actions() const {
    QStringList names;
    for (const Request& r : requests)
        names.append(r.action);
    return names;
}

void ScriptedRouter::serve(QTcpSocket* socket, bool secure) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, secure] {
        const QByteArray more = socket->readAll();
        if (secure)
            tlsBytesReceived += more.size();
        QByteArray buffer = socket->property("buffer").toByteArray() + more;
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            socket->setProperty("buffer", buffer);
            return;
        }
        const QByteArray head = buffer.left(end);
        static const QRegularExpression lengthHeader(
            QStringLiteral("(?im)^content-length:\\s*(\\d+)"));
        const qsizetype length =
            lengthHeader.match(QString::fromLatin1(head)).captured(1).toLongLong();
        if (buffer.size() < end + 4 + length) {
            socket->setProperty("buffer", buffer);
            return;
        }
        socket->setProperty("buffer", buffer.mid(end + 4 + length));
        if (!silent)
            handle(socket, secure, head, buffer.mid(end + 4, length));
    });
}

void ScriptedRouter::handle(QTcpSocket* socket, bool secure, const QByteArray& head,
                            const QByteArray& body) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    QHash<QByteArray, QByteArray> headers;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    int status = 200;
    QByteArray reply;
    QByteArray extra;
    Request request;
    request.secure = secure;
    QXmlStreamReader xml(body);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.namespaceUri().startsWith(QLatin1String("urn:dslforum-org:service:"))) {
            request.service = xml.namespaceUri().toString();
            request.action = xml.name().toString();
        } else if (!request.action.isEmpty())
            request.arguments.insert(xml.name().toString(), xml.readElementText());
    }
    if (requestLine.value(0) == "GET" && requestLine.value(1) == "/tr64desc.xml") {
        // The device description names the services a client may look for.
        const QByteArray description =
            "<?xml version=\"1.0\"?><root xmlns=\"urn:dslforum-org:device-1-0\"><device>"
            "<friendlyName>Scripted Router</friendlyName><serviceList><service><serviceType>"
            "urn:dslforum-org:service:X_VoIP:1</serviceType><controlURL>/upnp/control/x_voip"
            "</controlURL></service></serviceList></device></root>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                      QByteArray::number(description.size()) + "\r\nConnection: close\r\n\r\n" +
                      description);
        socket->disconnectFromHost();
        return;
    }
    if (requestLine.value(0) == "GET") {
        serveList(socket, requestLine.value(1));
        return;
    }
    const QByteArray soapAction = headers.value("soapaction");
    basicLogins += headers.value("authorization").startsWith("Basic") ? 1 : 0;
    const bool freeAction = request.action == QLatin1String("GetSecurityPort");
    if (requestLine.value(0) != "POST" || !soapAction.endsWith("#" + request.action.toUtf8()) ||
        !headers.value("content-type").startsWith("text/xml")) {
        protocolErrors.append(QString::fromLatin1(head));
        status = 400;
    } else if (!freeAction && !digestAccepted(headers.value("authorization"), "POST")) {
        status = 401;
        const QByteArray nonce = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
        m_nonces.insert(nonce);
        const bool basic = offerBasic || (basicOnRepeat && m_challenges++ > 0);
        extra = basic ? "WWW-Authenticate: Basic realm=\"" + Realm + "\"\r\n"
                      : "WWW-Authenticate: Digest realm=\"" + Realm + "\", nonce=\"" + nonce +
                            "\", qop=\"auth\", algorithm=MD5\r\n";
    } else {
        requests.append(request);
        reply = answer(request, &status);
    }
    if (!fixedAnswer.isEmpty())
        reply = fixedAnswer;
    respond(socket, status, extra, reply, endlessBody);
}

void ScriptedRouter::serveList(QTcpSocket* socket, const QByteArray& target) {
    const QUrl url(QString::fromLatin1(target));
    const QUrlQuery query(url);
    const int book = query.queryItemValue(QStringLiteral("pbid")).toInt();
    QByteArray body;
    if (query.queryItemValue(QStringLiteral("sid")) != m_sid)
        return respond(socket, 403, {}, {}, false);
    if (url.path() == QLatin1String("/calllist.lua"))
        body = callList;
    else if (url.path() == QLatin1String("/phonebook.lua") && book >= 0 && book < phonebooks.size())
        body = phonebooks.at(book).xml;
    else
        return respond(socket, 404, {}, {}, false);
    fetched.append(QString::fromLatin1(target));
    respond(socket, 200, {}, body, endlessList);
}

void ScriptedRouter::respond(QTcpSocket* socket, int status, const QByteArray& extra,
                             const QByteArray& body, bool endless) {
    const QByteArray reason = status == 200 ? "OK" : status == 401 ? "Unauthorized" : "Error";
    if (endless) {
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n" + extra +
                      "Content-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n");
        // Another 64 KiB chunk whenever the last went out, until the client gives up.
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
        // A TLS socket says its bytes were written once they are encrypted: what waits for the
        // wire counts too, or the chunks pile up in memory faster than they leave.
        auto* tls = qobject_cast<QSslSocket*>(socket);
        const auto more = [socket, tls, chunk] {
            if (socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0) < chunk.size())
                socket->write(chunk);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        if (tls)
            connect(tls, &QSslSocket::encryptedBytesWritten, socket, more);
        socket->write(chunk);
        return;
    }
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n" + extra +
                  "Content-Type: text/xml; charset=\"utf-8\"\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

bool ScriptedRouter::digestAccepted(const QByteArray& authorization,
                                    const QByteArray& method) const {
    if (!authorization.startsWith("Digest "))
        return false;
    QHash<QByteArray, QByteArray> p;
    static const QRegularExpression field(QStringLiteral("(\\w+)=(\"([^\"]*)\"|[^,\\s]*)"));
    for (const auto& m : field.globalMatch(QString::fromLatin1(authorization.mid(7))))
        p.insert(m.captured(1).toLatin1(),
                 (m.captured(3).isNull() ? m.captured(2) : m.captured(3)).toLatin1());
    if (p.value("username") != user.toUtf8() || p.value("realm") != Realm ||
        !m_nonces.contains(p.value("nonce")) || p.value("qop") != "auth")
        return false;
    const QByteArray ha1 = md5(user.toUtf8() + ":" + Realm + ":" + password.toUtf8());
    const QByteArray ha2 = md5(method + ":" + p.value("uri"));
    return p.value("response") == md5(ha1 + ":" + p.value("nonce") + ":" + p.value("nc") + ":" +
                                      p.value("cnonce") + ":auth:" + ha2);
}

QByteArray ScriptedRouter::answer(const Request& request, int* status) {
    QList<QPair<QString, QString>> out;
    const QString& a = request.action;
    const QString home = listUrl.isEmpty() ? QStringLiteral("%1://127.0.0.1:%2")
                                                 .arg(request.secure ? "https" : "http")
                                                 .arg(request.secure ? securePort() : plainPort())
                                           : listUrl;
    const int book = request.arguments.value(QStringLiteral("NewPhonebookID"), "-1").toInt();
    if (a == QLatin1String("GetSecurityPort")) {
        out = {{QStringLiteral("NewSecurityPort"), QString::number(m_secure->serverPort())}};
    } else if (a == QLatin1String("X_AVM-DE_DialGetConfig")) {
        out = {{QStringLiteral("NewX_AVM-DE_PhoneName"), helperPhone}};
    } else if (a == QLatin1String("X_AVM-DE_DialSetConfig")) {
        const QString name = request.arguments.value(QStringLiteral("NewX_AVM-DE_PhoneName"));
        if (!phones.contains(name))
            return *status = 500, fault(402, QStringLiteral("Invalid Args"));
        helperPhone = name;
    } else if (a == QLatin1String("X_AVM-DE_GetPhonePort")) {
        const int index = request.arguments.value(QStringLiteral("NewIndex")).toInt();
        if (index < 1 || index > phones.size())
            return *status = 500, fault(713, QStringLiteral("SpecifiedArrayIndexInvalid"));
        out = {{QStringLiteral("NewX_AVM-DE_PhoneName"), phones.at(index - 1)}};
    } else if (a == QLatin1String("X_AVM-DE_DialNumber")) {
        if (helperPhone == QLatin1String("unconfigured"))
            return *status = 500, fault(501, QStringLiteral("Action Failed"));
    } else if (a == QLatin1String("X_AVM-DE_GetVoIPCommonCountryCode")) {
        out = {{QStringLiteral("NewX_AVM-DE_LKZ"), QStringLiteral("49")},
               {QStringLiteral("NewX_AVM-DE_LKZPrefix"), QStringLiteral("00")}};
    } else if (a == QLatin1String("X_AVM-DE_GetVoIPCommonAreaCode")) {
        out = {{QStringLiteral("NewX_AVM-DE_OKZ"), QStringLiteral("30")},
               {QStringLiteral("NewX_AVM-DE_OKZPrefix"), QStringLiteral("0")}};
    } else if (a == QLatin1String("GetCallList")) {
        out = {{QStringLiteral("NewCallListURL"), home + "/calllist.lua?sid=" + m_sid}};
    } else if (a == QLatin1String("GetPhonebookList")) {
        QStringList ids;
        for (int id = 0; id < phonebooks.size(); ++id)
            ids.append(QString::number(id));
        out = {{QStringLiteral("NewPhonebookList"), ids.join(',')}};
    } else if (a == QLatin1String("GetPhonebook")) {
        if (book < 0 || book >= phonebooks.size())
            return *status = 500, fault(713, QStringLiteral("SpecifiedArrayIndexInvalid"));
        out = {{QStringLiteral("NewPhonebookName"), phonebooks.at(book).name},
               {QStringLiteral("NewPhonebookExtraID"), QString()},
               {QStringLiteral("NewPhonebookURL"),
                home + QStringLiteral("/phonebook.lua?sid=%1&pbid=%2").arg(m_sid).arg(book)}};
    } else if (a != QLatin1String("X_AVM-DE_DialHangup")) {
        return *status = 500, fault(401, QStringLiteral("Invalid Action"));
    }
    QString values;
    for (const auto& [name, value] : out)
        values += QStringLiteral("<%1>%2</%1>").arg(name, value.toHtmlEscaped());
    return Envelope
        .arg(QStringLiteral("<u:%1Response xmlns:u=\"%2\">%3</u:%1Response>")
                 .arg(a, request.service, values))
        .toUtf8();
}

QByteArray ScriptedRouter::defaultCallList() {
    // Type, remote number, own number, telephone, date, duration: the router's own fields.
    const auto call = [](int id, int type, const char* remote, const char* device, const char* date,
                         const char* duration) {
        const bool out = type == 3 || type == 11;
        return QStringLiteral("<Call><Id>%1</Id><Type>%2</Type><Caller>%3</Caller><Called>%4"
                              "</Called><%5>5551234</%5><Name></Name><Numbertype>sip"
                              "</Numbertype><Device>%6</Device><Port>10</Port><Date>%7</Date>"
                              "<Duration>%8</Duration><Count></Count><Path /></Call>")
            .arg(id)
            .arg(type)
            .arg(out ? "" : remote, out ? remote : "", out ? "CallerNumber" : "CalledNumber",
                 device, date, duration)
            .toUtf8();
    };
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><root><timestamp>1796724000</timestamp>" +
           call(6, 11, "0301234567", "FON1: Telefon", "08.12.26 10:20", "0:00") +
           call(5, 9, "01755290123", "DECT: Mobilteil 1", "08.12.26 10:18", "0:00") +
           call(4, 10, "00431555123", "", "08.12.26 09:40", "0:00") +
           call(3, 3, "**611", "FON1: Telefon", "07.12.26 18:02", "0:03") +
           call(2, 2, "", "", "07.12.26 12:30", "0:00") +
           call(1, 1, "0891234567", "DECT: Mobilteil 1", "06.12.26 08:15", "1:05") + "</root>";
}

QList<ScriptedRouter::Phonebook> ScriptedRouter::defaultPhonebooks() {
    const auto book = [](const QString& name, const QString& contacts) {
        return Phonebook{name, QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                              "<phonebooks><phonebook name=\"%1\">%2</phonebook>"
                                              "</phonebooks>")
                                   .arg(name, contacts)
                                   .toUtf8()};
    };
    const auto contact = [](const QString& name, const QString& numbers) {
        return QStringLiteral("<contact><category>0</category><person><realName>%1</realName>"
                              "</person><telephony nid=\"3\">%2</telephony><services><email "
                              "classifier=\"private\" id=\"0\">a@example.org</email></services>"
                              "<uniqueid>7</uniqueid></contact>")
            .arg(name, numbers);
    };
    const auto number = [](const char* type, const char* digits) {
        return QStringLiteral("<number type=\"%1\" prio=\"0\" id=\"0\">%2</number>")
            .arg(type, digits);
    };
    return {book(QStringLiteral("Telefonbuch"),
                 contact(QStringLiteral("Anna Muster"), number("home", "030 1234567") +
                                                            number("fax_work", "030 1234599") +
                                                            number("intern", "**11")) +
                     contact(QStringLiteral("Max Mobil"), number("mobile", "+49 175 5290123"))),
            book(QStringLiteral("Firma"),
                 contact(QStringLiteral("Zentrale"), number("work", "089 98765-0")))};
}
