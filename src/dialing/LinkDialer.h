#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class EntryDialer;
class PhoneRegister;

// A tel: or callto: link from the desktop, dialed exactly as an entry with the number as its
// name and the zero flag set.
class LinkDialer : public QObject {
    Q_OBJECT
public:
    LinkDialer(const PhoneRegister* phoneRegister, EntryDialer* entryDialer,
               QObject* parent = nullptr);

    // While it answers true (a dialog of the window is open), links wait their turn.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

    void dialLink(const QString& link);

    static QString rejectionMessage(const QString& link);

signals:
    // The link holds no dialable number; nothing was dialed.
    void linkRejected(const QString& message);

private:
    void dialWaitingLinks();

    const PhoneRegister* m_register;
    std::function<bool()> m_busy;
    QStringList m_waiting;
    EntryDialer* m_entryDialer;
};
