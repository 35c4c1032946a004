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

RadicaleServer::RadicaleServer(bool tls) : m_tls(tls) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test that aborts leaves no server behind.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

RadicaleServer::~RadicaleServer() {
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
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
    const QString cert = m_dir.filePath(QStringLiteral("cert.pem"));
    if (m_tls) {
        QProcess::execute(
            QStringLiteral("openssl"),
            QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                           "-nodes -days 2 -subj /CN=127.0.0.1 -keyout %1/key.pem "
                           "-out %2")
                .arg(m_dir.path(), cert)
                .split(' '));
        const QList<QSslCertificate> made = QSslCertificate::fromPath(cert);
        if (made.isEmpty())
            return false;
        m_certificateSha256 =
            QString::fromLatin1(made.first().digest(QCryptographicHash::Sha256).toHex());
    }
    // Not the system's configuration: that one serves the desktop user. Debian's radicale is a
    // module of the system's Python, which may not be the first on the path.
    const QString options = QStringLiteral(
        "--server-hosts 127.0.0.1:%1 --storage-filesystem-folder %2/storage "
        "--auth-type htpasswd --auth-htpasswd-filename %2/users --auth-htpasswd-encryption plain "
        "--rights-type owner_only --logging-level warning --server-ssl %3 --server-certificate %4 "
        "--server-key %2/key.pem");
    m_process.start(
        QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3",
        QStringList{"-m", "radicale", "--config", ""} +
            options.arg(m_port).arg(m_dir.path(), m_tls ? "True" : "False", cert).split(' '));
    return Poll::until(
               [this] {
                   QTcpSocket socket;
                   socket.connectToHost(QHostAddress::LocalHost, m_port);
                   return m_process.state() == QProcess::NotRunning ||
                          socket.waitForConnected(1000);
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

QNetworkReply* RadicaleServer::send(const QByteArray& method, const QUrl& url,
                                    const QByteArray& body) {
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + (user + ":" + password).toUtf8().toBase64());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      method == "PUT" ? "text/vcard; charset=utf-8" : "application/xml");
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
    return allCreated({send("MKCOL", bookUrl(name),
                            "<?xml version=\"1.0\"?><mkcol xmlns=\"DAV:\" xmlns:CR=\"urn:ietf:"
                            "params:xml:ns:carddav\"><set><prop><resourcetype><collection/>" +
                                type + "</resourcetype><displayname>" + displayName.toUtf8() +
                                "</displayname></prop></set></mkcol>")});
}

bool RadicaleServer::put(const QString& book, const QList<std::pair<QString, QByteArray>>& cards) {
    QList<QNetworkReply*> replies;
    for (const auto& [uid, text] : cards)
        replies.append(send("PUT", bookUrl(book).resolved(QUrl(uid + ".vcf")), text));
    return allCreated(replies);
}
