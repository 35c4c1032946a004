#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT arrive as a Qt signal on the event loop, so the program ends through
// its ordinary path instead of dying in the middle of whatever it was doing.
class UnixSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject* parent = nullptr);
    ~UnixSignalWatcher() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
