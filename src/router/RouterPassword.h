#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The router password in the desktop's key store (Secret Service, the Windows credential
// store), never in a file of ours. Without a key store it lives in memory for this run only.
// Other passwords of the program (an address book's) live the same way under keys of their own.
class RouterPassword : public QObject {
    Q_OBJECT
public:
    static const QString Service; // the key store's name for the program's entries
    static const QString Key;

    explicit RouterPassword(QObject* parent = nullptr, const QString& key = Key);

    // password: nullopt when none is known: no key store and none given in this run (noKeyStore
    // then says why, in the key store's own words), none stored there yet, or the router refused
    // the one stored (noKeyStore empty: what is typed then belongs into the key store).
    using ReadDone =
        std::function<void(const std::optional<QString>& password, const QString& noKeyStore)>;
    void read(ReadDone done);
    // stored false: kept for this run only; why says so.
    using WriteDone = std::function<void(bool stored, const QString& why)>;
    void write(const QString& password, WriteDone done);
    // Typed in while no key store answers: held until the program ends.
    void keepForThisRun(const QString& password) { m_thisRun = password; }
    bool heldForThisRun() const { return m_thisRun.has_value(); }
    // The router refused it: the next dial asks again rather than sending it once more, as each
    // refusal counts toward the router's lock-out.
    void forgetThisRun() {
        m_thisRun.reset();
        m_refused = true;
    }

private:
    QString m_key;
    std::optional<QString> m_thisRun;
    bool m_refused = false;
};
