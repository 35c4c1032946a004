#include "providers/ProviderTableModel.h"

#include <QLocale>

#include <algorithm>
#include <array>

namespace {

const std::array<QString, ProviderEntry::ColumnCount> Headers{
    QStringLiteral("Name"), QStringLiteral("Netz"), QStringLiteral("Tag"),
    QStringLiteral("ab"),   QStringLiteral("bis"),  QStringLiteral("Weite")};

} // namespace

ProviderTableModel::ProviderTableModel(QObject* parent)
    : QAbstractTableModel(parent), m_collator(QLocale(QLocale::German)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int ProviderTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int ProviderTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ProviderEntry::ColumnCount;
}

QVariant ProviderTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole)
        return QVariant();
    return m_rows.at(index.row()).columnText(index.column());
}

QVariant ProviderTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ProviderEntry::ColumnCount)
        return QVariant();
    return Headers[size_t(section)];
}

int ProviderTableModel::compare(const ProviderEntry& a, const ProviderEntry& b) const {
    // The sort column first, then the others left to right, then the plain code points.
    std::array<int, ProviderEntry::ColumnCount> columns{};
    columns[0] = m_sortColumn;
    for (int column = 0, next = 1; column < ProviderEntry::ColumnCount; ++column) {
        if (column != m_sortColumn)
            columns[size_t(next++)] = column;
    }
    for (int column : columns) {
        const int order = m_collator.compare(a.columnText(column), b.columnText(column));
        if (order != 0)
            return order;
    }
    for (int column : columns) {
        const int order = a.columnText(column).compare(b.columnText(column));
        if (order != 0)
            return order;
    }
    // Texts alike: the hidden numbers decide ("100h" and a hand-made "0100" hour).
    return a.StartHour != b.StartHour ? (a.StartHour < b.StartHour ? -1 : 1)
           : a.EndHour != b.EndHour   ? (a.EndHour < b.EndHour ? -1 : 1)
                                      : 0;
}

bool ProviderTableModel::before(const ProviderEntry& a, const ProviderEntry& b) const {
    const int order = compare(a, b);
    return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
}

int ProviderTableModel::AddProviderRow(const ProviderEntry& entry) {
    const auto place = std::upper_bound(
        m_rows.cbegin(), m_rows.cend(), entry,
        [this](const ProviderEntry& a, const ProviderEntry& b) { return before(a, b); });
    const int index = int(place - m_rows.cbegin());
    beginInsertRows(QModelIndex(), index, index);
    m_rows.insert(index, entry);
    endInsertRows();
    return index;
}

void ProviderTableModel::setRows(QList<ProviderEntry> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    std::stable_sort(
        m_rows.begin(), m_rows.end(),
        [this](const ProviderEntry& a, const ProviderEntry& b) { return before(a, b); });
    endResetModel();
}

void ProviderTableModel::removeRowAt(int index) {
    if (index < 0 || index >= count())
        return;
    beginRemoveRows(QModelIndex(), index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

void ProviderTableModel::ColumnClick(int header) {
    if (header < 1 || header > ProviderEntry::ColumnCount)
        return;
    if (header == m_lastSortColumn) {
        sort(m_sortColumn,
             m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
    } else {
        m_lastSortColumn = header;
        sort(header - 1, m_sortOrder);
    }
}

void ProviderTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ProviderEntry::ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_sortColumn = column;
    m_sortOrder = order;
    // Sorted by index, so that the selection and other persistent indexes follow their rows.
    QList<int> ranked(count());
    for (int i = 0; i < count(); ++i)
        ranked[i] = i;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [this](int a, int b) { return before(m_rows.at(a), m_rows.at(b)); });
    QList<ProviderEntry> sorted;
    sorted.reserve(count());
    QList<int> newPlace(count());
    for (int i = 0; i < count(); ++i) {
        sorted << m_rows.at(ranked[i]);
        newPlace[ranked[i]] = i;
    }
    m_rows = std::move(sorted);
    const QModelIndexList old = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(old.size());
    for (const QModelIndex& index : old)
        moved << this->index(newPlace.at(index.row()), index.column());
    changePersistentIndexList(old, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit sortChanged(m_sortColumn, m_sortOrder);
}
