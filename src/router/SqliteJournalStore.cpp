#include "router/SqliteJournalStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <iterator>

namespace {

using Kind = JournalCall::Kind;
using Outcome = JournalStore::Outcome;

// Names, not the enumeration's numbers: the file outlives the order of the enumeration.
struct KindName {
    Kind kind;
    const char* name;
};
constexpr KindName KindNames[] = {{Kind::Answered, "answered"},
                                  {Kind::Missed, "missed"},
                                  {Kind::Rejected, "rejected"},
                                  {Kind::Dialed, "dialed"}};

QString nameOf(Kind kind) {
    for (const KindName& k : KindNames) {
        if (k.kind == kind)
            return QLatin1String(k.name);
    }
    return QString();
}

bool kindOf(const QString& name, Kind* kind) {
    const auto known =
        std::find_if(std::begin(KindNames), std::end(KindNames),
                     [&](const KindName& k) { return name == QLatin1String(k.name); });
    if (known == std::end(KindNames))
        return false;
    *kind = known->kind;
    return true;
}

Outcome outcomeOf(const QSqlError& error) {
    Outcome outcome;
    // SQLite's extended codes carry the primary one in their low byte.
    outcome.code = error.nativeErrorCode().toInt() & 0xff;
    outcome.text = error.text();
    constexpr int Corrupt = 11, NotADatabase = 26;
    outcome.status = outcome.code == Corrupt || outcome.code == NotADatabase ? Outcome::Damaged
                                                                             : Outcome::Failed;
    return outcome;
}

// QtSql writes a null string as NULL.
QString text(const QString& value) {
    return value.isNull() ? QLatin1String("") : value;
}

// Start times as local ISO text ("2026-12-08T10:15:00"): they sort as they follow each other.
constexpr auto NewestFirst = "ORDER BY start DESC, router_id DESC, id DESC";

} // namespace

SqliteJournalStore::SqliteJournalStore()
    : m_connection(QStringLiteral("kurbelfon-journal-%1").arg(quintptr(this))) {}

SqliteJournalStore::~SqliteJournalStore() {
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

Outcome SqliteJournalStore::open(const QString& path, int keep, QList<JournalEntry>* entries) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid())
        return {Outcome::Failed, 0, db.lastError().text()};
    db.setDatabaseName(path);
    // Another program holding the file must not stall the window for long.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
    if (!db.open())
        return outcomeOf(db.lastError());
    const Outcome prepared = prepare();
    return prepared.ok() ? read(keep, entries) : prepared;
}

Outcome SqliteJournalStore::prepare() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    // With the log, NORMAL survives a killed program whole; a commit then costs no disk flush,
    // which a flood of monitor events would otherwise wait for one by one.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !query.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
        return outcomeOf(query.lastError());
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
        return outcomeOf(query.lastError());
    if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
        return {Outcome::Damaged, 0, query.value(0).toString()};
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return outcomeOf(query.lastError());
    const int version = query.value(0).toInt();
    if (version > SchemaVersion)
        return {Outcome::Failed, 0, QStringLiteral("Sie stammt von einer neueren Fassung")};
    if (version == SchemaVersion)
        return {};
    // Later versions migrate from here, step by step, in this one transaction.
    if (!db.transaction())
        return outcomeOf(db.lastError());
    const bool created =
        query.exec(QStringLiteral(
            "CREATE TABLE calls (id INTEGER PRIMARY KEY, router_id INTEGER NOT NULL, "
            "kind TEXT NOT NULL, under_way INTEGER NOT NULL, number TEXT NOT NULL, "
            "router_name TEXT NOT NULL, device TEXT NOT NULL, start TEXT NOT NULL, "
            "duration INTEGER NOT NULL, seen INTEGER NOT NULL)")) &&
        query.exec(QStringLiteral("CREATE INDEX calls_start ON calls (start)")) &&
        query.exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion));
    if (!created) {
        const Outcome failed = outcomeOf(query.lastError());
        db.rollback();
        return failed;
    }
    return db.commit() ? Outcome{} : outcomeOf(db.lastError());
}

Outcome SqliteJournalStore::read(int keep, QList<JournalEntry>* entries) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id, router_id, kind, under_way, number, router_name, "
                                   "device, start, duration, seen FROM calls %1 LIMIT %2")
                        .arg(QLatin1String(NewestFirst))
                        .arg(keep)))
        return outcomeOf(query.lastError());
    while (query.next()) {
        JournalEntry entry;
        entry.key = query.value(0).toLongLong();
        entry.call.routerId = query.value(1).toLongLong();
        entry.call.underWay = query.value(3).toBool();
        entry.call.number = query.value(4).toString();
        entry.call.routerName = query.value(5).toString();
        entry.call.device = query.value(6).toString();
        entry.call.start = QDateTime::fromString(query.value(7).toString(), Qt::ISODate);
        entry.call.durationSeconds = query.value(8).toInt();
        entry.seen = query.value(9).toBool();
        // A row a later version wrote in a way this one does not know is left out.
        if (kindOf(query.value(2).toString(), &entry.call.kind) && entry.call.start.isValid())
            entries->append(entry);
    }
    return query.lastError().isValid() ? outcomeOf(query.lastError()) : Outcome{};
}

Outcome SqliteJournalStore::write(const QList<JournalEntry*>& entries, int keep) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return outcomeOf(db.lastError());
    QSqlQuery insert(db), update(db), trim(db);
    const QString fields = QStringLiteral("router_id = ?, kind = ?, under_way = ?, number = ?, "
                                          "router_name = ?, device = ?, start = ?, duration = ?, "
                                          "seen = ?");
    bool ok = insert.prepare(QStringLiteral("INSERT INTO calls (router_id, kind, under_way, "
                                            "number, router_name, device, start, duration, seen) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
              update.prepare(QStringLiteral("UPDATE calls SET %1 WHERE id = ?").arg(fields));
    QList<qint64> keys;
    for (const JournalEntry* entry : entries) {
        if (!ok)
            break;
        QSqlQuery& query = entry->key > 0 ? update : insert;
        const JournalCall& call = entry->call;
        const QVariantList values{call.routerId,
                                  nameOf(call.kind),
                                  call.underWay,
                                  text(call.number),
                                  text(call.routerName),
                                  text(call.device),
                                  call.start.toString(Qt::ISODate),
                                  call.durationSeconds,
                                  entry->seen};
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values.at(i));
        if (entry->key > 0)
            query.bindValue(int(values.size()), entry->key);
        ok = query.exec();
        keys << (entry->key > 0 ? entry->key : query.lastInsertId().toLongLong());
    }
    ok = ok && trim.exec(QStringLiteral("DELETE FROM calls WHERE id IN (SELECT id FROM calls %1 "
                                        "LIMIT -1 OFFSET %2)")
                             .arg(QLatin1String(NewestFirst))
                             .arg(keep));
    if (!ok) {
        const QSqlError error = insert.lastError().isValid()   ? insert.lastError()
                                : update.lastError().isValid() ? update.lastError()
                                                               : trim.lastError();
        db.rollback();
        return outcomeOf(error);
    }
    if (!db.commit()) {
        const Outcome failed = outcomeOf(db.lastError());
        db.rollback();
        return failed;
    }
    for (qsizetype i = 0; i < entries.size(); ++i)
        entries.at(i)->key = keys.at(i);
    return {};
}

extern "C" Q_DECL_EXPORT JournalStore* kurbelfonCreateJournalStore() {
    return new SqliteJournalStore;
}
