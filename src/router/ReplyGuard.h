#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class AnswerRelay;
class QNetworkAccessManager;
class QNetworkReply;

// One request of the network module, kept within its limits: an answer cut at its size however
// it is framed (through an AnswerRelay), QtNetwork reading no further ahead than the checks, and
// no answer at all after the time limit. The router's and the address books' sessions send
// through it.
class ReplyGuard : public QObject {
    Q_OBJECT
public:
    enum class Stop { None, TooLarge, NoAnswer, Refused };

    // host: the only one the relay connects to. The guard owns its manager: one per request,
    // since a manager keeps the credentials that worked and would hand them to any later
    // challenge by itself, a Basic one too.
    ReplyGuard(const QString& host, qint64 maxAnswerBytes, int timeLimitMs, QObject* parent);

    QNetworkAccessManager* manager() const { return m_manager; }
    // The one request sent through manager(); finished() follows its end.
    void watch(QNetworkReply* reply);
    // Aborts the reply; the first reason stays.
    void stop(Stop why);

    Stop stopped() const { return m_stopped; }

    // A certificate no authority vouches for, against the fingerprint the user confirmed (hex,
    // empty for none yet). *fingerprint: its own, for the question or the message.
    enum class Pin { Matches, Unknown, Changed };
    static Pin comparePin(const QByteArray& der, const QString& pinnedSha256, QString* fingerprint);
    // True at the reply's first login challenge only: a second means the first answer was
    // refused, and trying it again cannot help.
    static bool firstChallenge(QNetworkReply* reply);
    const QByteArray& body() const { return m_body; }
signals:
    void finished(QNetworkReply* reply);

private:
    QNetworkAccessManager* m_manager;
    AnswerRelay* m_relay;
    QNetworkReply* m_reply = nullptr;
    qint64 m_limit;
    int m_timeLimitMs;
    Stop m_stopped = Stop::None;
    QByteArray m_body;
};
