#include "router/CallJournal.h"

#include "router/CallTracker.h"
#include "router/JournalStore.h"
#include "support/FileSaver.h"
#include "support/ProgramModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

using Kind = JournalCall::Kind;

QString digitsOnly(const QString& number) {
    QString digits;
    for (const QChar c : number) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

bool isIncoming(Kind kind) {
    return kind != Kind::Dialed;
}

// Router times are to the minute: within one, the router's own numbering tells the order.
bool newerFirst(const JournalEntry& a, const JournalEntry& b) {
    if (a.call.start != b.call.start)
        return a.call.start > b.call.start;
    if (a.call.routerId != 0 && b.call.routerId != 0 && a.call.routerId != b.call.routerId)
        return a.call.routerId > b.call.routerId;
    return a.key > b.key;
}

bool sameCall(const JournalCall& a, const JournalCall& b) {
    return a.kind == b.kind && a.underWay == b.underWay && a.routerId == b.routerId &&
           a.number == b.number && a.routerName == b.routerName && a.device == b.device &&
           a.start == b.start && a.durationSeconds == b.durationSeconds;
}

// The router's record wins; only the start stays, the monitor's to the second.
bool takeRouterCall(JournalEntry& entry, const JournalCall& routerCall) {
    JournalCall merged = routerCall;
    merged.start = entry.call.start;
    if (sameCall(entry.call, merged))
        return false;
    entry.call = merged;
    return true;
}

// Why SQLite gave up, in words for the status line.
QString reasonOf(const JournalStore::Outcome& outcome) {
    switch (outcome.code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Ein anderes Programm hat sie gesperrt");
    case 13: // SQLITE_FULL
        return QStringLiteral("Der Datenträger ist voll");
    case 3: // SQLITE_PERM
    case 8: // SQLITE_READONLY
        return QStringLiteral("Sie darf nicht beschrieben werden");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("Die Datei lässt sich weder öffnen noch anlegen");
    case 10: // SQLITE_IOERR
        return QStringLiteral("Lese- oder Schreibfehler");
    default:
        return outcome.text;
    }
}

const QString InMemory =
    QStringLiteral("Bis zum Programmende werden die Anrufe nur im Speicher gehalten.");

} // namespace

CallJournal::CallJournal(const QString& databasePath, QObject* parent)
    : QObject(parent), m_path(databasePath), m_comparable(digitsOnly),
      m_clock([] { return QDateTime::currentDateTime(); }) {}

CallJournal::~CallJournal() = default;

void CallJournal::setComparable(Comparable comparable) {
    m_comparable = comparable ? std::move(comparable) : Comparable(digitsOnly);
}

void CallJournal::follow(const CallTracker* tracker) {
    connect(tracker, &CallTracker::ringing, this, &CallJournal::monitorRinging);
    connect(tracker, &CallTracker::dialed, this, &CallJournal::monitorDialed);
    connect(tracker, &CallTracker::answered, this, &CallJournal::monitorAnswered);
    connect(tracker, &CallTracker::missed, this, &CallJournal::monitorMissed);
    connect(tracker, &CallTracker::ended, this, &CallJournal::monitorEnded);
    connect(tracker, &CallTracker::abandoned, this, &CallJournal::monitorAbandoned);
}

void CallJournal::open() {
    if (m_opened)
        return;
    m_opened = true;
    openStore();
    emit changed();
}

void CallJournal::openStore() {
    const QString journalName = QStringLiteral("Anrufliste");
    QString missing;
    m_store = ProgramModule::createPart<JournalStore>(journalName, &missing);
    if (!m_store)
        return fail(missing);
    const QString shown = QDir::toNativeSeparators(m_path);
    const QString cannotOpen =
        QStringLiteral("Die Anrufliste „%1“ kann nicht geöffnet werden: %2. ");
    QList<JournalEntry> loaded;
    JournalStore::Outcome outcome = m_store->open(m_path, MaxEntries, &loaded);
    if (outcome.status == JournalStore::Outcome::Damaged) {
        m_store.reset(); // closes the file
        const QString aside = setAside();
        if (aside.isEmpty())
            return fail(cannotOpen.arg(shown, QStringLiteral("Sie ist beschädigt und lässt sich "
                                                             "nicht beiseitelegen")) +
                        InMemory);
        const QString report =
            QStringLiteral("Die Anrufliste „%1“ war beschädigt und liegt nun als „%2“ daneben; "
                           "eine neue wurde begonnen.")
                .arg(shown, QFileInfo(aside).fileName());
        qWarning("%s", qPrintable(report));
        emit problem(report);
        m_store = ProgramModule::createPart<JournalStore>(journalName, &missing);
        if (!m_store)
            return fail(missing);
        loaded.clear();
        outcome = m_store->open(m_path, MaxEntries, &loaded);
    }
    if (!outcome.ok())
        return fail(cannotOpen.arg(shown, reasonOf(outcome)) + InMemory);
    m_entries = std::move(loaded);
    sortAndTrim();
    // The monitor's calls a previous run left under way will never hear their end.
    QList<JournalEntry*> ended;
    for (JournalEntry& entry : m_entries) {
        if (entry.call.underWay && entry.call.routerId == 0) {
            entry.call.underWay = false;
            ended << &entry;
        }
    }
    if (!ended.isEmpty())
        store(ended);
}

QString CallJournal::setAside() const {
    const QString aside = FileSaver::damagedCopyPath(m_path);
    if (!QFile::rename(m_path, aside))
        return QString();
    // Its log belongs to it: replayed into a new file it would damage that one too.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-journal")}) {
        if (QFile::exists(m_path + suffix))
            QFile::rename(m_path + suffix, aside + suffix);
    }
    QFile::remove(m_path + QStringLiteral("-shm"));
    return aside;
}

void CallJournal::fail(const QString& text) {
    m_store.reset();
    m_storeProblem = text;
    qWarning("%s", qPrintable(text));
    emit problem(text);
}

void CallJournal::store(const QList<JournalEntry*>& written) {
    if (m_store) {
        const JournalStore::Outcome outcome = m_store->write(written, MaxEntries);
        if (!outcome.ok())
            fail(QStringLiteral("Die Anrufliste „%1“ kann nicht gespeichert werden: %2. ")
                     .arg(QDir::toNativeSeparators(m_path), reasonOf(outcome)) +
                 InMemory);
    }
    if (!m_store) {
        for (JournalEntry* entry : written) {
            if (entry->key == 0)
                entry->key = --m_memoryKeys;
        }
    }
}

void CallJournal::sortAndTrim() {
    // Mostly in order already: as read, or with one call added in front.
    if (!std::is_sorted(m_entries.cbegin(), m_entries.cend(), newerFirst))
        std::stable_sort(m_entries.begin(), m_entries.end(), newerFirst);
    if (m_entries.size() > MaxEntries)
        m_entries.resize(MaxEntries);
}

void CallJournal::mergeRouterList(const QList<JournalCall>& calls) {
    open();
    QHash<qint64, qsizetype> byRouterId;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).call.routerId != 0)
            byRouterId.insert(m_entries.at(i).call.routerId, i);
    }
    QList<qsizetype> touched;
    QList<bool> placed(calls.size(), false);
    struct Pair {
        qint64 distance;
        qsizetype call;
        qsizetype entry;
    };
    QList<Pair> pairs;
    for (qsizetype c = 0; c < calls.size(); ++c) {
        const JournalCall& call = calls.at(c);
        const auto known = byRouterId.constFind(call.routerId);
        if (call.routerId != 0 && known != byRouterId.cend()) {
            if (takeRouterCall(m_entries[*known], call))
                touched << *known;
            placed[c] = true;
            continue;
        }
        // Newest first: the entries that started within the window around the call.
        const QDateTime latest = call.start.addSecs(MatchSeconds);
        const QDateTime earliest = call.start.addSecs(-MatchSeconds);
        auto e = std::partition_point(m_entries.cbegin(), m_entries.cend(),
                                      [&](const JournalEntry& x) { return x.call.start > latest; });
        const QString number = m_comparable(call.number);
        for (; e != m_entries.cend() && e->call.start >= earliest; ++e) {
            if (e->call.routerId == 0 && isIncoming(e->call.kind) == isIncoming(call.kind) &&
                m_comparable(e->call.number) == number)
                pairs.append({qAbs(e->call.start.secsTo(call.start)), c, e - m_entries.cbegin()});
        }
    }
    // The closest pairs first, so that each side is matched once and to its nearest.
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Pair& a, const Pair& b) { return a.distance < b.distance; });
    QSet<qsizetype> matched;
    for (const Pair& pair : std::as_const(pairs)) {
        if (placed.at(pair.call) || matched.contains(pair.entry))
            continue;
        placed[pair.call] = true;
        matched.insert(pair.entry);
        if (takeRouterCall(m_entries[pair.entry], calls.at(pair.call)))
            touched << pair.entry;
    }
    for (qsizetype c = 0; c < calls.size(); ++c) {
        if (placed.at(c))
            continue;
        touched << m_entries.size();
        m_entries.append({calls.at(c), 0, calls.at(c).kind != Kind::Missed});
    }
    if (touched.isEmpty())
        return;
    QList<JournalEntry*> written;
    for (const qsizetype i : std::as_const(touched))
        written << &m_entries[i];
    store(written);
    sortAndTrim();
    emit changed();
}

JournalEntry* CallJournal::monitorCall(const QString& id) {
    const auto key = m_monitorCalls.constFind(id);
    if (key == m_monitorCalls.cend())
        return nullptr;
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const JournalEntry& e) { return e.key == *key; });
    return entry == m_entries.end() ? nullptr : &*entry;
}

void CallJournal::startMonitorCall(const QString& id, JournalCall call) {
    open();
    call.start = m_clock();
    call.underWay = true;
    m_entries.prepend({call, 0, true});
    QList<JournalEntry*> written{&m_entries.first()};
    // A reused id: the call before it ended unheard.
    if (JournalEntry* before = monitorCall(id)) {
        before->call.underWay = false;
        written << before;
    }
    store(written);
    m_monitorCalls.insert(id, m_entries.first().key);
    sortAndTrim();
    emit changed();
}

void CallJournal::monitorRinging(const QString& id, const QString& number, const QString&) {
    JournalCall call;
    call.kind = Kind::Missed;
    call.number = number;
    startMonitorCall(id, call);
}

void CallJournal::monitorDialed(const QString& id, const QString& number) {
    JournalCall call;
    call.kind = Kind::Dialed;
    call.number = number;
    startMonitorCall(id, call);
}

void CallJournal::monitorAnswered(const QString& id) {
    JournalEntry* entry = monitorCall(id);
    if (!entry)
        return;
    entry->call.kind = Kind::Answered;
    store({entry});
    emit changed();
}

void CallJournal::monitorMissed(const QString& id) {
    JournalEntry* entry = monitorCall(id);
    if (!entry)
        return;
    entry->seen = false;
    monitorEnded(id, 0);
}

void CallJournal::monitorEnded(const QString& id, int durationSeconds) {
    JournalEntry* entry = monitorCall(id);
    if (!entry)
        return;
    m_monitorCalls.remove(id);
    entry->call.underWay = false;
    entry->call.durationSeconds = durationSeconds;
    store({entry});
    emit changed();
    emit monitorCallEnded();
}

// The router's list tells later how it ended.
void CallJournal::monitorAbandoned(const QString& id) {
    monitorEnded(id, 0);
}

void CallJournal::markMissedSeen() {
    QList<JournalEntry*> written;
    for (JournalEntry& entry : m_entries) {
        if (!entry.seen) {
            entry.seen = true;
            written << &entry;
        }
    }
    if (written.isEmpty())
        return;
    store(written);
    emit changed();
}

int CallJournal::unseenMissed() const {
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(), [](const JournalEntry& e) {
        return !e.seen && e.call.kind == Kind::Missed;
    }));
}
