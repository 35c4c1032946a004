#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <utility>

// A real CardDAV server for the tests: Radicale on 127.0.0.1 at a free port, with a throw-away
// password file and storage folder, over plain HTTP or TLS with a self-signed certificate that
// openssl makes per run.
class RadicaleServer {
public:
    explicit RadicaleServer(bool tls = false);
    ~RadicaleServer();

    // Starts it and waits until it answers; false (with the reason in log()) otherwise.
    bool start();
    QUrl address() const; // the server's root, "http(s)://127.0.0.1:<port>/"
    QUrl bookUrl(const QString& name) const;
    QString certificateSha256() const { return m_certificateSha256; }
    QString log() const;

    // A collection of the user: an address book, or a calendar.
    bool makeBook(const QString& name, const QString& displayName, bool calendar = false);
    // vCards into a book, all at once: (uid, text).
    bool put(const QString& book, const QList<std::pair<QString, QByteArray>>& cards);

    const QString user = QStringLiteral("anna");
    const QString password = QStringLiteral("geheim");

private:
    QNetworkReply* send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                        const QByteArray& contentType);
    // Waits for the replies; true when each created what it asked for.
    static bool allCreated(const QList<QNetworkReply*>& replies);
    bool makeCertificate();

    bool m_tls;
    int m_port = 0;
    QString m_certificateSha256;
    QTemporaryDir m_dir;
    QProcess m_process;
    QNetworkAccessManager m_network;
};
