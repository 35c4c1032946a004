#include "router/ReplyGuard.h"

#include "router/AnswerRelay.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>

namespace {
constexpr qint64 ReadAheadBytes = 64 * 1024;
constexpr qint64 HeaderBytes = 64 * 1024;
} // namespace

ReplyGuard::ReplyGuard(const QString& host, qint64 maxAnswerBytes, int timeLimitMs, QObject* parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)),
      m_relay(new AnswerRelay(host, maxAnswerBytes + HeaderBytes, m_manager)),
      m_limit(maxAnswerBytes), m_timeLimitMs(timeLimitMs) {
    // A proxy from the environment must not see the traffic. The only proxy is our own, which
    // cuts an answer at its limit.
    m_manager->setProxy(m_relay->listen() ? m_relay->proxy()
                                          : QNetworkProxy(QNetworkProxy::NoProxy));
    m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    connect(m_relay, &AnswerRelay::exceeded, this, [this] { stop(Stop::TooLarge); });
}

void ReplyGuard::watch(QNetworkReply* reply) {
    m_reply = reply;
    // Read no further ahead than the checks below: unread data is held in memory, however large,
    // and a challenge's body is never handed out at all. Qt limits the reading only when the
    // size changes after the request went to its network thread.
    connect(reply, &QNetworkReply::requestSent, reply,
            [reply] { reply->setReadBufferSize(ReadAheadBytes); });
    QTimer::singleShot(m_timeLimitMs, reply, [this] { stop(Stop::NoAnswer); });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() >= m_limit)
            stop(Stop::TooLarge);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        m_body += reply->readAll();
        if (m_body.size() >= m_limit)
            stop(Stop::TooLarge);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (m_stopped == Stop::None)
            m_body += reply->readAll();
        emit finished(reply);
    });
}

void ReplyGuard::stop(Stop why) {
    if (m_stopped != Stop::None || !m_reply)
        return;
    m_stopped = why;
    m_reply->abort();
}

ReplyGuard::Pin ReplyGuard::comparePin(const QByteArray& der, const QString& pinnedSha256,
                                       QString* fingerprint) {
    *fingerprint =
        QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex());
    if (!der.isEmpty() && fingerprint->compare(pinnedSha256, Qt::CaseInsensitive) == 0)
        return Pin::Matches;
    return pinnedSha256.isEmpty() ? Pin::Unknown : Pin::Changed;
}

bool ReplyGuard::firstChallenge(QNetworkReply* reply) {
    const int tries = reply->property("kurbelfonLogins").toInt() + 1;
    reply->setProperty("kurbelfonLogins", tries);
    return tries == 1;
}
