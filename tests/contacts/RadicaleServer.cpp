#include "RadicaleServer.h"

#include "e2e/Poll.h"

#include <QFile>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <csignal>
#include <sys/prctl.h>

namespace {
// Debian's radicale is a module of the system's Python, which may not be the first on the path.
QString python() {
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}
} // namespace

RadicaleServer::RadicaleServer(bool tls) : m_tls(tls) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test that aborts leaves no server behind.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

RadicaleServer::~RadicaleServer() {
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(10000);
}

bool RadicaleServer::makeCertificate() {
    const QString cert = m_dir.filePath(QStringLiteral("cert.pem"));
    const int exit =
        QProcess::execute(QStringLiteral("openssl"),
                          {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                           "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2", "-subj",
                           "/CN=127.0.0.1", "-keyout", m_dir.filePath("key.pem"), "-out", cert});
    const QList<QSslCertificate> read = QSslCertificate::fromPath(cert);
    if (exit != 0 || read.isEmpty())
        return false;
    m_certificateSha256 =
        QString::fromLatin1(read.first().digest(QCryptographicHash::Sha256).toHex());
    return true;
}

bool RadicaleServer::start() {
    // A port nobody holds now; Radicale takes it a moment later.
    QTcpServer probe;
    if (!m_dir.isValid() || !probe.listen(QHostAddress::LocalHost))
        return false;
    m_port = probe.serverPort();
    probe.close();
    QFile users(m_dir.filePath(QStringLiteral("users")));
    if (!users.open(QIODevice::WriteOnly) || users.write((user + ":" + password).toUtf8()) < 0)
        return false;
    users.close();
    QStringList arguments{"-m",
                          "radicale",
                          "--config",
                          "",
                          "--server-hosts",
                          QStringLiteral("127.0.0.1:%1").arg(m_port),
                          "--storage-filesystem-folder",
                          m_dir.filePath("storage"),
                          "--auth-type",
                          "htpasswd",
                          "--auth-htpasswd-filename",
                          users.fileName(),
                          "--auth-htpasswd-encryption",
                          "plain",
                          "--rights-type",
                          "owner_only",
                          "--logging-level",
                          "warning"};
    if (m_tls) {
        if (!makeCertificate())
            return false;
        arguments += {"--server-ssl",         "True",
                      "--server-certificate", m_dir.filePath("cert.pem"),
                      "--server-key",         m_dir.filePath("key.pem")};
    }
    m_process.start(python(), arguments);
    return Poll::until(
               [this] {
                   if (m_process.state() == QProcess::NotRunning)
                       return true;
                   QTcpSocket socket;
                   socket.connectToHost(QHostAddress::LocalHost, m_port);
                   return socket.waitForConnected(1000);
               },
               Poll::StartLimitMs) &&
           m_process.state() == QProcess::Running;
}

QUrl RadicaleServer::address() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? "https" : "http").arg(m_port));
}

QUrl RadicaleServer::bookUrl(const QString& name) const {
    return address().resolved(QUrl(user + "/" + name + "/"));
}

QString RadicaleServer::log() const {
    return QString::fromUtf8(const_cast<QProcess&>(m_process).readAll());
}

QNetworkReply* RadicaleServer::send(const QByteArray& method, const QUrl& url,
                                    const QByteArray& body, const QByteArray& contentType) {
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + (user + ":" + password).toUtf8().toBase64());
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    QNetworkReply* reply = m_network.sendCustomRequest(request, method, body);
    reply->ignoreSslErrors();
    return reply;
}

bool RadicaleServer::allCreated(const QList<QNetworkReply*>& replies) {
    bool created = Poll::until(
        [&replies] {
            return std::all_of(replies.begin(), replies.end(),
                               [](QNetworkReply* r) { return r->isFinished(); });
        },
        Poll::StartLimitMs);
    for (QNetworkReply* reply : replies) {
        created =
            created && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 201;
        reply->deleteLater();
    }
    return created;
}

bool RadicaleServer::makeBook(const QString& name, const QString& displayName, bool calendar) {
    const QByteArray type =
        calendar ? "<C:calendar xmlns:C=\"urn:ietf:params:xml:ns:caldav\"/>" : "<CR:addressbook/>";
    const QByteArray body = "<?xml version=\"1.0\"?><mkcol xmlns=\"DAV:\" "
                            "xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><set><prop><resourcetype>"
                            "<collection/>" +
                            type + "</resourcetype><displayname>" + displayName.toUtf8() +
                            "</displayname></prop></set></mkcol>";
    return allCreated({send("MKCOL", bookUrl(name), body, "application/xml")});
}

bool RadicaleServer::put(const QString& book, const QList<std::pair<QString, QByteArray>>& cards) {
    QList<QNetworkReply*> replies;
    for (const auto& [uid, text] : cards)
        replies.append(send("PUT", bookUrl(book).resolved(QUrl(uid + ".vcf")), text,
                            "text/vcard; charset=utf-8"));
    return allCreated(replies);
}
