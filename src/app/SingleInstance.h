#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

// One running program per user: a second start asks the first to show its window and ends,
// so two windows never overwrite each other's saves.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // runtimeFolder: per user (XDG_RUNTIME_DIR); holds the lock file and the socket.
    explicit SingleInstance(const QString& runtimeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // true: this is the only running program.
    bool acquire();
    // With the lock acquired: from now on later starts are heard. Until then they wait for it.
    void listen();
    // From a later start: asks the running program to show itself. true when it answered.
    bool activateRunning();
    // From a later start with a tel:/callto: link: the running program dials it.
    bool handOverLink(const QString& link);

signals:
    void activationRequested();
    void linkReceived(const QString& link);

private:
    bool sendRequest(const QByteArray& request);
    void handleRequest(const QByteArray& line);

    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
};
