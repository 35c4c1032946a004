#include "app/CallJournalModel.h"

#include <QFont>

namespace {
const QString Withheld = QStringLiteral("unterdrückt");
} // namespace

CallJournalModel::CallJournalModel(QObject* parent) : QAbstractTableModel(parent) {}

void CallJournalModel::setEntries(const QList<JournalEntry>& entries) {
    beginResetModel();
    m_entries = entries;
    rebuildRows();
    endResetModel();
}

void CallJournalModel::setOnlyMissed(bool only) {
    if (only == m_onlyMissed)
        return;
    beginResetModel();
    m_onlyMissed = only;
    rebuildRows();
    endResetModel();
}

void CallJournalModel::rebuildRows() {
    m_rows.clear();
    for (int i = 0; i < m_entries.size(); ++i) {
        if (!m_onlyMissed || m_entries.at(i).call.kind == JournalCall::Kind::Missed)
            m_rows.append(i);
    }
}

const JournalEntry* CallJournalModel::entryAt(int row) const {
    return row >= 0 && row < m_rows.size() ? &m_entries.at(m_rows.at(row)) : nullptr;
}

int CallJournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CallJournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString CallJournalModel::kindText(const JournalCall& call) {
    if (call.underWay)
        return QStringLiteral("läuft");
    switch (call.kind) {
    case JournalCall::Kind::Answered:
        return QStringLiteral("Angenommen");
    case JournalCall::Kind::Missed:
        return QStringLiteral("Verpasst");
    case JournalCall::Kind::Rejected:
        return QStringLiteral("Abgewiesen");
    case JournalCall::Kind::Dialed:
        return QStringLiteral("Gewählt");
    }
    return QString();
}

QString CallJournalModel::durationText(const JournalCall& call) {
    if (call.kind == JournalCall::Kind::Missed || call.kind == JournalCall::Kind::Rejected ||
        call.underWay)
        return QString();
    const int minutes = (call.durationSeconds + 59) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString CallJournalModel::whoText(const JournalCall& call) const {
    const QString entry = m_nameOf && !call.number.isEmpty() ? m_nameOf(call.number) : QString();
    return entry.isEmpty() ? call.routerName : entry;
}

QVariant CallJournalModel::data(const QModelIndex& index, int role) const {
    const JournalEntry* entry = entryAt(index.row());
    if (!entry)
        return {};
    const JournalCall& call = entry->call;
    if (role == Qt::FontRole && (!entry->seen || m_fresh.contains(entry->key))) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    // No tool tips: a tip reads rich text, and the names and numbers come from the router.
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Time:
        return call.start.toString(QStringLiteral("dd.MM.yy hh:mm"));
    case Kind:
        return kindText(call);
    case Who:
        return whoText(call);
    case Number:
        return call.number.isEmpty() && call.kind != JournalCall::Kind::Dialed ? Withheld
                                                                               : call.number;
    case Duration:
        return durationText(call);
    case Device:
        return call.device;
    default:
        return {};
    }
}

QVariant CallJournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titles{QStringLiteral("Zeit"),  QStringLiteral("Art"),
                                    QStringLiteral("Wer"),   QStringLiteral("Nummer"),
                                    QStringLiteral("Dauer"), QStringLiteral("Telefon")};
    return titles.value(section);
}
