#pragma once

#include "router/JournalEntry.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class CallTracker;
class JournalStore;

// Every call the router saw, from its call list and from the call monitor, each call once,
// kept in Anrufliste.db. Without a usable file the journal goes on in memory and says why.
class CallJournal : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxEntries = 10000;
    // Router times are to the minute, the monitor's to the second, on two clocks.
    static constexpr qint64 MatchSeconds = 120;
    // numbers in the form the register compares ("49 89 1234567"); default: digits only
    using Comparable = std::function<QString(const QString& number)>;

    explicit CallJournal(const QString& databasePath, QObject* parent = nullptr);
    ~CallJournal() override;

    void setComparable(Comparable comparable);
    // The monitor's calls start now by this clock (local time); tests set it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The monitor's calls from the tracker's signals.
    void follow(const CallTracker* tracker);

    void open(); // loads the module, reads the store; again: nothing
    bool isOpen() const { return m_opened; }
    const QList<JournalEntry>& entries() const { return m_entries; } // newest first

    void mergeRouterList(const QList<JournalCall>& calls); // one transaction
    void monitorRinging(const QString& id, const QString& number, const QString& ownNumber);
    void monitorDialed(const QString& id, const QString& number);
    void monitorAnswered(const QString& id);
    void monitorMissed(const QString& id);
    void monitorEnded(const QString& id, int durationSeconds); // an answered or dialed call
    void monitorAbandoned(const QString& id);

    void markMissedSeen();
    int unseenMissed() const;
    QString storeProblem() const { return m_storeProblem; } // empty while the store works

signals:
    void changed();
    void monitorCallEnded(); // the page reads the router's list a few seconds later
    // Said once each: the file was damaged and set aside, or the store stopped working.
    void problem(const QString& text);

private:
    void openStore();
    QString setAside() const;
    void startMonitorCall(const QString& id, JournalCall call);
    JournalEntry* monitorCall(const QString& id);
    // Writes the changed entries (pointers into m_entries) and keeps the newest MaxEntries.
    void store(const QList<JournalEntry*>& written);
    void sortAndTrim();
    void fail(const QString& text);

    QString m_path;
    Comparable m_comparable;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<JournalStore> m_store;
    bool m_opened = false;
    QString m_storeProblem;
    QList<JournalEntry> m_entries;
    QHash<QString, qint64> m_monitorCalls; // the monitor's id -> the entry's key
    qint64 m_memoryKeys = 0;               // the last key given without a store
};
