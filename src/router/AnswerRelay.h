#pragma once

#include <QNetworkProxy>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// Between QtNetwork and the router: a SOCKS5 endpoint on the loopback that passes a request's
// connection through and counts what comes back, so that an answer is cut at its limit however
// it is framed. QtNetwork reads the body of a login challenge whole before it says anything at
// all, and keeps whatever it has read in memory; an endless one would take all there is.
// TLS stays end to end: the relay sees only the bytes.
class AnswerRelay : public QObject {
    Q_OBJECT
public:
    AnswerRelay(QString host, qint64 limitBytes, QObject* parent = nullptr);

    // False when no loopback port could be had.
    bool listen();
    QNetworkProxy proxy() const;
    // The same host by name or by address.
    static bool sameHost(const QString& host, const QString& router);
signals:
    // An answer came that was longer than the limit: its connection was cut.
    void exceeded();

private:
    void accept();
    void readRequest(QTcpSocket* client);
    void connectUpstream(QTcpSocket* client, const QString& host, quint16 port);
    void pass(QTcpSocket* client, QTcpSocket* upstream);

    QTcpServer m_server;
    QString m_host;
    qint64 m_limit;
};
