#pragma once

#include "router/JournalEntry.h"

#include <QList>
#include <QString>

// The file the journal keeps its calls in. QtSql and its SQLite driver are loaded with the
// journal module when the journal is first opened, not before the first frame.
class JournalStore {
public:
    static constexpr const char* ModuleName = "kurbelfon-journal";
    static constexpr const char* CreateSymbol = "kurbelfonCreateJournalStore";
    using CreateFunction = JournalStore*();

    struct Outcome {
        enum Status { Ok, Damaged, Failed };
        Status status = Ok;
        int code = 0; // SQLite's primary result code, 0 when none
        QString text; // the driver's words
        bool ok() const { return status == Ok; }
    };

    virtual ~JournalStore() = default;
    // Opens the file (creating it), checks it whole and reads the newest `keep` calls, newest
    // first. Damaged: not a database, or it fails the check; the caller sets it aside.
    virtual Outcome open(const QString& path, int keep, QList<JournalEntry>* entries) = 0;
    // One transaction: entries with key 0 are added and get their key, the others replace their
    // row; then only the newest `keep` calls stay. Nothing changes when it fails.
    virtual Outcome write(const QList<JournalEntry*>& entries, int keep) = 0;
};
