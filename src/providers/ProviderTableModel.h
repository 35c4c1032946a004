#pragma once

#include "providers/ProviderEntry.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QList>

// The provider list: its rows in display order, which is always the order of one column's
// text, ascending or descending. The view, the provider choice and the file all take the
// rows in this order. Texts compare in German, ignoring case; rows with equal texts in the
// sort column are ordered by the other columns, so the order is total and a reload gives it
// back. Before the first header click the list is sorted by "Name", ascending.
class ProviderTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProviderTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int count() const { return int(m_rows.size()); }
    const ProviderEntry& row(int index) const { return m_rows.at(index); }
    const QList<ProviderEntry>& rows() const { return m_rows; }

    // Inserts the row at its sorted place and returns its 0-based index there.
    int AddProviderRow(const ProviderEntry& entry);
    // Replaces all rows, sorted once.
    void setRows(QList<ProviderEntry> rows);
    void removeRowAt(int index);

    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // 1-based header clicked last, 0 before the first click.
    int LastSortColumn() const { return m_lastSortColumn; }
    // A click on header 1..6: the same header again flips the direction; another header
    // sorts by its column in the direction reached.
    void ColumnClick(int header);

    // true when a stands above b in the display order.
    bool before(const ProviderEntry& a, const ProviderEntry& b) const;

signals:
    void sortChanged(int column, Qt::SortOrder order);

private:
    int compare(const ProviderEntry& a, const ProviderEntry& b) const;

    QList<ProviderEntry> m_rows;
    QCollator m_collator;
    int m_sortColumn = ProviderEntry::NameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_lastSortColumn = 0;
};
