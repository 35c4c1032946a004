#include "register/CardModel.h"

#include "register/EntryLine.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

CardModel::CardModel(QObject* parent)
    : QAbstractListModel(parent), m_collator(QLocale(QLocale::German)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int CardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant CardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= m_lines.size())
        return QVariant();
    const QString& entry = m_lines.at(index.row());
    if (role == Qt::DisplayRole)
        return GetEntryName(entry);
    if (role == LineRole)
        return entry;
    return QVariant();
}

bool CardModel::lessThan(const QString& a, const QString& b) const {
    const int order = m_collator.compare(a, b);
    if (order != 0)
        return order < 0;
    return a < b;
}

int CardModel::addLine(const QString& line) {
    const auto place =
        std::upper_bound(m_lines.cbegin(), m_lines.cend(), line,
                         [this](const QString& a, const QString& b) { return lessThan(a, b); });
    const int row = int(place - m_lines.cbegin());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.insert(row, line);
    endInsertRows();
    return row;
}

void CardModel::setLines(QStringList lines) {
    // One sort key per line instead of collating each pair again and again.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(lines.size()));
    for (const QString& entry : std::as_const(lines))
        keys.push_back(m_collator.sortKey(entry));
    std::vector<qsizetype> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        if (byKey != 0)
            return byKey < 0;
        return lines.at(a) < lines.at(b);
    });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (qsizetype index : order)
        sorted.append(std::move(lines[index]));

    beginResetModel();
    m_lines = std::move(sorted);
    endResetModel();
}

void CardModel::removeLineAt(int row) {
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

void CardModel::clear() {
    beginResetModel();
    m_lines.clear();
    endResetModel();
}
