#pragma once

#include "router/JournalEntry.h"

#include <QAbstractTableModel>
#include <QSet>
#include <functional>

// The journal's calls as rows, newest first; with the filter only the missed ones. Who called
// is looked up when a row is drawn, so a long journal costs nothing until it is scrolled.
class CallJournalModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Kind, Who, Number, Duration, Device, ColumnCount };
    // The entry on a card with this number ("Muster, Anna (Büro 1)"); empty for none.
    using NameOf = std::function<QString(const QString& number)>;

    explicit CallJournalModel(QObject* parent = nullptr);
    void setNameOf(NameOf nameOf) { m_nameOf = std::move(nameOf); }
    void setEntries(const QList<JournalEntry>& entries);
    void setOnlyMissed(bool only);
    // Calls shown bold though marked as seen: those new when the page was opened.
    void setFresh(const QSet<qint64>& keys) { m_fresh = keys; }
    // nullptr for no such row.
    const JournalEntry* entryAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString kindText(const JournalCall& call);
    // Whole minutes as the router counts them, "0:01" for a call of a few seconds.
    static QString durationText(const JournalCall& call);
    QString whoText(const JournalCall& call) const;

private:
    void rebuildRows();

    QList<JournalEntry> m_entries;
    QList<int> m_rows; // the entries shown
    bool m_onlyMissed = false;
    QSet<qint64> m_fresh;
    NameOf m_nameOf;
};
