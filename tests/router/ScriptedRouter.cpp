#include "ScriptedRouter.h"

#include "EndlessBody.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSslServer>
#include <QTemporaryDir>
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

ScriptedRouter::ScriptedRouter() : m_plain(new QTcpServer(this)), m_secure(new QSslServer(this)) {
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
        if (xml.namespaceUri().startsWith(QLatin1String("urn:dslforum-org:service:")))
            request.action = xml.name().toString();
        else if (!request.action.isEmpty())
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
    const QByteArray reason = status == 200 ? "OK" : status == 401 ? "Unauthorized" : "Error";
    if (endlessBody) {
        writeEndlessAnswer(socket, "HTTP/1.1 " + QByteArray::number(status) + " " + reason +
                                       "\r\n" + extra + "Content-Type: text/xml\r\n");
        return;
    }
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n" + extra +
                  "Content-Type: text/xml; charset=\"utf-8\"\r\nContent-Length: " +
                  QByteArray::number(reply.size()) + "\r\nConnection: close\r\n\r\n" + reply);
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
    } else if (a != QLatin1String("X_AVM-DE_DialHangup")) {
        return *status = 500, fault(401, QStringLiteral("Invalid Action"));
    }
    QString values;
    for (const auto& [name, value] : out)
        values += QStringLiteral("<%1>%2</%1>").arg(name, value.toHtmlEscaped());
    return Envelope
        .arg(QStringLiteral("<u:%1Response xmlns:u=\"urn:dslforum-org:service:X_VoIP:1\">%2</"
                            "u:%1Response>")
                 .arg(a, values))
        .toUtf8();
}
