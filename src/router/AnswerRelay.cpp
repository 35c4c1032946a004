#include "router/AnswerRelay.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QtEndian>
#include <memory>

namespace {
// The parts of SOCKS5 (RFC 1928) that QtNetwork speaks: no login, CONNECT only.
constexpr char Version = 5;
constexpr char NoLogin = 0;
constexpr char Connect = 1;
constexpr char IPv4 = 1, Name = 3, IPv6 = 4;
constexpr char Succeeded = 0, NotAllowed = 2, Unreachable = 4, Refused = 5;

void answer(QTcpSocket* client, char reply) {
    client->write(QByteArray("\x05", 1) + reply +
                  QByteArray("\x00\x01\x00\x00\x00\x00\x00\x00", 8));
    if (reply != Succeeded)
        client->disconnectFromHost();
}
} // namespace

AnswerRelay::AnswerRelay(QString host, qint64 limitBytes, QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_limit(limitBytes) {
    connect(&m_server, &QTcpServer::newConnection, this, &AnswerRelay::accept);
}

bool AnswerRelay::listen() {
    return m_server.listen(QHostAddress::LocalHost);
}

QNetworkProxy AnswerRelay::proxy() const {
    return QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"),
                         m_server.serverPort());
}

bool AnswerRelay::sameHost(const QString& host, const QString& router) {
    const QHostAddress address(host);
    return host.compare(router, Qt::CaseInsensitive) == 0 ||
           (!address.isNull() && address == QHostAddress(router));
}

void AnswerRelay::accept() {
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        client->setParent(this);
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QTcpSocket::readyRead, this, [this, client] { readRequest(client); });
    }
}

void AnswerRelay::readRequest(QTcpSocket* client) {
    const QByteArray in = client->peek(client->bytesAvailable());
    if (in.size() < 2)
        return;
    if (in.at(0) != Version) {
        client->abort();
        return;
    }
    const int methods = quint8(in.at(1));
    if (!client->property("greeted").toBool()) {
        if (in.size() < 2 + methods)
            return;
        client->skip(2 + methods);
        client->setProperty("greeted", true);
        client->write(QByteArray(1, Version) + NoLogin);
        return;
    }
    if (in.size() < 5)
        return;
    const char type = in.at(3);
    const int addressLength = type == IPv4 ? 4 : type == IPv6 ? 16 : quint8(in.at(4)) + 1;
    if (in.size() < 4 + addressLength + 2)
        return;
    client->skip(4 + addressLength + 2);
    disconnect(client, &QTcpSocket::readyRead, this, nullptr);
    const QByteArray address = in.mid(4, addressLength);
    const QString host =
        type == Name ? QString::fromUtf8(address.mid(1))
        : type == IPv4
            ? QHostAddress(qFromBigEndian<quint32>(address.constData())).toString()
            : QHostAddress(reinterpret_cast<const quint8*>(address.constData())).toString();
    const quint16 port = qFromBigEndian<quint16>(in.constData() + 4 + addressLength);
    // The requests go to the router and nowhere else.
    if (in.at(1) != Connect || !sameHost(host, m_host)) {
        answer(client, NotAllowed);
        return;
    }
    connectUpstream(client, host, port);
}

void AnswerRelay::connectUpstream(QTcpSocket* client, const QString& host, quint16 port) {
    auto* upstream = new QTcpSocket(client);
    connect(upstream, &QTcpSocket::connected, this, [this, client, upstream] {
        answer(client, Succeeded);
        pass(client, upstream);
    });
    connect(upstream, &QTcpSocket::errorOccurred, client,
            [client, upstream](QAbstractSocket::SocketError error) {
                if (upstream->state() == QAbstractSocket::ConnectedState ||
                    error == QAbstractSocket::RemoteHostClosedError)
                    return;
                answer(client,
                       error == QAbstractSocket::ConnectionRefusedError ? Refused : Unreachable);
            });
    upstream->connectToHost(host, port);
}

void AnswerRelay::pass(QTcpSocket* client, QTcpSocket* upstream) {
    auto received = std::make_shared<qint64>(0);
    connect(upstream, &QTcpSocket::readyRead, client, [this, client, upstream, received] {
        const QByteArray data = upstream->readAll();
        *received += data.size();
        if (*received > m_limit) {
            upstream->abort();
            client->abort();
            emit exceeded();
            return;
        }
        client->write(data);
    });
    connect(client, &QTcpSocket::readyRead, upstream,
            [client, upstream] { upstream->write(client->readAll()); });
    connect(upstream, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
    connect(client, &QTcpSocket::disconnected, upstream, &QTcpSocket::disconnectFromHost);
    if (client->bytesAvailable() > 0)
        upstream->write(client->readAll());
}
