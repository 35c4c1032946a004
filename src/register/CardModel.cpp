#include "register/CardModel.h"

#include "register/EntryLine.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Characters that the collator weighs like a blank, or not at all: a run of them in a name
// meets the padding's blanks when two lines are compared.
bool extendsBlankRun(QChar c) {
    switch (c.category()) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        return c.isSpace();
    }
}

qsizetype longestBlankRun(QStringView text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = extendsBlankRun(c) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// head + middle + tail in one allocation.
QString joined(QStringView head, QStringView middle, QStringView tail) {
    QString text;
    text.reserve(head.size() + middle.size() + tail.size());
    text.append(head).append(middle).append(tail);
    return text;
}

} // namespace

CardModel::CardModel(QObject* parent)
    : QAbstractListModel(parent), m_collator(QLocale(QLocale::German)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int CardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant CardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return QVariant();
    if (role == Qt::DisplayRole)
        return name(index.row());
    if (role == LineRole)
        return line(index.row());
    return QVariant();
}

CardModel::StoredLine CardModel::store(const QString& line) {
    const qsizetype at = line.indexOf(EntryPadding());
    if (at < 0)
        return {line, -1};
    const QStringView view(line);
    return {joined(view.left(at), {}, view.mid(at + EntryPadding().size())), at};
}

QString CardModel::lineOf(const StoredLine& stored) {
    if (stored.nameLength < 0)
        return stored.text;
    const QStringView text(stored.text);
    return joined(text.left(stored.nameLength), EntryPadding(), text.mid(stored.nameLength));
}

QString CardModel::line(int row) const {
    return lineOf(m_entries.at(row));
}

QString CardModel::name(int row) const {
    return nameView(row).toString();
}

QString CardModel::number(int row) const {
    return numberView(row).toString();
}

QStringView CardModel::nameView(int row) const {
    const StoredLine& stored = m_entries.at(row);
    const QStringView text(stored.text);
    return stored.nameLength < 0 ? text : text.left(stored.nameLength);
}

QStringView CardModel::numberView(int row) const {
    const StoredLine& stored = m_entries.at(row);
    if (stored.nameLength < 0)
        return {};
    const QStringView tail = QStringView(stored.text).mid(stored.nameLength);
    return tail.size() < 2 ? QStringView() : tail.chopped(2);
}

int CardModel::zeroFlag(int row) const {
    const StoredLine& stored = m_entries.at(row);
    return stored.nameLength < 0 ? 0
                                 : ZeroFlagOfTail(QStringView(stored.text).mid(stored.nameLength));
}

QStringList CardModel::lines() const {
    QStringList all;
    all.reserve(m_entries.size());
    for (const StoredLine& stored : m_entries)
        all << lineOf(stored);
    return all;
}

bool CardModel::lessThan(const QString& a, const QString& b) const {
    const int order = m_collator.compare(a, b);
    if (order != 0)
        return order < 0;
    return a < b;
}

int CardModel::addLine(const QString& line) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (lessThan(line, this->line(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    beginInsertRows(QModelIndex(), low, low);
    m_entries.insert(low, store(line));
    endInsertRows();
    return low;
}

void CardModel::setLines(const QStringList& lines) {
    QList<StoredLine> stored;
    stored.reserve(lines.size());
    for (const QString& entry : lines)
        stored.append(store(entry));
    sortAndReset(std::move(stored));
}

void CardModel::setEntries(const QList<PhoneEntry>& entries) {
    QList<StoredLine> stored;
    stored.reserve(entries.size());
    for (const PhoneEntry& entry : entries) {
        // One allocation per entry: temporaries between the lasting texts would leave holes
        // the C library cannot give back.
        const QStringView name = QStringView(entry.name).trimmed();
        const char16_t tail[] = {u'~', char16_t(u'0' + entry.zeroFlag)};
        QString text = joined(name, QStringView(entry.number).trimmed(), QStringView(tail, 2));
        stored.append({std::move(text), name.size()});
    }
    sortAndReset(std::move(stored));
}

void CardModel::sortAndReset(QList<StoredLine> stored) {
    // The padding's 150 blanks make up most of a line's sort key. Fewer blanks order the lines
    // the same as long as no name holds as long a run of blanks: up to that point the padding
    // meets the same characters either way.
    qsizetype blanks = 1;
    for (const StoredLine& entry : std::as_const(stored)) {
        if (entry.nameLength > 0) {
            const QStringView name = QStringView(entry.text).left(entry.nameLength);
            blanks = std::max(blanks, longestBlankRun(name) + 1);
        }
    }
    const QString padding = QString(std::min(blanks, EntryPadding().size() - 1), u' ') + QChar(1);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(stored.size()));
    for (const StoredLine& entry : std::as_const(stored)) {
        const QStringView text(entry.text);
        keys.push_back(m_collator.sortKey(
            entry.nameLength < 0
                ? entry.text
                : joined(text.left(entry.nameLength), padding, text.mid(entry.nameLength))));
    }
    std::vector<qsizetype> order(size_t(stored.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        if (byKey != 0)
            return byKey < 0;
        return lineOf(stored.at(a)) < lineOf(stored.at(b));
    });
    keys = {};
    QList<StoredLine> sorted;
    sorted.reserve(stored.size());
    for (qsizetype index : order)
        sorted.append(std::move(stored[index]));

    beginResetModel();
    m_entries = std::move(sorted);
    endResetModel();
}

void CardModel::removeLineAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_entries.removeAt(row);
    endRemoveRows();
}

void CardModel::clear() {
    beginResetModel();
    m_entries.clear();
    endResetModel();
}
