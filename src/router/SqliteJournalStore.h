#pragma once

#include "router/JournalStore.h"

class QSqlError;
class QSqlQuery;

// The journal in an SQLite file through QtSql: write-ahead log, one transaction per change,
// a schema version in user_version. It lives in the journal module (see JournalStore).
class SqliteJournalStore : public JournalStore {
public:
    static constexpr int SchemaVersion = 1;

    SqliteJournalStore();
    ~SqliteJournalStore() override;

    Outcome open(const QString& path, int keep, QList<JournalEntry>* entries) override;
    Outcome write(const QList<JournalEntry*>& entries, int keep) override;

private:
    Outcome prepare();
    Outcome read(int keep, QList<JournalEntry>* entries);

    QString m_connection;
};
