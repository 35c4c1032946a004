#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSslCertificate>
#include <QSslKey>
#include <QStringList>

class QSslServer;
class QTcpServer;
class QTcpSocket;

// A home router as its dial helper and its lists answer over TR-064, on 127.0.0.1: plain HTTP
// and HTTPS with a self-signed certificate made by openssl at test time. It checks the digest
// answer for real, the SOAP action header against the body, and answers as a router does, faults
// included. The call list and the phone books are served at URLs with a session id, as named in
// the answers to GetCallList and GetPhonebook.
class ScriptedRouter : public QObject {
    Q_OBJECT
public:
    struct Request {
        bool secure = false;
        QString service;
        QString action;
        QHash<QString, QString> arguments;
    };

    ScriptedRouter();
    ~ScriptedRouter() override;

    // A new key and certificate; false when openssl failed. The second call stands in for a
    // router that was reset or replaced.
    bool makeCertificate();
    bool listen();
    int plainPort() const;
    int securePort() const;
    QString address() const; // "127.0.0.1:<plain port>"
    QString certificateSha256() const;

    // The router's account and state.
    QString user = QStringLiteral("anna");
    QString password = QStringLiteral("geheim");
    QStringList phones{QStringLiteral("FON1: Telefon"), QStringLiteral("DECT: Mobilteil 1")};
    QString helperPhone = QStringLiteral("DECT: Mobilteil 1"); // "unconfigured": helper off
    bool silent = false;                                       // takes requests and never answers
    bool offerBasic = false;                                   // asks for Basic instead of Digest
    bool basicOnRepeat = false; // Digest at the first challenge, Basic at every later one
    bool endlessBody = false;   // every answer a chunked body without end
    QByteArray fixedAnswer;     // when set, every answer is this body (a hostile router)

    // The lists; a phone book's id is its place here.
    struct Phonebook {
        QString name;
        QByteArray xml;
    };
    static QByteArray defaultCallList(); // one call of each type, newest first
    static QList<Phonebook> defaultPhonebooks();
    QByteArray callList = defaultCallList();
    QList<Phonebook> phonebooks = defaultPhonebooks();
    QString listUrl;          // when set, the lists are named at this URL instead of at home
    bool endlessList = false; // the lists come as a chunked body without end
    QStringList fetched;      // the paths of the lists served, with their queries
    QString sessionId() const { return m_sid; }

    // What came in, in order, once the login and the header were right.
    QList<Request> requests;
    QStringList protocolErrors; // what a router would have refused as malformed
    qint64 tlsBytesReceived = 0;
    int basicLogins = 0; // passwords that came as they are
    QStringList actions() const;

private:
    void serve(QTcpSocket* socket, bool secure);
    void handle(QTcpSocket* socket, bool secure, const QByteArray& head, const QByteArray& body);
    bool digestAccepted(const QByteArray& authorization, const QByteArray& method) const;
    QByteArray answer(const Request& request, int* status);
    void serveList(QTcpSocket* socket, const QByteArray& target);
    void respond(QTcpSocket* socket, int status, const QByteArray& extra, const QByteArray& body,
                 bool endless);

    QTcpServer* m_plain;
    QSslServer* m_secure;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QSet<QByteArray> m_nonces;
    int m_challenges = 0;
    QString m_sid;
};
